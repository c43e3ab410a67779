// The change of underlying, from the online list or the offline options: the
// choice is stored, real time stops, the charts and quote boxes are cleared and
// the loading sequence runs for the new underlying. Offline it ends before the
// handler returns; online it ends when the server's latest bars have arrived.
// Until then the window stays disabled and the charts busy, so nothing of the
// old underlying (a late bar, a stale tick, a second change) reaches the new one.

#include "Stato.h"
#include "cycle/SalvaParametro.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Schermo.h"
#include "shell/Variabili.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>

void FinestraOperativa::Cmb_Sot_Change()
{
    Stato &stato = m_form.S();
    QComboBox *cmb = m_quotazioni->Cmb_Sot;
    m_sottostanteScelto = 0;
    int trovato = 0;
    for (int i = 1; i <= costanti::Num_Sottostanti && trovato == 0; ++i)
        if (cmb->currentText() == stato.archivio.Tab_Sottostanti[size_t(i)].Nome)
            trovato = i;
    if (trovato == 0) {
        const QSignalBlocker blocco(cmb);
        cmb->setCurrentText(stato.cicli.Sottostante);
        return;
    }
    if (trovato != stato.archivio.Sottostante_Corrente)
        m_sottostanteScelto = trovato;
}

void FinestraOperativa::Cmb_Sot_Click()
{
    const int scelto = m_sottostanteScelto;
    m_sottostanteScelto = 0;
    if (scelto == 0)
        return;
    Stato &stato = m_form.S();
    if (stato.shell.Blocco_Grafici || m_caricamento->In_Corso()) {
        // Refused: the list shows again the underlying that is loaded.
        const QSignalBlocker blocco(m_quotazioni->Cmb_Sot);
        m_quotazioni->Cmb_Sot->setCurrentIndex(stato.archivio.Sottostante_Corrente - 1);
        return;
    }
    Cambia_Sottostante(scelto);
}

void FinestraOperativa::Imposta_Sottostante_Offline(int index) { Cambia_Sottostante(index + 1); }

void FinestraOperativa::Cambia_Sottostante(int sottostante)
{
    Stato &stato = m_form.S();
    if (m_caricamento->In_Corso() || stato.shell.Blocco_Grafici || m_cambioInCorso || sottostante < 1 ||
        sottostante > costanti::Num_Sottostanti)
        return;
    stato.archivio.Sottostante_Corrente = sottostante;
    m_cambioInCorso = true;
    Disabilita_Finestra();
    m_form.Frm_Tipo_Ciclo->setEnabled(false);
    m_form.Text_Desc_Server_Chat->setEnabled(false);
    m_form.Text_Chat->setEnabled(false);
    m_area->Text_Coord_Graf->hide();
    QString errore;
    if (!ciclo::Salva_Parametro(stato.shell, stato.archivio, stato.cicli, archivio::Codice_Modifica::Sottostante_Corrente,
                                0, &errore))
        Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), errore);
    stato.shell.RT_Bloccato = true;
    if (m_sessione) {
        m_sessione->Ferma_Watchdog();
        m_sessione->Blocca_Dati_RT_Dal_Server();
    }
    Cancella_Grafici();
    // Quotes still on their way belong to the old underlying: they show nothing.
    stato.shell.Blocco_Aggiornamento = true;
    stato.mercato.Text_Data_Ora.clear();
    stato.mercato.Text_Last.clear();
    stato.mercato.Ultimo_Prezzo.reset();
    stato.mercato.Text_Var.clear();
    stato.mercato.Text_Volume.clear();
    m_quotazioni->Aggiorna_Caselle();
    m_form.Frm_Storico->hide();
    Imposta_Layout_Senza_Storico();
    Imposta_Layout_Ridotto();
    for (RiquadroGrafico *r : m_area->Frm_Graf) {
        r->Lbl_In_Caricamento->show();
        r->Lbl_In_Caricamento->raise();
    }
    // Right and bottom edges on the chart frame's centre lines.
    const QRect f = m_form.Frm_Battleplan->geometry();
    const QSize cambio = m_form.FrmCambioSott->size();
    m_form.FrmCambioSott->move(f.x() + f.width() / 2 - cambio.width(), f.y() + f.height() / 2 - cambio.height());
    m_form.FrmCambioSott->show();
    m_form.FrmCambioSott->raise();
    Inizializza_Variabili(stato);
    const Caricamento::Esito e = m_caricamento->Carica_Storici_Avvio();
    Esito_Fase(e);
    if (e == Caricamento::Esito::Completato && stato.shell.Modalita == QLatin1String("OFFLINE"))
        Carica_Dati_Avvio();
    Fine_Cambio();
}

void FinestraOperativa::Fine_Cambio()
{
    // Online the change goes on until phase 2 has run on the server's answer.
    if (!m_cambioInCorso || m_caricamento->In_Corso())
        return;
    m_cambioInCorso = false;
    m_form.S().shell.Blocco_Aggiornamento = false;
    Abilita_Finestra();
}
