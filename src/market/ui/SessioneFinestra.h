#pragma once

// Connects the quote-server session to the main window: the login panel starts
// it, and what the session shows or asks goes to the window's controls.

class FinestraOperativa;
class FormS1;
class SessioneQuotazioni;

SessioneQuotazioni *Prepara_Sessione_Online(FormS1 &form, FinestraOperativa &finestra);
