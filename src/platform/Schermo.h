#pragma once

// Window geometry was laid out in twips and colours stored as Windows colour
// values; these convert both at the widget boundary.

#include <QColor>
#include <QFont>
#include <cstdint>

namespace schermo {

inline constexpr double TwipsPerPixel = 15.0;  // 1440 twips per inch at 96 dpi

inline int TwipsInPixel(double twips) { return int(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5)); }
inline double PixelInTwips(int pixel) { return pixel * TwipsPerPixel; }

// 0x00BBGGRR <-> QColor
inline QColor ColoreWin(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
inline std::uint32_t Rgb(int r, int g, int b)
{
    return std::uint32_t(r & 0xFF) | (std::uint32_t(g & 0xFF) << 8) | (std::uint32_t(b & 0xFF) << 16);
}
inline std::uint32_t DaColore(const QColor &c) { return Rgb(c.red(), c.green(), c.blue()); }

// The forms were laid out for Arial at 8.25 pt; fontconfig maps the name to a
// metric-compatible face, so the designed widths hold their texts.
inline QFont FontControlli()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    return f;
}

}  // namespace schermo
