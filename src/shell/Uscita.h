#pragma once

// The program's one orderly way out.

#include <QString>

struct StatoShell;
class ScrittoreArchivio;
class ScrittoreStorico;
class Socket;

// What the exit needs from the windows (UscitaFinestra in the program). Termina exists so
// that tests can watch the end; whatever it does, nothing of the program runs after
// Chiudi_Programma. Richiesta_Chiusura is the user closing the main window.
class Uscita {
public:
    virtual ~Uscita() = default;
    virtual void Richiesta_Chiusura() = 0;
    virtual void Scarica_Form_Msg() = 0;
    virtual void Termina(int codice) = 0;
    // The exit still waits for files to be written: say so (true) until it stops waiting.
    virtual void Mostra_Salvataggio(bool mostra) = 0;
    // What the exit could not save, told before the end.
    virtual void Avviso_Uscita(const QString &testo) = 0;
};

namespace finestra {

// Saving still going on this long into the exit is shown (Uscita::Mostra_Salvataggio).
constexpr int Avviso_Salvataggio_Uscita_ms = 500;
// The exit waits this long at most for what is queued to the writers, counted from its start:
// a disk that takes longer loses the files still waiting (each keeps its old contents).
constexpr int Attesa_Salvataggi_Uscita_ms = 20000;

// Raises Blocco_Grafici and Blocco_Aggiornamento, closes the message windows, logs out
// with "COMM18" when the socket is connected, pauses 0.5 s, closes the socket, pauses
// 0.5 s, waits for the history files and the archive batches still queued to `storici`
// and `archivio` (at most `attesaMs` from its start, and shown when it takes time),
// names what was not saved (once on standard error, and in Uscita::Avviso_Uscita) and
// ends the process. Also safe from inside Pausa or a modal window. Called again while it
// runs (from a handler of one of its waits), it carries the same exit on to the same
// bound: the exit runs once.
[[noreturn]] void Chiudi_Programma(StatoShell &shell, Socket &socket, Uscita &uscita,
                                   ScrittoreStorico *storici = nullptr, ScrittoreArchivio *archivio = nullptr,
                                   int attesaMs = Attesa_Salvataggi_Uscita_ms);
[[noreturn]] void Chiudi_Programma(StatoShell &shell, Socket &socket);

// Ends the process at once: output is flushed, no destructor or event runs.
[[noreturn]] void Termina_Processo(int codice);

}  // namespace finestra
