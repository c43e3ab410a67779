#pragma once

// The main window. It owns the session state and the socket, starts as the small
// start window (login panel alone) and is turned into the working window by the
// loading sequence. Panels live in their own classes; the controls keep the names
// the rest of the program knows them by, as members and as objectName.

#include "Stato.h"
#include "platform/BloccoIstanza.h"
#include "shell/Uscita.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class AvvisiSalvataggio;
class GestoreMessaggi;
class PannelloAvvio;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class ScrittoreArchivio;
class ScrittoreStorico;
class Socket;

// The loading phases the start window starts, carried out by the working window.
class FasiAvvio {
public:
    virtual ~FasiAvvio() = default;
    virtual void Carica_Storici_Avvio() = 0;  // loading phase 1
    virtual void Carica_Dati_Avvio() = 0;     // loading phase 2
};

class FormS1;

// The program's exit: the closing confirmation (message 4), the message windows closed.
class UscitaFinestra : public Uscita {
public:
    explicit UscitaFinestra(FormS1 &form) : m_form(form) {}
    void Richiesta_Chiusura() override;
    void Scarica_Form_Msg() override;
    // Nothing more: Chiudi_Programma ends the process right after.
    void Termina(int) override {}
    // A small window over the form, "Salvataggio dei dati in corso...", not modal.
    void Mostra_Salvataggio(bool mostra) override;
    // A notice; after a signal only standard error has it, since nobody may be there to answer.
    void Avviso_Uscita(const QString &testo) override;

private:
    FormS1 &m_form;
    QPointer<QWidget> m_salvataggio;
};

class FormS1 : public QWidget {
    Q_OBJECT
public:
    explicit FormS1(QWidget *parent = nullptr);
    ~FormS1() override;

    Stato &S() { return m_stato; }
    Socket &Sock() { return *m_socket; }
    // The writer of the local history files; the exit waits for it.
    ScrittoreStorico &Scrittore() { return *m_scrittore; }
    // The writer of the archive files, every save goes through (the trader's, the ones
    // made on their own); a loading reads what it holds laid over the files, the exit
    // waits for it.
    ScrittoreArchivio &Scrittore_Archivio() { return *m_scrittoreArchivio; }
    // The notices about saving, one open at a time, whichever writer failed.
    AvvisiSalvataggio &Avvisi_Salvataggio() { return *m_avvisiSalvataggio; }
    GestoreMessaggi &Messaggi() { return *m_messaggi; }

    // Start of the program. false when another copy already runs in the same
    // program folder (the refusal has been shown), or when the trader chose to leave
    // while an archive file was in use: this copy must end at once.
    bool Form_Load();
    void Imposta_Finestra_Avvio();
    void Form_Activate();
    void Command2_Click(int index);

    void Chk_Ricordami_Click();
    void Cmd_OnLine_Click();
    void Cmd_OffLine_Click();

    void Mostra_Messaggio(int tipo, const QString &testo);
    // The exit. Before anything waits, everything else stops for good (Uscita_Iniziata):
    // the window takes no more input, no message window opens, every box still open is
    // closed. Called again while it runs, it carries the same exit on.
    [[noreturn]] void Chiudi_Programma();
    // SIGTERM or SIGHUP (a logout): the exit as the close's Yes gives it, without the
    // question and with no notice at its end. During an exit already running it carries
    // that one on: the process ends once nothing is left to write, or at its bound.
    [[noreturn]] void Chiudi_Programma_Da_Segnale();
    bool Uscita_Da_Segnale() const { return m_daSegnale; }
    // How long the exit waits for the writers at most; tests shorten it.
    int Attesa_Salvataggi_Uscita_ms = finestra::Attesa_Salvataggi_Uscita_ms;

    // The loading phases, set by the working window (not owned; nothing until set).
    // With `custode`, they are dropped once that object is gone: a controller that
    // dies with the form never has to reach back into a form half destroyed.
    void Imposta_Fasi_Avvio(FasiAvvio *fasi, QObject *custode = nullptr)
    {
        m_fasi = fasi;
        m_custodeFasi = custode;
        m_fasiCustodite = custode != nullptr;
    }
    FasiAvvio &Fasi_Avvio();
    // How the process ends and what closing the window asks; by default the closing
    // confirmation and the message windows closed. Tests replace it.
    void Imposta_Uscita(std::unique_ptr<Uscita> uscita);

    // Start panel and the panels of the working window (empty until their owners fill them).
    PannelloAvvio *Frm_Avvio;
    QLabel *Lbl_Link_1;
    QPlainTextEdit *Text_Chat;
    QLineEdit *Text_Desc_Server_Chat;
    QLineEdit *Text_Scritte_Graf;
    QPushButton *Cmd_Scrivi_Text_Graf;
    QPushButton *Cmd_Chiudi_Text_Graf;
    QFrame *Frm_Dati_Sot;
    QFrame *Frm_Tipo_Ciclo;
    QFrame *Frm_Battleplan;
    QFrame *Frm_Storico;
    QFrame *FrmCambioSott;
    QLabel *LblCambioSott;
    QProgressBar *PbCambioSott;

    // Window style: 3 the compact fixed start window, 2 the resizable working window.
    void Imposta_Stile_Finestra(int stile);
    int Stile_Finestra() const { return m_stile; }

signals:
    // The user asked for the login and connection.
    void Avvio_OnLine();
    // The exit has begun: whatever could still act (the quote session, the window's
    // timers) stops for good, at once.
    void Uscita_Iniziata();

protected:
    void changeEvent(QEvent *evento) override;
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    // Sets up the archive files; what was repaired is told to the user. While another
    // program holds one, the user retries or leaves: false then.
    bool Prepara_Archivi();

    Stato m_stato;
    Socket *m_socket;
    ScrittoreStorico *m_scrittore;
    ScrittoreArchivio *m_scrittoreArchivio;
    AvvisiSalvataggio *m_avvisiSalvataggio;
    bool m_uscitaInCorso = false;
    bool m_daSegnale = false;
    GestoreMessaggi *m_messaggi;
    BloccoIstanza m_istanza;
    std::unique_ptr<Uscita> m_uscita;
    FasiAvvio *m_fasi = nullptr;
    QPointer<QObject> m_custodeFasi;
    QPointer<QWidget> m_attesaLettura;  // a read waiting for a write under way, told
    bool m_fasiCustodite = false;
    int m_stile = 3;
};
