#include "platform/wnd/dialog_units_qt.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cstdint>

int mulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = std::int64_t{number} * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t p = product < 0 ? -product : product;
  const std::int64_t d = denominator < 0 ? -std::int64_t{denominator} : denominator;
  const std::int64_t rounded = (p + d / 2) / d;
  return static_cast<int>(negative ? -rounded : rounded);
}

DialogBaseUnits dialogBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int cx = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(cx / 26 + 1) / 2, metrics.height()};
}

QRect dialogRectToPixels(int x, int y, int w, int h, DialogBaseUnits units) {
  return {mulDiv(x, units.x, 4), mulDiv(y, units.y, 8), mulDiv(w, units.x, 4),
          mulDiv(h, units.y, 8)};
}

QSize dialogSizeToPixels(int w, int h, DialogBaseUnits units) {
  return {mulDiv(w, units.x, 4), mulDiv(h, units.y, 8)};
}

namespace {

// Debian's fonts-wine puts its fonts outside fontconfig's paths.
constexpr const char* kWineSansSerif = "/usr/share/wine/fonts/ms_sans_serif.ttf";

void registerWineSansSerifOnce() {
  static const bool done = [] {
    if (!QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")) &&
        QFile::exists(QString::fromLatin1(kWineSansSerif)))
      QFontDatabase::addApplicationFont(QString::fromLatin1(kWineSansSerif));
    return true;
  }();
  (void)done;
}

QStringList candidateFamilies(const char* faceName) {
  const QString face = QString::fromUtf8(faceName ? faceName : "");
  if (face.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0 ||
      face.compare(QLatin1String("MS Shell Dlg"), Qt::CaseInsensitive) == 0) {
    // Wine's font is drawn for one pixel size; on a scaled screen its
    // spacing falls apart, so the system's sans-serif serves there.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && screen->devicePixelRatio() > 1.0)
      return {};
    registerWineSansSerifOnce();
    return {QStringLiteral("MS Sans Serif")};
  }
  if (face.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
    return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
            QStringLiteral("DejaVu Sans")};
  return {face};
}

}  // namespace

QFont dialogFont(const char* faceName, int pointSize, int weight, bool italic) {
  QFont font;
  const QStringList candidates = candidateFamilies(faceName);  // may register Wine's font
  const QStringList installed = QFontDatabase::families();
  const auto found = std::find_if(candidates.begin(), candidates.end(),
                                  [&](const QString& f) { return installed.contains(f); });
  font.setStyleHint(QFont::SansSerif);
  font.setFamily(found != candidates.end() ? *found : QStringLiteral("sans-serif"));
  font.setPixelSize(std::max(1, mulDiv(pointSize > 0 ? pointSize : 8, 96, 72)));
  font.setWeight(weight > 0 ? static_cast<QFont::Weight>(std::clamp(weight, 1, 1000))
                            : QFont::Normal);
  font.setItalic(italic);
  return font;
}
