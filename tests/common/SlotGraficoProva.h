#pragma once

// Chart slots without a window: the controls the drawing touches, a session
// filled with a known history, and a slot painted offscreen to an image.

#include "GraficoRegistratore.h"
#include "chart/RenderGrafico.h"
#include "cycle/ControlliGrafici.h"

#include <QDate>
#include <QImage>
#include <QSize>
#include <array>

struct Stato;

class ControlliMemoria : public ControlliGrafici {
public:
    ControlliMemoria();

    GraficoControllo *Graf_Battleplan(int slot) override { return valido(slot) ? &grafici[size_t(slot)] : nullptr; }
    BarraScorrimento *Hsc_Graf(int slot) override { return valido(slot) ? &hsc[size_t(slot)] : nullptr; }
    BarraScorrimento *Hsc_Graf_Y(int slot) override { return valido(slot) ? &hscY[size_t(slot)] : nullptr; }
    void Mostra_Comandi_Slot(int slot, bool visibili) override
    {
        if (valido(slot))
            comandiVisibili[size_t(slot)] = visibili;
    }
    int Sld_Zoom_Max() const override { return zoomMax; }

    std::array<GraficoRegistratore, 4> grafici;
    std::array<BarraValori, 4> hsc;
    std::array<BarraValori, 4> hscY;
    std::array<bool, 4> comandiVisibili{true, true, true, true};
    int zoomMax = 10;

private:
    static bool valido(int slot) { return slot >= 0 && slot < 4; }
};

// The newest bar of every timeframe in the test history: Friday 5 December 2025.
inline QDate DataUltimaBarra() { return QDate(2025, 12, 5); }
// Close of history row `riga` (1 newest) of a series with the given bar minutes.
double ChiusuraDiProva(int riga, int minutiBarra);

// Underlying "Dax" (08:00-22:00, 56 quarter-hours a day) with all four series
// full, the colours of scheme `aspetto`, slot `slot` showing `grado` with
// Durata 200, Scostamento_Ciclo 50, Barre_Ciclo 150, Tempi 2, Sottocicli 2,
// both grids on, zoom 7, vertical position 50, and the degree's curve, cycle
// start and future axis computed.
void PreparaStatoGrafico(Stato &stato, int slot, int grado, int aspetto = 0);
// Recomputes the curve, cycle start and future axis after a test changed settings.
void RicalcolaCiclo(Stato &stato, int grado);

// Draws the slot and paints it at `dimensione`; `disposizione`, when given,
// receives where the plot and its axes ended up.
QImage DisegnaSlotInImmagine(Stato &stato, int slot, int grado, QSize dimensione = QSize(900, 520),
                             RenderGrafico::Disposizione *disposizione = nullptr);

// Whether any pixel of `immagine` has the colour `colore` (alpha ignored), each channel
// within `tolleranza`: text is anti-aliased, so a thin stem may cover no pixel whole.
bool ContieneColore(const QImage &immagine, QRgb colore, int tolleranza = 0);
