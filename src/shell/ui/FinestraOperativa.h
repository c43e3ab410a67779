#pragma once

// The working window built on FormS1, as a composition root: it makes the panels
// and the controllers, each owning one feature end to end, and wires them to one
// another through signals and small request interfaces. What the loading
// sequence, the indicator engine and the chart tools ask of the window goes
// through its adapters (ServiziFinestra.h); what it asks of the user and the
// desktop through DialoghiFinestra, which tests replace.

#include "indicators/MotoreIndicatori.h"
#include "market/SessioneQuotazioni.h"
#include "shell/ui/ControlloreAspetto.h"
#include "shell/ui/ControlloreCaricamento.h"
#include "shell/ui/ControlloreLayout.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/ControlloreSottostante.h"
#include "shell/ui/ControlloreTempoReale.h"
#include "shell/ui/DialoghiFinestra.h"

#include <QObject>
#include <memory>

class AreaGrafici;
class ControlliCiclo;
class PannelloCicli;
class PannelloQuotazioni;
class PannelloStorico;
class StrumentiFinestra;

class FinestraOperativa : public QObject {
    Q_OBJECT
public:
    explicit FinestraOperativa(FormS1 &form);
    ~FinestraOperativa() override;

    FormS1 &Form() { return m_form; }
    MotoreIndicatori &Motore();
    Caricamento &Sequenza();
    BloccoFinestra &Blocco();

    // The panels.
    AreaGrafici *Area() const;
    PannelloStorico *Storico() const;
    PannelloQuotazioni *Quotazioni() const;
    PannelloCicli *Cicli() const;
    StrumentiFinestra *Strumenti() const;
    ControlliCiclo *Controlli_Ciclo() const;

    // The controllers.
    ControlloreTempoReale &Tempo_Reale();
    ControlloreRidisegno &Ridisegno();
    ControlloreSottostante &Sottostante();
    ControlloreCaricamento &Caricamento_Avvio();
    ControlloreLayout &Layout();
    ControlloreAspetto &Aspetto();

    // The online session, when there is one.
    void Collega_Sessione(SessioneQuotazioni *sessione);
    SessioneQuotazioni *Sessione() const;

    // Replaces the questions, messages and browser (the program's by default).
    void Imposta_Dialoghi(std::unique_ptr<DialoghiFinestra> dialoghi);

private:
    struct Parti;
    FormS1 &m_form;
    std::unique_ptr<Parti> m_parti;
};

// Creates the working window's side of `form` and fills its loading phases.
FinestraOperativa *Prepara_Finestra_Operativa(FormS1 &form);
