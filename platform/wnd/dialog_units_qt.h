#pragma once
// Dialog units to pixels by the Windows rule, with the template's own font.
#include <QFont>
#include <QRect>
#include <QSize>

// Average character width and character height of a dialog font, in pixels.
struct DialogBaseUnits {
  int x = 0;
  int y = 0;
  friend bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// number * numerator / denominator, rounded half away from zero as Windows'
// MulDiv does; -1 when denominator is 0.
int mulDiv(int number, int numerator, int denominator);

// Base units of a font: the width of the 52 letters A-Z a-z halved twice with
// rounding ((cx / 26 + 1) / 2) and the font's full height.
DialogBaseUnits dialogBaseUnits(const QFont& font);

// Each coordinate is converted on its own, as the dialog manager does:
// x and width by baseX / 4, y and height by baseY / 8.
QRect dialogRectToPixels(int x, int y, int w, int h, DialogBaseUnits units);
QSize dialogSizeToPixels(int w, int h, DialogBaseUnits units);

// The font a template names, as this system has it: "MS Sans Serif" is Wine's
// free replacement when installed, else the system sans-serif; "Arial" is
// Arial, Liberation Sans or DejaVu Sans. The size is in points at 96 dpi
// (8 pt = 11 px), weight 0 means normal.
QFont dialogFont(const char* faceName, int pointSize, int weight, bool italic);
