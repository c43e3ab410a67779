#pragma once

class FormS1;
class QApplication;

namespace wavelore {

// The application's own title, for message boxes that have none of their own.
inline constexpr const char *Titolo_Applicazione = "Wavelore";

// Names the application and installs Qt's Italian texts (the standard buttons
// of message boxes). No display name is set: the window system would append it
// to every window title. Everything the program creates from then on is private
// (folders 0700, files 0600). Registers the program's face; when it cannot, says so
// on standard error at once, and Avvia in a notice once this copy holds the folder.
// false when the Italian texts could not be loaded.
bool Prepara_Applicazione(QApplication &app);

// From then on every folder and file the program creates is the user's alone
// (umask 077); the user's own mask, found at the first call, is kept for the
// programs the program starts.
void Rendi_File_Privati();
// That mask; -1 before the first Rendi_File_Privati (or where there is none).
int Maschera_Utente();

// SIGTERM and SIGHUP end the program as the close's Yes does, without the question
// (FormS1::Chiudi_Programma_Da_Segnale), from a queued call on the window thread.
void Collega_Segnali_Uscita(FormS1 &finestra);

// Creates the application and the main window and runs the event loop.
int Avvia(int argc, char *argv[]);

}  // namespace wavelore
