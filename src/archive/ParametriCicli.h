#pragma once

// The per-degree cycle settings and the chart slots in Sistema3.dat: where each
// letter code is written, and the loader that checks every stored value into
// Tab_Cicli. The writer is ciclo::Salva_Parametro.

#include <QDate>
#include <QString>

struct StatoArchivio;

namespace archivio {

// The setting to save, named by its letter code.
enum class Codice_Modifica : char {
    Sottostante_Corrente = 'S',
    Sottocicli = 'C',
    Durata = 'D',
    Tendenza = 'T',
    Tempi = 'K',
    Compressione = 'B',
    Zoom = 'Z',
    Prop_Battleplan = 'H',
    Posizione_Asse_Y = 'A',
    Modo_Mouse_Grado = 'L',
    Griglia_1 = 'M',
    Griglia_2 = 'N',
    Inizio_Ciclo = 'P',  // Data_Inizio_Ciclo and Ora_Inizio_Ciclo
    Modo_Linea_Storico = 'F',
    Slot_In_Uso = 'O',        // Conf_Grafici(s, 0)
    Grado_Slot = 'E',         // Conf_Grafici(s, 1)
    Posizioni_Slot = 'G',     // Conf_Grafici(0..3, 2)
    Mostra_Coordinate = 'I',
};
inline QChar Lettera(Codice_Modifica codice) { return QLatin1Char(char(codice)); }

// Where a letter code is written.
struct DestinazioneCodice {
    QString tabella;  // "TAB4", "TABGRAF", "TABAVV"; empty for an unknown letter
    QString colonna;  // "C4"; for "P" and "G" the first of the columns written
};
DestinazioneCodice Destinazione(Codice_Modifica codice, int indice);

// Reads TAB0..TAB12 and TABGRAF of Sistema3.dat into Tab_Cicli for every
// underlying, each value checked against its range; a missing row, an empty column
// or a value out of range gets the setting's default. The default cycle start is
// yesterday (relative to `oggi`) written with `formatoData`, and 10:00.
// False when the file cannot be opened (every entry then holds its default).
bool Carica_Parametri(StatoArchivio &archivio, const QString &formatoData, const QDate &oggi = QDate::currentDate());

}  // namespace archivio
