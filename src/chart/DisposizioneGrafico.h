#pragma once

// Where the parts of a chart go on the device, worked out without painting: the
// range of every axis, the plot rectangle, and the title and axis labels with
// the rectangles they take. The plot and every label lie inside the visible
// rectangle, the part of the control that its container does not clip and its
// sibling controls do not cover; only the background spreads over the rest.

#include <QFont>
#include <QMarginsF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

class ModelloGrafico;
struct TestoGrafico;

namespace render_grafico {

struct Intervallo {
    double minimo = 0.0;
    double massimo = 1.0;
    bool valido = false;
};

struct RigaEtichetta {
    QString testo;
    QPointF origine;  // top left of the line
};

struct Etichetta {
    enum class Tipo { Titolo, Prezzo, AsseX, Testo };
    Tipo tipo = Tipo::Testo;
    std::vector<RigaEtichetta> righe;
    QRectF rettangolo;  // every line's box
    QString testo() const;  // the lines joined by "\n"
};

struct Disposizione {
    QRectF area;
    QRectF visibile;  // the plot and every label lie inside it
    QRectF testata;   // the title strip; empty when there is none
    QRectF piano;
    std::array<Intervallo, 3> x{};
    std::array<Intervallo, 7> y{};
    // Title, price labels and X labels, as they are painted.
    std::vector<Etichetta> etichette;
};

// What of a control stays in sight, as insets from its edges. `coperta`: hidden
// by its container or covered by other controls; the plot and the labels keep
// clear of it. The title may also use a strip along the top edge, from
// `testata.top()` down to `coperta.top()` and between `testata.left()` and
// `testata.right()` from the sides, when it fits there.
struct Vista {
    QMarginsF coperta;
    QMarginsF testata;
    bool operator==(const Vista &) const = default;
};

// A visible part too small to hold a plot gives way to the whole area.
Disposizione Calcola(const ModelloGrafico &modello, const QRectF &area, const Vista &vista = {});

// Beyond this many pixels from the plot a coordinate is left out or clipped by
// hand: the raster engine misbehaves with huge values.
inline constexpr double Limite_Sicuro = 1.0e5;

// The mapping of one pair of axes onto the plot; not valid when either range is unusable.
struct Trasformazione {
    double sx = 1, ox = 0, sy = 1, oy = 0;
    bool valida = false;
    QPointF operator()(double x, double y) const { return {ox + x * sx, oy + y * sy}; }
};
Trasformazione Mappa(const Disposizione &d, int asseX, int asseY);

// A point of the device in X axis 1 / Y axis 1 units, extrapolated outside the plot.
QPointF InUnita(const Disposizione &d, QPointF pixel);
QPointF InPixel(const Disposizione &d, int asseX, int asseY, QPointF valore);

// Where a free text's lines go; no lines when its anchor cannot be placed.
Etichetta DisponiTesto(const Disposizione &d, const TestoGrafico &testo, const QFont &font);
// Where every free text's lines go, in the model's order. A text of modo 2 starts
// no further left than the plot and goes down past the modo 2 texts placed before
// it, so a narrow chart stacks them rather than running one into another.
std::vector<Etichetta> DisponiTesti(const ModelloGrafico &modello, const Disposizione &d);
// Every label of the chart with the rectangle it takes: those of the layout and the texts.
std::vector<Etichetta> Etichette(const ModelloGrafico &modello, const Disposizione &d);

// "Font=Arial|8|bold|", "bold" or "" (Arial 8); Arial is served by the program's own
// face with its metrics (schermo::Famiglia_Testi).
QFont FontDaTesto(const QString &testo);

}  // namespace render_grafico
