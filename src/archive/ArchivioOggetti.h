#pragma once

// Rules shared by the stores of the drawing objects in Sistema1.dat: one table per
// kind and underlying, row ID = degree x 15 + slot, dates as ddmmyy and times as
// hhmm texts. In memory a point is a chart position; the store turns it into the
// date and time of its bar and back through a MappaTempi, so the archive never
// depends on how positions are counted.

#include "archive/Archivio.h"
#include "platform/DataOra.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace archivio {

// Chart position <-> bar time of a degree, as the chart draws them.
class MappaTempi {
public:
    virtual ~MappaTempi() = default;
    // Position of the bar with that date (and time, on intraday degrees); nullopt when
    // the bar lies neither in the degree's history nor on its future axis.
    virtual std::optional<int> XDaTempo(int grado, const QDate &data, int minuti) const = 0;
    // Date and time of the bar at position x; false when x maps to no bar.
    virtual bool TempoDaX(int grado, int x, QDate &data, int &minuti) const = 0;
};

struct TempoArchivio {
    QString data;  // ddmmyy
    QString ora;   // hhmm, "0000" on the daily degrees
};

bool GradoGiornalieroArchivio(int grado);
int IdRigaOggetto(int grado, int slot);
// "Dati_Linee_S" + 3 -> "Dati_Linee_S3"; empty for an underlying outside 1..7.
QString NomeTabellaOggetti(const QString &prefisso, int sottostante);

// Stored texts of a position; nullopt when the position maps to no bar.
std::optional<TempoArchivio> TempoDaPosizione(const MappaTempi &mappa, int grado, int x);
// Date and time read back from the stored texts; nullopt for texts that are no real date or time.
// Two-digit years slide round annoOggi.
std::optional<std::pair<QDate, int>> LeggiTempoArchivio(int grado, const QString &data, const QString &ora,
                                                        int annoOggi);

// What a free row holds, column C0 onwards: "0" everywhere but the text column of
// texts and distances, which holds "@".
using RigaLibera = std::vector<QString>;
RigaLibera ValoriRigaLibera(int ultimaColonna, int colonnaChiocciola = -1);

// The columns of a free row, C0 onwards.
std::vector<std::pair<QString, QString>> ValoriLiberi(const RigaLibera &libera);

// True when the stored text reads as a number equal to 1 (a used row).
bool RigaInUso(const QString &c0);

// The text of a column of a row read back, whatever the case of its name; "" when absent.
QString CampoRiga(const Riga &riga, const QString &nome);

struct EsitoCaricaOggetti {
    bool ok = true;
    QString errore;
    int collocati = 0;      // used rows placed on their bars
    int non_collocati = 0;  // valid rows whose bars are out of reach now: row kept, slot empty
    int liberati = 0;       // used rows that failed a check, rewritten as free
};

// What a store made of one used row.
enum class Collocazione {
    NonValida,     // a check failed: the row is freed
    Collocato,     // on its bars: the object takes its slot
    FuoriPortata,  // valid, but a point is neither in the history nor on the future axis
};

template <typename T>
struct OggettoLetto {
    Collocazione esito = Collocazione::NonValida;
    T oggetto{};  // used only when Collocato
};

// The loading walk of every object table, rows degree x 15 + slot of
// <prefisso><sottostante>: a row not in use is rewritten as free, a used one is handed
// to `colloca`. An object out of reach keeps its row, untouched, and its slot stays
// empty until its bars come on the chart: a later load that reaches them again (a
// longer future axis) still finds it. What else may take the slot is the caller's.
using CollocaOggetto = std::function<Collocazione(int grado, int slot, const Riga &riga)>;
EsitoCaricaOggetti CaricaTabellaOggetti(const QString &prefisso, int sottostante, const RigaLibera &libera,
                                        const CollocaOggetto &colloca);

// The same walk rebuilding a [degree][slot] table of one kind: every slot starts free
// and only a placed object fills it. `leggi(grado, riga, annoOggi)` gives an
// OggettoLetto<T>; the current year is read once for the whole table, since asking the
// clock for it costs more than reading a row.
// `inAttesa`, when given, receives the rows of the objects out of reach, by [degree][slot].
template <typename Tabella, typename Leggi, typename Attesa>
EsitoCaricaOggetti CaricaOggetti(const QString &prefisso, int sottostante, const RigaLibera &libera,
                                 Tabella &oggetti, Leggi leggi, Attesa *inAttesa)
{
    oggetti = {};
    if (inAttesa)
        *inAttesa = {};
    const int annoOggi = dataora::AnnoCorrente();
    return CaricaTabellaOggetti(prefisso, sottostante, libera, [&](int grado, int slot, const Riga &riga) {
        auto letto = leggi(grado, riga, annoOggi);
        if (letto.esito == Collocazione::Collocato)
            oggetti[size_t(grado)][size_t(slot)] = std::move(letto.oggetto);
        else if (letto.esito == Collocazione::FuoriPortata && inAttesa)
            (*inAttesa)[size_t(grado)][size_t(slot)] = riga;
        return letto.esito;
    });
}

// Places the objects of one degree whose rows wait in `inAttesa` and whose bars are
// now all on the chart; a row whose slot holds another object is forgotten, since
// that object's save overwrote it. Returns how many objects were placed.
template <typename Tabella, typename Leggi, typename Attesa>
int CollocaInAttesa(Tabella &oggetti, Attesa &inAttesa, int grado, Leggi leggi)
{
    int collocati = 0;
    if (grado < 0 || grado >= int(inAttesa.size()))
        return 0;
    int annoOggi = 0;
    for (size_t s = 1; s < inAttesa[size_t(grado)].size(); ++s) {
        Riga &riga = inAttesa[size_t(grado)][s];
        if (riga.empty())
            continue;
        if (oggetti[size_t(grado)][s].in_uso) {
            riga.clear();
            continue;
        }
        if (annoOggi == 0)
            annoOggi = dataora::AnnoCorrente();
        auto letto = leggi(grado, riga, annoOggi);
        if (letto.esito == Collocazione::FuoriPortata)
            continue;
        if (letto.esito == Collocazione::Collocato) {
            oggetti[size_t(grado)][s] = std::move(letto.oggetto);
            ++collocati;
        }
        riga.clear();
    }
    return collocati;
}

}  // namespace archivio
