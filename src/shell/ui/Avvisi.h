#pragma once

#include <QString>

class QWidget;

// The icon of a message box.
enum class Avviso { Critico, Attenzione, Informazione, Domanda, Nessuna };

namespace finestra {

// Every message box of the window goes through these two: the text is always
// plain text, and the box is modal over `padre` (centred on the screen without one).

// A notice with a single OK button. When WAVELORE_AVVISI_AUTOMATICI is set (test
// runs of whole processes) the text is written to standard output and the box
// closes by itself, since nobody is there to press OK. A detail, when given, is
// shown under the text (and printed on the line after it).
void Mostra_Avviso(Avviso tipo, const QString &titolo, const QString &testo, const QString &dettaglio = {},
                   QWidget *padre = nullptr);

// A question with Yes and No; true for Yes.
bool Mostra_Domanda(Avviso tipo, const QString &titolo, const QString &testo, QWidget *padre = nullptr);

// A question whose two answers are "Riprova" (the default) and "Esci"; true for
// "Riprova". With WAVELORE_AVVISI_AUTOMATICI set it prints itself as a notice does,
// then the answer, and answers "Esci": nobody is there to clear what it asks about.
bool Mostra_Riprova(Avviso tipo, const QString &titolo, const QString &testo, const QString &dettaglio = {},
                    QWidget *padre = nullptr);

// The exit has begun: every popup and modal window still open (a notice, a question, a
// message window) is closed unanswered. The code waiting for its answer never runs again,
// so nothing is left on screen waiting for a click.
void Chiudi_Finestre_Modali();

}  // namespace finestra
