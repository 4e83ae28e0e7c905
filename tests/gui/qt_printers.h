#pragma once
// Readable gtest messages for the Qt values the GUI tests compare.
#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << 'x' << s.height(); }
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}
