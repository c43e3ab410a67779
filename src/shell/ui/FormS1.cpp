#include "shell/ui/FormS1.h"

#include "archive/CreaArchivi.h"
#include "archive/ImpostazioniAvvio.h"
#include "archive/ScrittoreArchivio.h"
#include "cycle/SalvaParametro.h"
#include "market/ScrittoreStorico.h"
#include "market/StoricoLocale.h"
#include "platform/Percorsi.h"
#include "platform/Schermo.h"
#include "platform/Socket.h"
#include "shell/Pausa.h"
#include "shell/Variabili.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/AvvisiSalvataggio.h"
#include "shell/ui/GestoreMessaggi.h"
#include "shell/ui/PannelloAvvio.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace {

template <typename T>
T *crea(QWidget *padre, const char *nome)
{
    T *w = new T(padre);
    w->setObjectName(QLatin1String(nome));
    return w;
}

// The chat box, whose lines start below the server-text box lying on its upper
// edge, wherever the two are placed: the first line is never covered.
class CasellaChat : public QPlainTextEdit {
public:
    explicit CasellaChat(QWidget *padre) : QPlainTextEdit(padre)
    {
        // The band kept free takes the text's ground, not the window's.
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
        installEventFilter(this);
    }

    void Sotto(QWidget *casella)
    {
        m_sopra = casella;
        casella->installEventFilter(this);
        scosta();
    }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        const QEvent::Type t = evento->type();
        if ((oggetto == this || oggetto == m_sopra) &&
            (t == QEvent::Move || t == QEvent::Resize || t == QEvent::Show || t == QEvent::Hide))
            scosta();
        return QPlainTextEdit::eventFilter(oggetto, evento);
    }

private:
    void scosta()
    {
        int coperto = 0;
        if (m_sopra && !m_sopra->isHidden() && m_sopra->parentWidget() == parentWidget() &&
            m_sopra->geometry().intersects(geometry()))
            coperto = std::clamp(m_sopra->geometry().bottom() + 1 - y() - frameWidth(), 0, height() / 2);
        if (viewportMargins().top() != coperto)
            setViewportMargins(0, coperto, 0, 0);
    }

    QPointer<QWidget> m_sopra;
};

// A small window that says the program waits (its text in `testo`), with a busy bar: how
// long the disk or another program takes is not known. Shown by the caller once sized.
QWidget *finestraAttesa(QWidget *padre, const QString &nome, QLabel *&testo)
{
    auto *w = new QWidget(padre, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    w->setObjectName(QStringLiteral("Frm") + nome);
    w->setWindowTitle(QStringLiteral("Wavelore ®"));
    testo = new QLabel(w);
    testo->setObjectName(QStringLiteral("Lbl") + nome);
    testo->setTextFormat(Qt::PlainText);
    auto *barra = new QProgressBar(w);
    barra->setRange(0, 0);
    barra->setTextVisible(false);
    auto *colonna = new QVBoxLayout(w);
    colonna->addWidget(testo);
    colonna->addWidget(barra);
    return w;
}

}  // namespace

void UscitaFinestra::Richiesta_Chiusura() { m_form.Mostra_Messaggio(4, QString()); }

void UscitaFinestra::Scarica_Form_Msg() { m_form.Messaggi().Scarica_Form_Msg(); }

void UscitaFinestra::Mostra_Salvataggio(bool mostra)
{
    if (!mostra) {
        delete m_salvataggio;
        return;
    }
    if (m_salvataggio)
        return;
    QLabel *testo = nullptr;
    QWidget *w = finestraAttesa(&m_form, QStringLiteral("Salvataggio"), testo);
    testo->setText(QStringLiteral("Salvataggio dei dati in corso..."));
    w->adjustSize();
    w->move(m_form.geometry().center() - w->rect().center());
    w->show();
    m_salvataggio = w;
}

void UscitaFinestra::Avviso_Uscita(const QString &testo)
{
    if (!m_form.Uscita_Da_Segnale())
        finestra::Mostra_Avviso(Avviso::Critico, QStringLiteral("Wavelore ®"), testo, {}, &m_form);
}

FormS1::FormS1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormS1"));
    // The form's font, inherited by every control that sets none of its own.
    setFont(schermo::FontControlli());
    m_socket = new Socket(this);
    m_socket->setObjectName(QStringLiteral("Socket"));
    m_scrittore = new ScrittoreStorico(this);
    m_scrittoreArchivio = new ScrittoreArchivio(this);
    m_avvisiSalvataggio = new AvvisiSalvataggio({m_scrittore, m_scrittoreArchivio}, this);
    // A loading's read held up by a slow disk says what it waits for, over the window.
    archivio::Imposta_Avviso_Attesa([form = QPointer<FormS1>(this)](const QString &nome, bool inizio) {
        if (!form)
            return;
        delete form->m_attesaLettura;
        if (!inizio)
            return;
        QLabel *testo = nullptr;
        QWidget *w = finestraAttesa(form, QStringLiteral("AttesaLettura"), testo);
        testo->setText(QStringLiteral("Lettura di %1 in attesa del salvataggio in corso...").arg(nome));
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->adjustSize();
        w->move(form->geometry().center() - w->rect().center());
        w->show();
        form->m_attesaLettura = w;
    });
    m_messaggi = new GestoreMessaggi(m_stato.shell, this, [this] { Chiudi_Programma(); }, this);
    m_uscita = std::make_unique<UscitaFinestra>(*this);

    Frm_Avvio = new PannelloAvvio(this);
    Lbl_Link_1 = crea<QLabel>(this, "Lbl_Link_1");
    auto *chat = crea<CasellaChat>(this, "Text_Chat");
    Text_Chat = chat;
    Text_Chat->setReadOnly(true);
    // Design place in the working window, outside the start window.
    finestra::Piazza(Text_Chat, 120, 9600, 6000, 1200);
    Text_Desc_Server_Chat = crea<QLineEdit>(this, "Text_Desc_Server_Chat");
    Text_Desc_Server_Chat->setReadOnly(true);
    chat->Sotto(Text_Desc_Server_Chat);
    Text_Scritte_Graf = crea<QLineEdit>(this, "Text_Scritte_Graf");
    Cmd_Scrivi_Text_Graf = crea<QPushButton>(this, "Cmd_Scrivi_Text_Graf");
    Cmd_Chiudi_Text_Graf = crea<QPushButton>(this, "Cmd_Chiudi_Text_Graf");
    Frm_Dati_Sot = crea<QFrame>(this, "Frm_Dati_Sot");
    Frm_Tipo_Ciclo = crea<QFrame>(this, "Frm_Tipo_Ciclo");
    Frm_Battleplan = crea<QFrame>(this, "Frm_Battleplan");
    Frm_Storico = crea<QFrame>(this, "Frm_Storico");
    FrmCambioSott = crea<QFrame>(this, "FrmCambioSott");
    FrmCambioSott->hide();
    LblCambioSott = crea<QLabel>(FrmCambioSott, "LblCambioSott");
    PbCambioSott = crea<QProgressBar>(FrmCambioSott, "PbCambioSott");

    connect(Frm_Avvio->Chk_Ricordami, &QCheckBox::clicked, this, [this] { Chk_Ricordami_Click(); });
    connect(Frm_Avvio->Cmd_OnLine, &QPushButton::clicked, this, [this] { Cmd_OnLine_Click(); });
    connect(Frm_Avvio->Cmd_OffLine, &QPushButton::clicked, this, [this] { Cmd_OffLine_Click(); });
    connect(Frm_Avvio, &PannelloAvvio::Invio, this, [this] {
        if (Frm_Avvio->Cmd_OnLine->isEnabled())
            Cmd_OnLine_Click();
    });
}

FormS1::~FormS1() = default;

FasiAvvio &FormS1::Fasi_Avvio()
{
    // Before the working window gives its phases, or once it is gone: no loading.
    static struct : FasiAvvio {
        void Carica_Storici_Avvio() override {}
        void Carica_Dati_Avvio() override {}
    } nessuna;
    return m_fasi && (!m_fasiCustodite || m_custodeFasi) ? *m_fasi : nessuna;
}

void FormS1::Imposta_Uscita(std::unique_ptr<Uscita> uscita)
{
    if (uscita)
        m_uscita = std::move(uscita);
}

bool FormS1::Form_Load()
{
    StatoShell &sh = m_stato.shell;
    sh.Versione = QStringLiteral("2.52");
    sh.Cartella_Sistema = QStringLiteral("Sistema");
    sh.Cartella_Storici = QStringLiteral("Sistema");
    sh.Cartella_Immagini = QStringLiteral("Immagini");
    sh.Password_Archivi = QStringLiteral("6128374");
    sh.Cartella_Programma = percorsi::CartellaProgramma();
    Frm_Avvio->Lbl_Relase->setText(sh.Versione);

    // One copy per program folder: the lock is held for the whole run, and the
    // system lets it go when a copy ends, also when it dies.
    const QString blocco = sh.Cartella_Programma + QStringLiteral("/wavelore.lock");
    const QString nomeBlocco = QDir::toNativeSeparators(blocco);
    switch (m_istanza.Prendi(blocco)) {
    case BloccoIstanza::Esito::Preso:
        if (!m_istanza.Errore().isEmpty())
            finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore ®"),
                                    QStringLiteral("Il file di blocco %1 non può essere scritto: %2.")
                                        .arg(nomeBlocco, m_istanza.Errore()),
                                    QStringLiteral("Wavelore impedisce comunque l'apertura di una seconda sessione "
                                                   "in questa cartella."));
        break;
    case BloccoIstanza::Esito::Impossibile:
        // The system offers no lock here: say so, and go on unguarded.
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore ®"),
                                QStringLiteral("Impossibile creare il file di blocco nella cartella %1: "
                                               "non è possibile verificare se un'altra sessione di Wavelore è in uso.")
                                    .arg(QDir::toNativeSeparators(sh.Cartella_Programma)),
                                QStringLiteral("Motivo: %1.").arg(m_istanza.Errore()));
        break;
    case BloccoIstanza::Esito::Collegamento:
        // Opened, it would have the file it points to overwritten with the owner.
        QApplication::beep();
        finestra::Mostra_Avviso(Avviso::Critico, QStringLiteral("Wavelore ®"),
                                QStringLiteral("Il file di blocco %1 è un collegamento simbolico: Wavelore non lo "
                                               "apre, per non modificare il file a cui rimanda.")
                                        .arg(nomeBlocco)
                                    + QStringLiteral("\r\n\r\n")
                                    + QStringLiteral("Eliminare il collegamento e avviare di nuovo Wavelore."));
        return false;
    case BloccoIstanza::Esito::In_Uso:
        QApplication::beep();
        finestra::Mostra_Avviso(Avviso::Critico, QStringLiteral("Wavelore ®"),
                                QStringLiteral("Una sessione di Wavelore risulta essere già in uso.")
                                    + QStringLiteral("\r\n\r\n")
                                    + QStringLiteral("Non è possibile aprire una nuova istanza."),
                                QStringLiteral("File di blocco: %1").arg(nomeBlocco));
        return false;
    }

    sh.Blocco_Grafici = true;
    Imposta_Finestra_Avvio();
    if (!Prepara_Archivi())
        return false;
    // The lock is held: no other copy is saving beside the history files now.
    storico::Rimuovi_Temporanei_Storico();
    const archivio::LoginRicordato login = archivio::Carica_Impostazioni_Avvio(m_stato.archivio);
    if (login.Ricordami)
        Frm_Avvio->Chk_Ricordami->setChecked(true);
    if (login.ImpostaUserId)
        Frm_Avvio->Text_ID->setText(login.UserId);
    if (login.SvuotaPassword)
        Frm_Avvio->Text_Password->clear();
    return true;
}

namespace {

// "Sistema1.dat", "Sistema1.dat e Sistema3.dat".
QString Elenco_File(const QStringList &file)
{
    return file.size() < 2 ? file.join(QString())
                           : file.mid(0, file.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" e ") + file.last();
}

// Between two tries of the archive files another program holds, a small window over the
// screen says the start waits for them, and the events run so that it is drawn and moves.
class AttesaFinestra : public archivio::AttesaArchivi {
public:
    ~AttesaFinestra() override { delete m_finestra; }

    void Attendi(const QStringList &inUso, int ms) override
    {
        const QString testo = QStringLiteral("In attesa di %1, in uso da un altro programma...").arg(Elenco_File(inUso));
        if (!m_finestra)
            Mostra();
        m_testo->setText(testo);
        finestra::Pausa(ms / 1000.0);
    }

private:
    void Mostra()
    {
        QWidget *w = finestraAttesa(nullptr, QStringLiteral("AttesaArchivi"), m_testo);
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->layout()->setSizeConstraint(QLayout::SetNoConstraint);  // sized once, below
        // Room for the longest text it shows: every file named.
        m_testo->setText(QStringLiteral("In attesa di Sistema1.dat, Sistema2.dat e Sistema3.dat, "
                                        "in uso da un altro programma..."));
        w->adjustSize();
        if (const QScreen *schermo = QGuiApplication::primaryScreen())
            w->move(schermo->availableGeometry().center() - w->rect().center());
        w->show();
        m_finestra = w;
    }

    QPointer<QWidget> m_finestra;
    QLabel *m_testo = nullptr;
};

}  // namespace

bool FormS1::Prepara_Archivi()
{
    for (;;) {
        archivio::EsitoArchivi esito;
        {
            AttesaFinestra attesa;
            esito = archivio::Crea_Archivi(archivio::Attesa_Archivi_In_Uso_ms, &attesa);
        }
        // Each file's repairs apart: a notice for several files reads as several.
        if (!esito.Paragrafi.isEmpty())
            finestra::Mostra_Avviso(esito.Errori.isEmpty() ? Avviso::Attenzione : Avviso::Critico,
                                    QStringLiteral("Wavelore ®"), esito.Paragrafi.join(QStringLiteral("\n\n")));
        archivio::Avvisi_Mostrati(esito);
        if (esito.In_Uso.isEmpty())
            return true;
        // Held by another program: nothing of it was touched, and the start waits for the trader.
        const QStringList &file = esito.In_Uso;
        const QString testo =
            (file.size() == 1
                 ? QStringLiteral("%1 è in uso da un altro programma: Wavelore non può avviarsi finché non è libero.")
                       .arg(file[0])
                 : QStringLiteral("%1 sono in uso da un altro programma: Wavelore non può avviarsi "
                                  "finché non sono liberi.")
                       .arg(Elenco_File(file)))
            + QStringLiteral("\n\nChiudere l'altro programma e scegliere Riprova, oppure Esci.");
        const QString cartella = QDir::toNativeSeparators(percorsi::Cartella(QStringLiteral("Sistema")));
        if (!finestra::Mostra_Riprova(Avviso::Attenzione, QStringLiteral("Wavelore ®"), testo,
                                      QStringLiteral("Cartella: %1").arg(cartella)))
            return false;
    }
}

void FormS1::Imposta_Finestra_Avvio()
{
    Lbl_Link_1->hide();
    Text_Chat->hide();
    for (QWidget *w : {static_cast<QWidget *>(Text_Scritte_Graf), static_cast<QWidget *>(Cmd_Scrivi_Text_Graf),
                       static_cast<QWidget *>(Cmd_Chiudi_Text_Graf), static_cast<QWidget *>(Frm_Dati_Sot),
                       static_cast<QWidget *>(Frm_Tipo_Ciclo), static_cast<QWidget *>(Frm_Battleplan),
                       static_cast<QWidget *>(Frm_Storico)})
        w->hide();
    Imposta_Stile_Finestra(3);
    setWindowTitle(QStringLiteral(" Avvio Wavelore ®"));
    setFixedSize(schermo::TwipsInPixel(PannelloAvvio::Larghezza + 200),
                 schermo::TwipsInPixel(PannelloAvvio::Altezza + 550));
    finestra::Piazza(Frm_Avvio, 60, 50, PannelloAvvio::Larghezza, PannelloAvvio::Altezza);
    Frm_Avvio->show();
    for (QProgressBar *pb : {Frm_Avvio->PB_Avvio_T, PbCambioSott}) {
        pb->setMinimum(0);
        pb->setMaximum(100);
        pb->setValue(0);
    }
    Frm_Avvio->Lbl_Stato->setText(QStringLiteral("Non Connesso"));
    Frm_Avvio->Lbl_Link_0->setText(QStringLiteral("www.wavelore.example"));
    Text_Desc_Server_Chat->move(Text_Chat->x() + schermo::TwipsInPixel(100),
                                Text_Chat->y() - schermo::TwipsInPixel(100));
    Text_Desc_Server_Chat->raise();
}

void FormS1::Imposta_Stile_Finestra(int stile)
{
    m_stile = stile;
    if (stile == 3) {
        setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    }
}

void FormS1::Form_Activate()
{
    if (Frm_Avvio->isVisible() && Frm_Avvio->Text_ID->isEnabled())
        Frm_Avvio->Text_ID->setFocus(Qt::ActiveWindowFocusReason);
}

void FormS1::Command2_Click(int) {}

void FormS1::Chk_Ricordami_Click()
{
    QCheckBox *chk = Frm_Avvio->Chk_Ricordami;
    QString errore;
    if (!archivio::Salva_Dati_Login(chk->isChecked() ? 1 : 0, Frm_Avvio->Text_ID->text(),
                                    Frm_Avvio->Text_Password->text(), &errore)) {
        chk->setChecked(!chk->isChecked());  // the switch shows what the archive holds
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore ®"), ciclo::Errore_Salvataggio(errore));
    }
}

void FormS1::Cmd_OnLine_Click()
{
    emit Avvio_OnLine();
}

void FormS1::Cmd_OffLine_Click()
{
    Frm_Avvio->Cmd_OffLine->setEnabled(false);
    Frm_Avvio->Cmd_OnLine->setEnabled(false);
    m_stato.shell.Modalita = QStringLiteral("OFFLINE");
    finestra::Inizializza_Variabili(m_stato);
    Fasi_Avvio().Carica_Storici_Avvio();
    Fasi_Avvio().Carica_Dati_Avvio();
}

void FormS1::Mostra_Messaggio(int tipo, const QString &testo) { m_messaggi->Mostra_Messaggio(tipo, testo); }

void FormS1::Chiudi_Programma()
{
    if (!std::exchange(m_uscitaInCorso, true)) {
        // The exit's waits run every handler: none may act, ask or connect from here on.
        setEnabled(false);
        m_messaggi->Ferma();
        emit Uscita_Iniziata();
        finestra::Chiudi_Finestre_Modali();
    }
    finestra::Chiudi_Programma(m_stato.shell, *m_socket, *m_uscita, m_scrittore, m_scrittoreArchivio,
                               Attesa_Salvataggi_Uscita_ms);
}

void FormS1::Chiudi_Programma_Da_Segnale()
{
    m_daSegnale = true;
    Chiudi_Programma();
}

void FormS1::changeEvent(QEvent *evento)
{
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void FormS1::showEvent(QShowEvent *evento)
{
    QWidget::showEvent(evento);
    Form_Activate();
}

void FormS1::closeEvent(QCloseEvent *evento)
{
    // The window never closes by itself: the program ends only through Chiudi_Programma.
    evento->ignore();
    if (!m_uscitaInCorso && !m_messaggi->Form_Msg_Visibile())
        m_uscita->Richiesta_Chiusura();
}
