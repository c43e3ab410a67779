#include "archive/ArchivioOggetti.h"

#include "platform/Costanti.h"
#include "platform/DataOra.h"
#include "platform/VbRuntime.h"

namespace archivio {

bool GradoGiornalieroArchivio(int grado) { return grado <= 3; }

int IdRigaOggetto(int grado, int slot) { return grado * costanti::Max_Linee + slot; }

QString NomeTabellaOggetti(const QString &prefisso, int sottostante)
{
    if (sottostante < 1 || sottostante > costanti::Num_Sottostanti)
        return {};
    return prefisso + QString::number(sottostante);
}

std::optional<TempoArchivio> TempoDaPosizione(const MappaTempi &mappa, int grado, int x)
{
    QDate data;
    int minuti = 0;
    if (!mappa.TempoDaX(grado, x, data, minuti) || !data.isValid())
        return std::nullopt;
    if (GradoGiornalieroArchivio(grado))
        minuti = 0;
    return TempoArchivio{dataora::ScriviDataCompatta(data), dataora::ScriviOraCompatta(minuti)};
}

std::optional<std::pair<QDate, int>> LeggiTempoArchivio(int grado, const QString &data, const QString &ora)
{
    const auto d = dataora::LeggiDataCompatta(data);
    const auto m = dataora::LeggiOraCompatta(ora);
    if (!d || !m)
        return std::nullopt;
    return std::make_pair(*d, GradoGiornalieroArchivio(grado) ? 0 : *m);
}

bool LiberaRiga(Connessione &c, const QString &tabella, int id, int ultimaColonna)
{
    std::vector<std::pair<QString, QString>> valori;
    for (int i = 0; i <= ultimaColonna; ++i)
        valori.emplace_back(QStringLiteral("C%1").arg(i), QStringLiteral("0"));
    return c.AggiornaRiga(tabella, id, valori);
}

bool RigaInUso(const QString &c0)
{
    const auto v = vb::LeggiNumero(c0);
    return v && *v == 1.0;
}

}  // namespace archivio
