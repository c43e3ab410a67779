#pragma once

// Degree captions and the duration of a number of bars as days, hours and minutes
// of the current underlying's trading day ("2g 3h ", "1h 30m", "35m").

#include <QString>

struct StatoArchivio;
struct StatoCicli;

namespace ciclo {

QString Converti_Durata_Testo(const StatoCicli &cicli, const StatoArchivio &archivio, int grado, int barre);

// Caption of the degree's check box: its label and its duration, rounded half to even.
QString Didascalia_Grado(const StatoCicli &cicli, const StatoArchivio &archivio, int grado);

}  // namespace ciclo
