#pragma once

#include <QString>
#include <functional>

namespace ciclo {

// The X label text of the price line: one comma-separated field per bar
// position 1..barreCiclo, labels every Int(estensione / 5) bars counted so that
// the newest bar is labelled. `etichetta(riga)` gives the label of history row riga.
QString Componi_Etichette_Asse_X(double estensione, int barreCiclo, const std::function<QString(int)> &etichetta);

}  // namespace ciclo
