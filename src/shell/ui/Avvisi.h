#pragma once

#include <QString>

enum class Avviso { Critico, Attenzione, Informazione };

namespace finestra {

// A modal message box with a single OK button. When WAVELORE_AVVISI_AUTOMATICI is
// set (test runs of whole processes) the text is written to standard output and
// the box closes by itself, since nobody is there to press OK. A detail, when given,
// is shown under the text (and printed on the line after it).
void Mostra_Avviso(Avviso tipo, const QString &titolo, const QString &testo, const QString &dettaglio = {});

}  // namespace finestra
