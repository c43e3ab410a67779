#pragma once

// The loading sequence of a start or a change of underlying, phase 1 (current
// underlying, formats, colours, key table, price history) and phase 2 (archive
// settings, cycle model, drawing objects, indicators, charts, working window),
// free of widgets: every routine it runs is reached through ServiziCaricamento,
// which the main window implements and tests replace with a recorder.

#include <QObject>
#include <QString>
#include <QTimer>
#include <initializer_list>

struct Stato;

// What the sequence runs, each routine under the name the rest of the program
// knows it by. A routine answers false when it failed; Errore() then says why, or
// is empty when the routine has already told the user itself. Every routine must be
// given: one left out would report as done a load or save that never happened.
class ServiziCaricamento {
public:
    virtual ~ServiziCaricamento() = default;

    // phase 1
    virtual bool Carica_Sottostante_Corrente() = 0;
    virtual bool Imposta_Formati_Locali() = 0;
    virtual bool Imposta_Colori() = 0;
    virtual bool Inizializza_Tabella_Chiave() = 0;
    virtual bool Carica_Storico_Da_Server() = 0;
    virtual bool Inizializza_Tab_Sottostanti() = 0;
    virtual bool Carica_Storico_Offline() = 0;
    // phase 2
    virtual bool Aggiorna_Ultime_Barre_Storico() = 0;
    virtual bool Salva_Storico_5M() = 0;
    virtual bool Salva_Storico_15M() = 0;
    virtual bool Salva_Storico_1H() = 0;
    virtual bool Salva_Storico_1D() = 0;
    virtual bool Inizializza_Tabelle_Cicli() = 0;
    virtual bool Carica_Parametri() = 0;
    virtual bool Carica_Indicatori() = 0;
    virtual bool Carica_Impostazioni_Sottostante() = 0;
    virtual bool Calcola_Tempi_Futuri() = 0;
    virtual bool Carica_Linee() = 0;
    virtual bool Carica_Testi() = 0;
    virtual bool Carica_Distanze() = 0;
    virtual bool Carica_Combo() = 0;
    virtual bool Inizializza_Chk_Battl() = 0;
    virtual bool Aggiorna_Etichette_Gradi() = 0;
    virtual bool Calcola_Battleplan_Tutti() = 0;
    virtual bool Aggiorna_Indicatori_Grafici() = 0;
    virtual bool Disegna_Grafici() = 0;
    virtual bool Imposta_Titolo_Finestra() = 0;
    virtual bool Imposta_Pannelli_Modalita() = 0;
    virtual bool Imposta_Layout_Oggetti_Graf() = 0;
    virtual bool Imposta_Layout_Senza_Storico() = 0;
    virtual bool Imposta_Layout_Ridotto() = 0;
    virtual bool Imposta_Opzione_Grafici() = 0;
    virtual bool Imposta_Titoli_Grafici() = 0;
    virtual bool Imposta_Colori_Controlli() = 0;
    // The three one-shot timers off, Timer_Indicatori to 1200 ms.
    virtual bool Ferma_Timer() = 0;
    virtual bool Richiesta_Dati_RT_Al_Server() = 0;
    // Change panel hidden, cycle panel enabled, degree boxes, chat, banners.
    virtual bool Apri_Finestra_Operativa() = 0;

    virtual QString Errore() const = 0;
    virtual void Mostra_Avanzamento_Avvio(int passo) = 0;
    virtual void Pausa(double secondi) = 0;
    virtual bool Connesso() const = 0;
    virtual void Invia(const QString &messaggio) = 0;
    // Waits, letting events run, until the history download started by the
    // server's answer has finished (true) or the time has run out (false).
    virtual bool Attendi_Download(int millisecondi) = 0;
    virtual bool Frm_Avvio_Visibile() const = 0;
};

class Caricamento : public QObject {
    Q_OBJECT
public:
    enum class Fase { Inattiva, Fase1, Attesa_Ultime_Barre, Pronta_Fase2, Fase2 };
    enum class Esito { Completato, In_Attesa_Server, Fallito, Rifiutato };

    Caricamento(Stato &stato, ServiziCaricamento &servizi, QObject *parent = nullptr);

    // 1.0 keeps the sequence's own fixed pauses; 0 drops them (tests, benchmarks).
    double Fattore_Pause = 1.0;
    int Timeout_Download_ms = 60000;
    int Timeout_Ultime_Barre_ms = 60000;

    // Phase 1. Refused while another loading runs.
    Esito Carica_Storici_Avvio();
    // Phase 2: only right after phase 1 (OFFLINE) or on the server's latest bars (ONLINE).
    Esito Carica_Dati_Avvio();

    Fase fase() const { return m_fase; }
    bool In_Corso() const { return m_fase != Fase::Inattiva; }
    QString Errore() const { return m_errore; }
    // Gives up a loading that cannot go on (the caller has told the user).
    void Annulla();

    static QString Messaggio_Comm(const QString &codice, int sottostante);

signals:
    // The server did not send the latest bars in time after phase 1.
    void Ultime_Barre_Mancanti(const QString &messaggio);

private:
    using Routine = bool (ServiziCaricamento::*)();

    bool Passo(int passo);
    // Runs the routines in turn up to the first that fails, whose reason it keeps.
    bool Esegui(std::initializer_list<Routine> routine);
    void Pausa(double secondi);
    Esito Fallisci();

    Stato &m_stato;
    ServiziCaricamento &m_servizi;
    Fase m_fase = Fase::Inattiva;
    QString m_errore;
    QTimer m_attesa;
};
