#include "market/ui/SessioneFinestra.h"

#include "archive/ParametriCicli.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/TempiFuturi.h"
#include "drawing/OggettiGrafici.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Schermo.h"
#include "shell/Variabili.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvio.h"
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
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

namespace {

QMessageBox::Icon IconaBox(AzioniSessione::Icona i)
{
    switch (i) {
    case AzioniSessione::Critica:
        return QMessageBox::Critical;
    case AzioniSessione::DomandaIcona:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

// Server and user text is always plain text.
int Box(QWidget *padre, AzioniSessione::Icona icona, const QString &titolo, const QString &testo,
        QMessageBox::StandardButtons pulsanti)
{
    const QString titoloBox = titolo.isEmpty() ? QString::fromLatin1(wavelore::Titolo_Applicazione) : titolo;
    QMessageBox box(IconaBox(icona), titoloBox, testo, pulsanti, padre);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
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
        Piazza(l, 100, top, 1150, 250);
    }
    return l;
}

}  // namespace

SessioneQuotazioni *Prepara_Sessione_Online(FormS1 &form, FinestraOperativa &finestra)
{
    Stato &s = form.S();
    PannelloAvvio *avvio = form.Frm_Avvio;
    AzioniSessione a;
    a.Imposta_Lbl_Stato = [avvio](const QString &t) { avvio->Lbl_Stato->setText(t); };
    a.Imposta_Text_Stato = [&finestra](const QString &t) {
        if (finestra.Quotazioni())
            finestra.Quotazioni()->Text_Stato->setText(t);
    };
    a.Abilita_Pulsanti = [avvio](bool b) {
        avvio->Cmd_OnLine->setEnabled(b);
        avvio->Cmd_OffLine->setEnabled(b);
    };
    a.Mostra_Utente = [&form](const QString &codice, const QString &descrizione) {
        EtichettaUtente(form, "Lbl_Cod_Utente", 2750)->setText(codice);
        EtichettaUtente(form, "Lbl_Desc_Utente", 3030)->setText(descrizione);
    };
    a.Aggiorna_Caselle = [&finestra](bool ultimo) {
        if (finestra.Quotazioni())
            finestra.Quotazioni()->Aggiorna_Caselle();
        if (ultimo)
            finestra.Text_Last_Change();
    };
    a.Lampeggia_Led_RT = [&form, &finestra, acceso = std::make_shared<bool>(false)] {
        if (!finestra.Quotazioni())
            return;
        *acceso = !*acceso;
        finestra.Quotazioni()->Colore_Led_RT(*acceso ? 0x00FF00u : schermo::DaColore(form.palette().color(QPalette::Window)));
    };
    // Each line ends with a break, so the box holds one empty block after the last.
    if (form.Text_Chat)
        form.Text_Chat->setMaximumBlockCount(Righe_Chat + 1);
    a.Mostra_Messaggio_Chat = [&form](const QString &t) {
        QApplication::beep();
        if (!form.Text_Chat)
            return;
        form.Text_Chat->moveCursor(QTextCursor::End);
        form.Text_Chat->insertPlainText(t + QLatin1Char('\n'));
        form.Text_Chat->moveCursor(QTextCursor::End);
        form.Text_Chat->ensureCursorVisible();
    };
    a.Beep = [] { QApplication::beep(); };
    a.Messaggio = [&form](AzioniSessione::Icona i, const QString &titolo, const QString &testo) {
        Box(&form, i, titolo, testo, QMessageBox::Ok);
    };
    a.Domanda = [&form](AzioniSessione::Icona i, const QString &titolo, const QString &testo) {
        return Box(&form, i, titolo, testo, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    a.Mostra_Messaggio = [&form](int tipo, const QString &testo) { form.Mostra_Messaggio(tipo, testo); };
    a.Form_Msg_Visibile = [&form] { return form.Messaggi().Form_Msg_Visibile(); };
    a.Mostra_Riconnessione = [&form, &finestra](bool mostra) {
        QLabel *avviso = AvvisoRiconnessione(form);
        if (avviso->isHidden() != mostra)
            return;  // the window's enabled count must stay balanced
        avviso->setVisible(mostra);
        if (mostra) {
            avviso->raise();
            finestra.Disabilita_Finestra();
        } else {
            finestra.Abilita_Finestra();
        }
    };
    a.Mostra_Avanzamento_Avvio = [&finestra](int passo) { finestra.Mostra_Avanzamento_Avvio(passo); };
    a.Pausa = [&finestra](double secondi) { finestra.Pausa(secondi); };
    a.Salva_Dati_Login = [&form] { form.Chk_Ricordami_Click(); };
    a.Inizializza_Variabili = [&s] { Inizializza_Variabili(s); };
    a.Carica_Storici_Avvio = [&finestra] { finestra.Carica_Storici_Avvio(); };
    a.Carica_Dati_Avvio = [&form, &finestra] {
        finestra.Carica_Dati_Avvio();
        // The reload after a reconnection is over.
        QLabel *avviso = form.Frm_Battleplan ? form.Frm_Battleplan->findChild<QLabel *>(QStringLiteral("FrmRiconnessione"))
                                             : nullptr;
        if (avviso && !avviso->isHidden()) {
            avviso->hide();
            finestra.Abilita_Finestra();
        }
    };
    a.Chiudi_Programma = [&form] { form.Chiudi_Programma(); };
    a.Accendi_Led_Storico_RT = [&s, &finestra] {
        // Only the slots in use show that a bar was merged.
        if (AreaGrafici *area = finestra.Area()) {
            for (int slot = 0; slot < costanti::Num_Slot; ++slot) {
                RiquadroGrafico *r = area->Frm_Graf[size_t(slot)];
                if (r && s.cicli.Conf_Grafici[size_t(slot)].in_uso == 1)
                    r->Colore_Led(s.cicli.Colori[21]);
            }
        }
        finestra.Arma_Timer_Agg_RT();
    };
    a.Dopo_Fusione_RT = [&s, &finestra](const fusione::EsitoFusioneRT &esito) {
        // The drawing objects stay on their bars, also where the cycle position is at its cap.
        std::array<int, costanti::Num_Gradi> nuoveBarre{};
        for (int d = 0; d <= costanti::Max_Grado; ++d)
            nuoveBarre[size_t(d)] = esito.Nuova[size_t(fusione::TimeframeGrado(d))] ? 1 : 0;
        disegno::Riallinea_Disegni(s, nuoveBarre);
        for (int d = 0; d <= costanti::Max_Grado; ++d)
            ciclo::Calcola_Data_Inizio_Ciclo(s.cicli, s.mercato, d);
        if (AreaGrafici *area = finestra.Area()) {
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
        for (int d = 0; d <= costanti::Max_Grado; ++d) {
            s.archivio.Codice_Modifica = QStringLiteral("P");
            archivio::Salva_Parametro(s, d);
        }
        finestra.Motore().Aggiorna_Indicatori_Grafici();
        finestra.Imposta_Titoli_Grafici();
        ciclo::Calcola_Tempi_Futuri(s.cicli, s.mercato);
    };

    auto *sessione = new SessioneQuotazioni(s, std::move(a), &form, &form.Sock());
    finestra.Collega_Sessione(sessione);
    form.Avvio_OnLine = [avvio, sessione] {
        sessione->Cmd_OnLine_Click(avvio->Text_ID->text(), avvio->Text_Password->text(),
                                   avvio->Chk_Ricordami->isChecked());
    };
    return sessione;
}
