#pragma once

// The loading sequence of a start or a change of underlying, phase 1 (current
// underlying, formats, colours, key table, price history) and phase 2 (archive
// settings, cycle model, drawing objects, indicators, charts, working window),
// free of widgets: every routine it runs is reached through ServiziCaricamento,
// which the main window implements and tests replace with a recorder.

#include <QObject>
#include <QString>
#include <QTimer>

struct Stato;

// The routines the sequence runs, in the names the rest of the program knows them by.
enum class Servizio {
    // phase 1
    Carica_Sottostante_Corrente,
    Imposta_Formati_Locali,
    Imposta_Colori,
    Inizializza_Tabella_Chiave,
    Carica_Storico_Da_Server,
    Inizializza_Tab_Sottostanti,
    Carica_Storico_Offline,
    // phase 2
    Aggiorna_Ultime_Barre_Storico,
    Salva_Storico_5M,
    Salva_Storico_15M,
    Salva_Storico_1H,
    Salva_Storico_1D,
    Inizializza_Tabelle_Cicli,
    Carica_Parametri,
    Carica_Indicatori,
    Carica_Impostazioni_Sottostante,
    Calcola_Tempi_Futuri,
    Carica_Linee,
    Carica_Testi,
    Carica_Distanze,
    Carica_Combo,
    Inizializza_Chk_Battl,
    Aggiorna_Etichette_Gradi,
    Calcola_Battleplan_Tutti,
    Aggiorna_Indicatori_Grafici,
    Disegna_Grafici,
    Imposta_Titolo_Finestra,
    Imposta_Pannelli_Modalita,
    Imposta_Layout_Oggetti_Graf,
    Imposta_Layout_Senza_Storico,
    Imposta_Layout_Ridotto,
    Imposta_Opzione_Grafici,
    Imposta_Titoli_Grafici,
    Imposta_Colori_Controlli,
    Ferma_Timer,                 // the three one-shot timers off, Timer_Indicatori to 1200 ms
    Richiesta_Dati_RT_Al_Server,
    Apri_Finestra_Operativa,     // change panel hidden, cycle panel enabled, degree boxes, chat, banners
};

QString Nome_Servizio(Servizio s);

class ServiziCaricamento {
public:
    virtual ~ServiziCaricamento() = default;
    // false when the routine failed; Errore() then says why, or is empty when the
    // routine has already told the user itself.
    virtual bool Esegui(Servizio s) = 0;
    virtual QString Errore() const { return {}; }
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
    bool Passo(int passo);
    bool Esegui(Servizio s);
    void Pausa(double secondi);
    Esito Fallisci();

    Stato &m_stato;
    ServiziCaricamento &m_servizi;
    Fase m_fase = Fase::Inattiva;
    QString m_errore;
    QTimer m_attesa;
};
