#pragma once

// Window geometry was laid out in twips and colours stored as Windows colour
// values; these convert both at the widget boundary.

#include <QColor>
#include <QFont>
#include <QString>
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

// The forms and the charts were laid out for Arial; the program carries a face with
// its metrics (Registra_Caratteri), so the designed widths hold their texts.
inline QString Famiglia_Testi() { return QStringLiteral("Liberation Sans"); }

inline QFont Carattere(double punti, bool grassetto = false)
{
    QFont f(Famiglia_Testi());
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return f;
}

// The forms' controls: Arial 8.25 pt.
inline QFont FontControlli() { return Carattere(8.25); }

}  // namespace schermo
