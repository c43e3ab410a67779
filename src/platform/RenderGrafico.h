#pragma once

// Paints a ModelloGrafico onto any paint device. All axes share one plot
// rectangle; an X axis without a usable fixed range takes X axis 1's, a Y axis
// whose range is reversed or not finite carries nothing, and a flat range of
// the first two Y axes is opened by one unit each side, so no mapping ever
// divides by zero or hands a non-finite coordinate to the painter.

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <array>

class ModelloGrafico;
class QPainter;

namespace RenderGrafico {

struct Intervallo {
    double minimo = 0.0;
    double massimo = 1.0;
    bool valido = false;
};

struct Disposizione {
    QRectF area;
    QRectF piano;
    std::array<Intervallo, 3> x{};
    std::array<Intervallo, 7> y{};
};

Disposizione Calcola(const ModelloGrafico &modello, const QRectF &area);
void Disegna(const ModelloGrafico &modello, QPainter &p, const QRectF &area, Disposizione *disposizione = nullptr);
// Paints the series from `primaSerie` and the texts from `primoTesto` on, over
// what is already there, with a layout computed earlier.
void DisegnaAggiunte(const ModelloGrafico &modello, QPainter &p, const Disposizione &d, int primaSerie,
                     int primoTesto);

// A point of the device in X axis 1 / Y axis 1 units, extrapolated outside the plot.
QPointF InUnita(const Disposizione &d, QPointF pixel);
QPointF InPixel(const Disposizione &d, int asseX, int asseY, QPointF valore);

// "Font=Arial|8|bold|", "bold" or "" (Arial 8).
QFont FontDaTesto(const QString &testo);

}  // namespace RenderGrafico
