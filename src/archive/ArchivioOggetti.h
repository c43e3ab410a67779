#pragma once

// Rules shared by the stores of the drawing objects in Sistema1.dat: one table per
// kind and underlying, row ID = degree x 15 + slot, dates as ddmmyy and times as
// hhmm texts. In memory a point is a chart position; the store turns it into the
// date and time of its bar and back through a MappaTempi, so the archive never
// depends on how positions are counted.

#include "archive/Archivio.h"

#include <QDate>
#include <QString>
#include <optional>

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
std::optional<std::pair<QDate, int>> LeggiTempoArchivio(int grado, const QString &data, const QString &ora);

// "0" in columns C0..C<ultimaColonna> of one row.
bool LiberaRiga(Connessione &c, const QString &tabella, int id, int ultimaColonna);

// True when the stored text reads as a number equal to 1 (a used row).
bool RigaInUso(const QString &c0);

}  // namespace archivio
