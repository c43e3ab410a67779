#include "cycle/DurataTesto.h"

#include "archive/StatoArchivio.h"
#include "cycle/StatoCicli.h"
#include "platform/NomiGradi.h"
#include "platform/VbRuntime.h"

#include <cmath>

namespace ciclo {

QString Converti_Durata_Testo(const StatoCicli &cicli, const StatoArchivio &archivio, int grado, int barre)
{
    double giorni = 0, ore = 0, minuti = 0;
    if (grado >= 0 && grado <= 3) {
        giorni = barre;
    } else if (grado >= 4 && grado <= costanti::Max_Grado) {
        const double b15 = cicli.Barre_15M_Giorno;
        const bool primo = archivio.Sottostante_Corrente == 1;
        double perGiorno = 0;
        if (grado <= 5)
            perGiorno = primo ? archivio.Tab_Sottostanti[1].Barre_1H_Giorno : b15 / 4;
        else if (grado <= 9)
            perGiorno = b15;
        else
            perGiorno = 3 * b15;
        if (!(perGiorno > 0))
            return QString();
        const double r = barre / perGiorno;
        giorni = vb::Int(r);
        const double f = r - giorni;
        double h = 0;
        if (grado <= 5)
            h = f * perGiorno / (60.0 / 60.0);
        else if (grado <= 9)
            h = f * perGiorno / (60.0 / 15.0);
        else
            h = f * perGiorno / (60.0 / 5.0);
        ore = vb::Int(h);
        double m = vb::Int((h - ore) * 60);
        // Rounding up to five minutes also absorbs the rounding of the divisions above.
        if (std::fmod(m, 5.0) != 0)
            m = vb::Int(m / 5) * 5 + 5;
        minuti = m;
        if (minuti == 60) {
            minuti = 0;
            ore += 1;
        }
    }
    QString testo;
    if (giorni != 0)
        testo += QString::number(qint64(giorni)) + QStringLiteral("g ");
    if (ore != 0)
        testo += QString::number(qint64(ore)) + QStringLiteral("h ");
    if (minuti != 0)
        testo += QString::number(qint64(minuti)) + QStringLiteral("m");
    return testo;
}

QString Didascalia_Grado(const StatoCicli &cicli, const StatoArchivio &archivio, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return QString();
    return nomi_gradi::Etichetta(grado)
           + Converti_Durata_Testo(cicli, archivio, grado, vb::CInt(cicli.Durata[size_t(grado)]));
}

}  // namespace ciclo
