#include "archive/ArchivioOggetti.h"

#include "archive/ScrittoreArchivio.h"

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

std::optional<std::pair<QDate, int>> LeggiTempoArchivio(int grado, const QString &data, const QString &ora,
                                                        int annoOggi)
{
    const auto d = dataora::LeggiDataCompatta(data, annoOggi);
    const auto m = dataora::LeggiOraCompatta(ora);
    if (!d || !m)
        return std::nullopt;
    return std::make_pair(*d, GradoGiornalieroArchivio(grado) ? 0 : *m);
}

RigaLibera ValoriRigaLibera(int ultimaColonna, int colonnaChiocciola)
{
    RigaLibera libera(size_t(ultimaColonna + 1), QStringLiteral("0"));
    if (colonnaChiocciola >= 0 && colonnaChiocciola <= ultimaColonna)
        libera[size_t(colonnaChiocciola)] = QStringLiteral("@");
    return libera;
}

std::vector<std::pair<QString, QString>> ValoriLiberi(const RigaLibera &libera)
{
    std::vector<std::pair<QString, QString>> valori;
    for (size_t i = 0; i < libera.size(); ++i)
        valori.emplace_back(QStringLiteral("C%1").arg(i), libera[i]);
    return valori;
}

bool RigaInUso(const QString &c0)
{
    const auto v = vb::LeggiNumero(c0);
    return v && *v == 1.0;
}

QString CampoRiga(const Riga &riga, const QString &nome)
{
    // Column names are unique whatever their case, so the exact name, when present, is the one.
    if (const auto it = riga.find(nome); it != riga.end())
        return it->second;
    for (const auto &[chiave, valore] : riga)
        if (chiave.compare(nome, Qt::CaseInsensitive) == 0)
            return valore;
    return {};
}

namespace {
bool rigaGiaLibera(const Riga &riga, const RigaLibera &libera)
{
    for (size_t i = 0; i < libera.size(); ++i)
        if (CampoRiga(riga, QStringLiteral("C%1").arg(i)) != libera[i])
            return false;
    return true;
}
}  // namespace

EsitoCaricaOggetti CaricaTabellaOggetti(const QString &prefisso, int sottostante, const RigaLibera &libera,
                                        const CollocaOggetto &colloca)
{
    EsitoCaricaOggetti esito;
    const QString tabella = NomeTabellaOggetti(prefisso, sottostante);
    if (tabella.isEmpty()) {
        esito.ok = false;
        esito.errore = QStringLiteral("Sottostante non valido: %1").arg(sottostante);
        return esito;
    }
    std::map<int, Riga> righe;
    {
        ConnessioneInAttesa c(FileArchivio::Sistema1);
        if (!c.Aperta() || !c.TabellaEsiste(tabella)) {
            esito.ok = false;
            esito.errore =
                QStringLiteral("Archivio degli oggetti grafici non leggibile (%1): %2").arg(tabella, c.Errore());
            return esito;
        }
        righe = c.LeggiTabella(tabella);
    }
    // The rows to free, saved off this thread as one batch.
    Lotto liberate;
    const auto libera_riga = [&](int id) { liberate.push_back({FileArchivio::Sistema1, tabella, id, ValoriLiberi(libera)}); };
    for (int d = 0; d <= costanti::Max_Grado; ++d) {
        for (int s = 1; s <= costanti::Max_Linee; ++s) {
            const int id = IdRigaOggetto(d, s);
            const auto it = righe.find(id);
            if (it == righe.end())
                continue;
            const Riga &riga = it->second;
            if (!RigaInUso(CampoRiga(riga, QStringLiteral("C0")))) {
                if (!rigaGiaLibera(riga, libera))
                    libera_riga(id);
                continue;
            }
            switch (colloca(d, s, riga)) {
            case Collocazione::Collocato: ++esito.collocati; break;
            case Collocazione::FuoriPortata: ++esito.non_collocati; break;
            case Collocazione::NonValida:
                libera_riga(id);
                ++esito.liberati;
                break;
            }
        }
    }
    QString motivo;
    if (!liberate.empty() && !Salva(std::move(liberate), &motivo, ScrittoreArchivio::Automatico)) {
        esito.ok = false;
        esito.errore = QStringLiteral("Impossibile liberare le righe non valide di %1: %2").arg(tabella, motivo);
    }
    return esito;
}

}  // namespace archivio
