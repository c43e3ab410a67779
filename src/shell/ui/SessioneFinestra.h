#pragma once

// Connects the quote-server session to the main window: the login panel starts
// it, and what the session shows or asks goes to the window's controls.

class FinestraOperativa;
class FormS1;
class SessioneQuotazioni;

namespace finestra {

// Lines the chat box keeps; older ones go, so a chatty or hostile server cannot fill memory:
// with each line cut to Caratteri_Riga_Chat the box holds Righe_Chat times that at most.
inline constexpr int Righe_Chat = 500;

SessioneQuotazioni *Prepara_Sessione_Online(FormS1 &form, FinestraOperativa &finestra);

}  // namespace finestra
