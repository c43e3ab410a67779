#pragma once

// Realistic made-up history for any underlying: bars only on weekdays and within
// the underlying's trading day, a seeded price path with cyclic swings of several
// lengths and a random walk, and volumes that follow the shape of a session.
// Used by the generator tool, by tests and by the demo.

#include "archive/StatoArchivio.h"
#include "market/StoricoLocale.h"

#include <QDate>
#include <QString>
#include <cstdint>

namespace generatore {

struct Parametri {
    RigaSottostante sottostante;   // trading day, price pattern, name
    double prezzoIniziale = 0.0;   // 0: a level suited to the underlying
    std::uint64_t seme = 1;
    QDate ultimoGiorno;            // newest bar's day; invalid: the last weekday before today
    int ultimiMinuti = -1;         // newest intraday bar's time; < 0: the day's last bar
};

// The four series, newest first, always full.
storico::SetStorico Genera(const Parametri &p);

// A price level suited to the named underlying (by name and price pattern).
double PrezzoTipico(const RigaSottostante &riga);

// The four local history files of `sottostante` (program folder from WAVELORE_HOME).
storico::Esito ScriviFileLocali(const storico::SetStorico &set, int sottostante);

// One SQLite database with tables TF5M, TF15M, TF1H, TF1D (DATA ddmmyy, ORA hhmm,
// CHIUSURA, VOLUME as texts), rows stored newest first. The file is replaced.
storico::Esito ScriviDatabase(const storico::SetStorico &set, const QString &percorso);

// The database each underlying's history lives in ("WaveloreDax" ...); "" outside 1..7.
QString NomeDatabase(int sottostante);

}  // namespace generatore
