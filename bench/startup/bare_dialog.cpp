// The reference for nestiq's start: a plain Qt dialog of about the same size
// and content (a group box, five labelled edits, two buttons), nothing else.
#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Dialogue de référence"));

  auto* group = new QGroupBox(QStringLiteral("Configuration"));
  auto* grid = new QGridLayout(group);
  const char* labels[] = {"Licence :", "Adresse IP :", "Masque de sous-réseau :", "Passerelle par défaut :",
                          "Serveur DNS :"};
  int row = 0;
  for (const char* label : labels) {
    grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
    grid->addWidget(new QLineEdit, row, 1);
    ++row;
  }
  auto* launch = new QPushButton(QStringLiteral("Lancer"));
  launch->setDefault(true);
  grid->addWidget(launch, row, 0);
  grid->addWidget(new QPushButton(QStringLiteral("V 3.2")), row, 1);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(group);
  dialog.resize(256, 200);
  return dialog.exec();
}
