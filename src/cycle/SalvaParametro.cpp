#include "cycle/SalvaParametro.h"

#include "archive/Archivio.h"
#include "archive/ParametriCicli.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/StatoArchivio.h"
#include "cycle/StatoCicli.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

#include <utility>
#include <vector>

namespace ciclo {

namespace {

QString col(int n) { return QStringLiteral("C%1").arg(n); }
QString intero(int v) { return QString::number(v); }
QString decimale(double v) { return vb::CStr(v); }

}  // namespace

QString Errore_Salvataggio(const QString &dettaglio)
{
    if (dettaglio.trimmed().isEmpty())
        return QStringLiteral("Impostazione non salvata (Sistema3.dat).");
    return QStringLiteral("Impostazione non salvata (Sistema3.dat): ") + dettaglio.trimmed();
}

std::optional<archivio::Aggiornamento> Voce_Parametro(const StatoProgramma &programma, const StatoArchivio &a,
                                                      const StatoCicli &c, archivio::Codice_Modifica codice, int indice)
{
    const archivio::DestinazioneCodice dest = archivio::Destinazione(codice, indice);
    if (dest.tabella.isEmpty())
        return std::nullopt;
    const int u = a.Sottostante_Corrente;
    if (u < 1 || u > costanti::Num_Sottostanti)
        return std::nullopt;

    std::vector<std::pair<QString, QString>> valori;
    int riga = u;
    const auto d = size_t(indice);
    const auto uno = [&](const QString &testo) { valori = {{dest.colonna, testo}}; };
    // No default: a code added to the enum and not given its value here fails the build.
    using Codice = archivio::Codice_Modifica;
    switch (codice) {
    case Codice::Sottostante_Corrente:
        riga = 1;
        uno(intero(u));
        break;
    case Codice::Sottocicli: uno(intero(c.Sottocicli[d])); break;
    case Codice::Durata: uno(decimale(c.Durata[d])); break;
    case Codice::Tendenza: uno(decimale(c.Tendenza[d])); break;
    case Codice::Tempi: uno(intero(c.Tempi[d])); break;
    case Codice::Compressione: uno(intero(c.Compressione[d])); break;
    case Codice::Zoom: uno(decimale(c.Zoom[d])); break;
    case Codice::Prop_Battleplan: uno(decimale(c.Prop_Battleplan[d])); break;
    case Codice::Posizione_Asse_Y: uno(intero(c.Posizione_Asse_Y[d])); break;
    case Codice::Modo_Mouse_Grado: uno(intero(c.Modo_Mouse_Grado[d])); break;
    case Codice::Griglia_1: uno(intero(c.Griglia_1[d])); break;
    case Codice::Griglia_2: uno(intero(c.Griglia_2[d])); break;
    case Codice::Modo_Linea_Storico: uno(intero(c.Modo_Linea_Storico[d])); break;
    case Codice::Mostra_Coordinate: uno(intero(c.Mostra_Coordinate[d])); break;
    case Codice::Inizio_Ciclo:
        valori = {{col(12), dataora::ScriviData(c.Data_Inizio_Ciclo[d], programma.Formato_Data)},
                  {col(13), dataora::ScriviOra(c.Ora_Inizio_Ciclo[d], programma.Formato_Ora)}};
        break;
    case Codice::Slot_In_Uso: uno(intero(c.Conf_Grafici[d].in_uso)); break;
    case Codice::Grado_Slot: uno(intero(c.Conf_Grafici[d].grado)); break;
    case Codice::Posizioni_Slot:
        for (int s = 0; s < costanti::Num_Slot; ++s)
            valori.push_back({col(s + 9), intero(c.Conf_Grafici[size_t(s)].posizione)});
        break;
    }

    return archivio::Aggiornamento{archivio::FileArchivio::Sistema3, dest.tabella, riga, std::move(valori)};
}

bool Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &a, const StatoCicli &c,
                     archivio::Codice_Modifica codice, int indice, QString *errore)
{
    std::optional<archivio::Aggiornamento> voce = Voce_Parametro(programma, a, c, codice, indice);
    if (!voce)
        return false;
    QString motivo;
    if (archivio::Salva({std::move(*voce)}, &motivo))
        return true;
    if (errore)
        *errore = Errore_Salvataggio(motivo);
    return false;
}

}  // namespace ciclo
