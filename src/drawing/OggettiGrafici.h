#pragma once

// Drawing objects as plain data: the line hit test, free slots, the shift of a
// degree's objects along the time axis, the price conversion between the two Y
// axes, and the bridge from the session state to the object store.

#include "drawing/ArchivioDistanze.h"
#include "drawing/ArchivioLinee.h"
#include "drawing/ArchivioTesti.h"
#include "drawing/StatoDisegno.h"

#include <optional>

struct StatoArchivio;
struct StatoCicli;
struct StatoMercato;
struct StatoProgramma;
class ControlliGrafici;

namespace disegno {

// Bounds of a chart slot as read from its control at the moment of use.
struct AssiGrafico {
    double x_max = 0.0;  // upper bound of X axis 1
    double lo1 = 0.0, hi1 = 0.0;  // Y axis 1, the scale the mouse is reported on
    double lo2 = 0.0, hi2 = 0.0;  // Y axis 2, prices
};

// Price of a value on the first Y axis; nullopt when the first axis has no height.
std::optional<double> PrezzoDaY(const AssiGrafico &assi, double y);

// Lowest slot 1..limite of one degree that is neither in use nor held by an object
// waiting for its bars (listed in the objects panel and deleted there): a new object
// never takes the slot, nor overwrites the row, of one the trader cannot see. 0 when
// none is.
template <typename T>
int PrimoSlotLibero(const std::array<T, 16> &oggetti, const std::array<::RigaOggetto, 16> &attesa, int limite)
{
    for (int k = 1; k <= limite && k < int(oggetti.size()); ++k)
        if (!oggetti[size_t(k)].in_uso && attesa[size_t(k)].empty())
            return k;
    return 0;
}

// The lowest free slot of one degree of a table; 0 when the table is full or the
// degree is out of range.
template <typename T>
int SlotLibero(const SlotOggetti<T> &tabella, const SlotOggetti<::RigaOggetto> &attesa, int grado, int limite)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return 0;
    return PrimoSlotLibero(tabella[size_t(grado)], attesa[size_t(grado)], limite);
}
inline int SlotLiberoLinee(const StatoDisegno &d, int grado)
{
    return SlotLibero(d.Linee, d.Linee_In_Attesa, grado, costanti::Max_Linee);
}
inline int SlotLiberoTesti(const StatoDisegno &d, int grado)
{
    return SlotLibero(d.Testi, d.Testi_In_Attesa, grado, costanti::Max_Testi);
}
inline int SlotLiberoDistanze(const StatoDisegno &d, int grado)
{
    return SlotLibero(d.Distanze, d.Distanze_In_Attesa, grado, costanti::Max_Distanze);
}

// Whether an object waiting for its bars (tipo 1 line, 2 text, 3 distance, as its
// stored row holds it) will never come onto the chart: a point of it lies no later
// than the newest bar of the degree's history and on none of its bars (older than
// the oldest bar kept, or on a day or time without one: a holiday the future axis
// did not skip), and the history only moves on. The others wait for bars beyond
// the chart, which may still come.
bool Non_Tornera(const StatoMercato &mercato, int grado, int tipo, const ::RigaOggetto &riga);

// The objects of one kind and degree that wait for their bars, by whether they may
// still come onto the chart.
struct OggettiInAttesa {
    int possono_tornare = 0;
    int non_torneranno = 0;  // a point on no bar of the history: they never will
    int totale() const { return possono_tornare + non_torneranno; }
};
OggettiInAttesa Oggetti_In_Attesa(const StatoMercato &mercato, const StatoDisegno &d, int tipo, int grado);
// The limit message of a kind (tipo as above) when some of its slots are held by
// objects waiting for their bars: how many of each sort, which will never come
// back, and that deleting them in the objects panel frees their slots.
QString Testo_Limite_In_Attesa(int tipo, const OggettiInAttesa &quanti);

// Whether a text may stand in the entry box: at most 20 characters, not ending with
// "@" (the mark of a free row in the store).
bool TestoAccettabile(const QString &testo);

// Whether a click at bar cx and price cp falls on the text's anchor: bars from 2 %
// of cx left of it to 5 % right, prices from 0.1 % of cp below to 5 % above, bounds
// included. The window is taken between its two ends whatever their order, so a
// click left of position 0 or at a negative price can still hit.
bool TestoColpito(const Testo &testo, double cx, double cp);

// Whether a click at bar cx and price cp falls on the line: inside the line's
// bounding box widened by 1 % at each end, and the line from the start point
// through the click reaching, at the end bar, a price within 3 % of the line's own
// end price. A click exactly on the start bar defines no direction: no hit.
bool LineaColpita(const Linea &linea, double cx, double cp);
// The same test on a distance's segment.
bool DistanzaColpita(const Distanza &distanza, double cx, double cp);

// A distance from the first to the second click, label midway with the duration of
// its span; nullopt when it spans fewer than 2 bars.
std::optional<Distanza> NuovaDistanza(int x1, double p1, int x2, double p2, int colore, const QString &durata);

// Moves every placed object of the degree by delta bar positions.
void Sposta_Disegni_Grado(StatoDisegno &disegno, int grado, int delta);

// The shift for a new cycle position of the current chart: called once
// Hsc_Graf(Grafico_Corrente) holds the new position and while Barre_Ciclo of the
// current degree still holds the old one. Does nothing while Blocco_Grafici is set.
void Sposta_Disegni_AsseX(const StatoProgramma &programma, const StatoCicli &cicli, StatoDisegno &disegno,
                          ControlliGrafici &controlli);

// Keeps every object on its bar after the cycle positions changed outside
// Sposta_Disegni_AsseX: a merge that added nuoveBarre[d] bars to degree d's series
// (while its cycle position advanced, or stayed at its cap), a position reset.
void Riallinea_Disegni(const StatoCicli &cicli, StatoDisegno &disegno,
                       const std::array<int, costanti::Num_Gradi> &nuoveBarre);

// Places the degree's objects that were out of reach at load and whose bars are now
// all on the chart (after a shift, a duration change, a scroll); how many.
int Colloca_Oggetti_In_Attesa(const StatoMercato &mercato, const StatoCicli &cicli, StatoDisegno &disegno, int grado);

// Bar times of the degrees through the one bar-position mapping: the degree's
// history series, then its whole future time axis.
class MappaTempiStato : public archivio::MappaTempi {
public:
    MappaTempiStato(const StatoMercato &mercato, const StatoCicli &cicli) : m_mercato(mercato), m_cicli(cicli) {}
    std::optional<int> XDaTempo(int grado, const QDate &data, int minuti) const override;
    bool TempoDaX(int grado, int x, QDate &data, int &minuti) const override;

private:
    const StatoMercato &m_mercato;
    const StatoCicli &m_cicli;
};

// The line store of the current underlying.
archivio::EsitoCaricaOggetti Carica_Linee(const StatoArchivio &archivio, const StatoMercato &mercato,
                                          const StatoCicli &cicli, StatoDisegno &disegno);
[[nodiscard]] bool Salva_Linea(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                 const StatoDisegno &disegno, int grado, int slot, QString *errore = nullptr);
// The text and distance stores of the current underlying.
archivio::EsitoCaricaOggetti Carica_Testi(const StatoArchivio &archivio, const StatoMercato &mercato,
                                          const StatoCicli &cicli, StatoDisegno &disegno);
[[nodiscard]] bool Salva_Testo(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                 const StatoDisegno &disegno, int grado, int slot, QString *errore = nullptr);
archivio::EsitoCaricaOggetti Carica_Distanze(const StatoArchivio &archivio, const StatoMercato &mercato,
                                             const StatoCicli &cicli, StatoDisegno &disegno);
[[nodiscard]] bool Salva_Distanza(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                    const StatoDisegno &disegno, int grado, int slot, QString *errore = nullptr);

}  // namespace disegno
