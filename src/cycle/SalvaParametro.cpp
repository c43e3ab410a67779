#include "cycle/SalvaParametro.h"

#include "archive/Archivio.h"
#include "archive/ParametriCicli.h"
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

// Text of the setting of one degree for a single-column letter.
QString valoreGrado(const StatoCicli &c, QChar lettera, size_t d)
{
    switch (lettera.toLatin1()) {
    case 'C': return intero(c.Sottocicli[d]);
    case 'D': return decimale(c.Durata[d]);
    case 'T': return decimale(c.Tendenza[d]);
    case 'K': return intero(c.Tempi[d]);
    case 'B': return intero(c.Compressione[d]);
    case 'Z': return decimale(c.Zoom[d]);
    case 'H': return decimale(c.Prop_Battleplan[d]);
    case 'A': return intero(c.Posizione_Asse_Y[d]);
    case 'L': return intero(c.Modo_Mouse_Grado[d]);
    case 'M': return intero(c.Griglia_1[d]);
    case 'N': return intero(c.Griglia_2[d]);
    case 'F': return intero(c.Modo_Linea_Storico[d]);
    case 'I': return intero(c.Mostra_Coordinate[d]);
    default: return QString();
    }
}

}  // namespace

QString Errore_Salvataggio(const QString &dettaglio)
{
    QString testo = QStringLiteral("Impostazione non salvata (Sistema3.dat).");
    if (!dettaglio.trimmed().isEmpty())
        testo += QLatin1Char(' ') + dettaglio.trimmed();
    return testo;
}

bool Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &a, const StatoCicli &c,
                     archivio::Codice_Modifica codice, int indice, QString *errore)
{
    const QChar lettera = archivio::Lettera(codice);
    const archivio::DestinazioneCodice dest = archivio::Destinazione(codice, indice);
    if (dest.tabella.isEmpty())
        return false;
    const int u = a.Sottostante_Corrente;
    if (u < 1 || u > costanti::Num_Sottostanti)
        return false;

    std::vector<std::pair<QString, QString>> valori;
    int riga = u;
    const auto d = size_t(indice);
    switch (lettera.toLatin1()) {
    case 'S':
        riga = 1;
        valori = {{col(1), intero(u)}};
        break;
    case 'P':
        valori = {{col(12), dataora::ScriviData(c.Data_Inizio_Ciclo[d], programma.Formato_Data)},
                  {col(13), dataora::ScriviOra(c.Ora_Inizio_Ciclo[d], programma.Formato_Ora)}};
        break;
    case 'O': valori = {{dest.colonna, intero(c.Conf_Grafici[d].in_uso)}}; break;
    case 'E': valori = {{dest.colonna, intero(c.Conf_Grafici[d].grado)}}; break;
    case 'G':
        for (int s = 0; s < costanti::Num_Slot; ++s)
            valori.push_back({col(s + 9), intero(c.Conf_Grafici[size_t(s)].posizione)});
        break;
    default: valori = {{dest.colonna, valoreGrado(c, lettera, d)}}; break;
    }

    archivio::Connessione conn(archivio::FileArchivio::Sistema3);
    if (conn.Aperta() && conn.AggiornaRiga(dest.tabella, riga, valori))
        return true;
    if (errore)
        *errore = Errore_Salvataggio(conn.Errore());
    return false;
}

}  // namespace ciclo
