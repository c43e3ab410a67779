#include "shell/ui/Avvisi.h"
#include "shell/ui/SessioneFinestra.h"

#include "archive/ScrittoreArchivio.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/SalvaParametro.h"
#include "cycle/TempiFuturi.h"
#include "drawing/OggettiGrafici.h"
#include "market/RigaChat.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Schermo.h"
#include "shell/Variabili.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvio.h"
#include "indicators/MotoreIndicatori.h"
#include "shell/Pausa.h"
#include "shell/ui/ControlloreCaricamento.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/ControlloreTempoReale.h"
#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/GestoreMessaggi.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

namespace {

Avviso IconaBox(AzioniSessione::Icona i)
{
    switch (i) {
    case AzioniSessione::Critica:
        return Avviso::Critico;
    case AzioniSessione::DomandaIcona:
        return Avviso::Domanda;
    default:
        return Avviso::Nessuna;
    }
}

QString TitoloBox(const QString &titolo)
{
    return titolo.isEmpty() ? QString::fromLatin1(wavelore::Titolo_Applicazione) : titolo;
}

// The reconnection notice, placed with its right and bottom edges on the chart
// area's centre lines.
QLabel *AvvisoRiconnessione(FormS1 &form)
{
    QWidget *area = form.Frm_Battleplan ? static_cast<QWidget *>(form.Frm_Battleplan) : &form;
    auto *avviso = area->findChild<QLabel *>(QStringLiteral("FrmRiconnessione"));
    if (!avviso) {
        avviso = new QLabel(QStringLiteral("Riconnessione al Server in corso..."), area);
        avviso->setObjectName(QStringLiteral("FrmRiconnessione"));
        avviso->setTextFormat(Qt::PlainText);
        avviso->setFrameShape(QFrame::Box);
        avviso->setAlignment(Qt::AlignCenter);
        avviso->setAutoFillBackground(true);
        avviso->resize(avviso->sizeHint() + QSize(40, 24));
        avviso->hide();
    }
    avviso->move(std::max(0, area->width() / 2 - avviso->width()), std::max(0, area->height() / 2 - avviso->height()));
    return avviso;
}

// The user code and name labels, in the free corner of the underlying panel.
QLabel *EtichettaUtente(FormS1 &form, const char *nome, double top)
{
    QWidget *pannello = form.Frm_Dati_Sot ? static_cast<QWidget *>(form.Frm_Dati_Sot) : &form;
    auto *l = pannello->findChild<QLabel *>(QLatin1String(nome));
    if (!l) {
        l = new QLabel(pannello);
        l->setObjectName(QLatin1String(nome));
        l->setTextFormat(Qt::PlainText);
        finestra::Piazza(l, 100, top, 1150, 250);
    }
    return l;
}

// What the session shows or asks, answered by the window's controls. The session
// owns it (it is the session's child).
class AzioniFinestra : public QObject, public AzioniSessione {
public:
    AzioniFinestra(FormS1 &form, FinestraOperativa &finestra) : m_form(form), m_finestra(finestra), m_s(form.S()) {}

    void Imposta_Lbl_Stato(const QString &testo) override { m_form.Frm_Avvio->Lbl_Stato->setText(testo); }
    void Imposta_Text_Stato(const QString &testo) override
    {
        if (!m_finestra.Quotazioni())
            return;
        QLineEdit *stato = m_finestra.Quotazioni()->Text_Stato;
        stato->setText(testo);
        stato->home(false);  // a status too long shows its start
    }
    void Abilita_Pulsanti(bool abilitati) override
    {
        m_form.Frm_Avvio->Cmd_OnLine->setEnabled(abilitati);
        m_form.Frm_Avvio->Cmd_OffLine->setEnabled(abilitati);
    }
    void Mostra_Utente(const QString &codice, const QString &descrizione) override
    {
        EtichettaUtente(m_form, "Lbl_Cod_Utente", 2750)->setText(codice);
        EtichettaUtente(m_form, "Lbl_Desc_Utente", 3030)->setText(descrizione);
    }
    void Aggiorna_Caselle(bool ultimo) override
    {
        if (m_finestra.Quotazioni())
            m_finestra.Quotazioni()->Aggiorna_Caselle();
        if (ultimo)
            m_finestra.Tempo_Reale().Text_Last_Change();
    }
    void Lampeggia_Led_RT() override
    {
        if (!m_finestra.Quotazioni())
            return;
        m_ledAcceso = !m_ledAcceso;
        const ColoreWin spento = schermo::DaColore(m_form.palette().color(QPalette::Window));
        m_finestra.Quotazioni()->Colore_Led_RT(m_ledAcceso ? 0x00FF00u : spento);
    }
    void Mostra_Messaggio_Chat(const QString &testo) override
    {
        QApplication::beep();
        QPlainTextEdit *chat = m_form.Text_Chat;
        if (!chat)
            return;
        chat->moveCursor(QTextCursor::End);
        chat->insertPlainText(protocollo::Riga_Chat(testo) + QLatin1Char('\n'));
        chat->moveCursor(QTextCursor::End);
        chat->ensureCursorVisible();
    }
    void Beep() override { QApplication::beep(); }
    void Messaggio(Icona icona, const QString &titolo, const QString &testo) override
    {
        finestra::Mostra_Avviso(IconaBox(icona), TitoloBox(titolo), testo, {}, &m_form);
    }
    bool Domanda(Icona icona, const QString &titolo, const QString &testo) override
    {
        return finestra::Mostra_Domanda(IconaBox(icona), TitoloBox(titolo), testo, &m_form);
    }
    void Mostra_Messaggio(int tipo, const QString &testo) override { m_form.Mostra_Messaggio(tipo, testo); }
    bool Form_Msg_Visibile() const override { return m_form.Messaggi().Form_Msg_Visibile(); }
    void Mostra_Riconnessione(bool mostra) override
    {
        QLabel *avviso = AvvisoRiconnessione(m_form);
        if (avviso->isHidden() != mostra)
            return;  // the window's enabled count must stay balanced
        avviso->setVisible(mostra);
        if (mostra) {
            avviso->raise();
            m_finestra.Blocco().Disabilita_Finestra();
        } else {
            m_finestra.Blocco().Abilita_Finestra();
        }
    }
    void Mostra_Avanzamento_Avvio(int passo) override { m_finestra.Caricamento_Avvio().Mostra_Avanzamento_Avvio(passo); }
    void Pausa(double secondi) override { finestra::Pausa(secondi); }
    void Salva_Dati_Login() override { m_form.Chk_Ricordami_Click(); }
    void Inizializza_Variabili() override { finestra::Inizializza_Variabili(m_s); }
    // Through the form's loading hooks, as the offline start goes.
    void Carica_Storici_Avvio() override
    {
        m_form.Fasi_Avvio().Carica_Storici_Avvio();
    }
    void Carica_Dati_Avvio() override
    {
        m_form.Fasi_Avvio().Carica_Dati_Avvio();
        // The reload after a reconnection is over.
        QLabel *avviso = m_form.Frm_Battleplan
                             ? m_form.Frm_Battleplan->findChild<QLabel *>(QStringLiteral("FrmRiconnessione"))
                             : nullptr;
        if (avviso && !avviso->isHidden()) {
            avviso->hide();
            m_finestra.Blocco().Abilita_Finestra();
        }
    }
    void Chiudi_Programma() override { m_form.Chiudi_Programma(); }
    void Accendi_Led_Storico_RT() override { m_finestra.Tempo_Reale().Accendi_Led_Storico_RT(); }
    void Dopo_Fusione_RT(const fusione::EsitoFusioneRT &esito) override;

private:
    FormS1 &m_form;
    FinestraOperativa &m_finestra;
    Stato &m_s;
    bool m_ledAcceso = false;
};

void AzioniFinestra::Dopo_Fusione_RT(const fusione::EsitoFusioneRT &esito)
{
    Stato &s = m_s;
    ciclo::Avanza_Barre_Ciclo(s.cicli, esito);
    // The drawing objects stay on their bars, also where the cycle position is at its cap.
    std::array<int, costanti::Num_Gradi> nuoveBarre{};
    for (int d = 0; d <= costanti::Max_Grado; ++d)
        nuoveBarre[size_t(d)] = esito.Nuova[size_t(fusione::TimeframeGrado(d))] ? 1 : 0;
    disegno::Riallinea_Disegni(s.cicli, s.disegno, nuoveBarre);
    for (int d = 0; d <= costanti::Max_Grado; ++d)
        ciclo::Calcola_Data_Inizio_Ciclo(s.cicli, s.mercato, d);
    if (AreaGrafici *area = m_finestra.Area()) {
        s.shell.Blocco_Aggiornamento = true;
        for (int slot = 0; slot < costanti::Num_Slot; ++slot) {
            const SlotGrafico &g = s.cicli.Conf_Grafici[size_t(slot)];
            BarraScorrimento *barra = area->Hsc_Graf(slot);
            if (g.in_uso != 1 || !barra || !esito.Nuova[size_t(fusione::TimeframeGrado(g.grado))])
                continue;
            if (barra->Valore() < barra->Estremo_Alto())
                barra->Imposta_Valore(barra->Valore() + 1);
        }
        s.shell.Blocco_Aggiornamento = false;
    }
    // Every degree's start, taken now and written as one batch off the window thread.
    archivio::Lotto salvataggi;
    for (int d = 0; d <= costanti::Max_Grado; ++d)
        if (auto voce = ciclo::Voce_Parametro(s.shell, s.archivio, s.cicli, archivio::Codice_Modifica::Inizio_Ciclo, d))
            salvataggi.push_back(std::move(*voce));
    m_form.Scrittore_Archivio().Accoda(std::move(salvataggi));
    m_finestra.Motore().Aggiorna_Indicatori_Grafici();
    m_finestra.Ridisegno().Imposta_Titoli_Grafici();
    ciclo::Calcola_Tempi_Futuri(s.cicli, s.mercato);
}

}  // namespace

namespace finestra {

SessioneQuotazioni *Prepara_Sessione_Online(FormS1 &form, FinestraOperativa &finestra)
{
    Stato &s = form.S();
    PannelloAvvio *avvio = form.Frm_Avvio;
    // Each line ends with a break, so the box holds one empty block after the last.
    if (form.Text_Chat)
        form.Text_Chat->setMaximumBlockCount(Righe_Chat + 1);
    auto *azioni = new AzioniFinestra(form, finestra);
    auto *sessione =
        new SessioneQuotazioni(s.shell, s.archivio, s.mercato, *azioni, &form, &form.Sock(), &form.Scrittore());
    azioni->setParent(sessione);
    finestra.Collega_Sessione(sessione);
    QObject::connect(&form, &FormS1::Uscita_Iniziata, sessione, &SessioneQuotazioni::Ferma_Per_Uscita);
    QObject::connect(&form, &FormS1::Avvio_OnLine, sessione, [avvio, sessione] {
        sessione->Cmd_OnLine_Click(avvio->Text_ID->text(), avvio->Text_Password->text(),
                                   avvio->Chk_Ricordami->isChecked());
    });
    return sessione;
}

}  // namespace finestra
