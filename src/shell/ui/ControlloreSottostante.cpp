// The change of underlying, from the online list or the offline options: the
// choice is stored, real time stops, the charts and quote boxes are cleared and
// the loading sequence runs for the new underlying. Offline it ends before the
// handler returns; online it ends when the server's latest bars have arrived.
// Until then the window stays disabled and the charts busy, so nothing of the
// old underlying (a late bar, a stale tick, a second change) reaches the new one.

#include "shell/ui/ControlloreSottostante.h"

#include "Stato.h"
#include "cycle/SalvaParametro.h"
#include "platform/Schermo.h"
#include "shell/Variabili.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>

ControlloreSottostante::ControlloreSottostante(Stato &stato, FormS1 &form, AreaGrafici &area,
                                               PannelloQuotazioni &quotazioni, RichiesteCambio &richieste,
                                               QObject *parent)
    : QObject(parent), m_stato(stato), m_form(form), m_area(area), m_quotazioni(quotazioni), m_richieste(richieste)
{
    setObjectName(QStringLiteral("ControlloreSottostante"));
    connect(m_quotazioni.Cmb_Sot, &QComboBox::activated, this, [this] {
        Cmb_Sot_Change();
        Cmb_Sot_Click();
    });
    connect(&m_quotazioni, &PannelloQuotazioni::Sottostante_Offline_Scelto, this,
            [this](int i) { Imposta_Sottostante_Offline(i); });
}

void ControlloreSottostante::Cmb_Sot_Change()
{
    Stato &stato = m_stato;
    QComboBox *cmb = m_quotazioni.Cmb_Sot;
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

void ControlloreSottostante::Cmb_Sot_Click()
{
    const int scelto = m_sottostanteScelto;
    m_sottostanteScelto = 0;
    if (scelto == 0)
        return;
    Stato &stato = m_stato;
    if (stato.shell.Blocco_Grafici || m_richieste.Caricamento_In_Corso()) {
        // Refused: the list shows again the underlying that is loaded.
        const QSignalBlocker blocco(m_quotazioni.Cmb_Sot);
        m_quotazioni.Cmb_Sot->setCurrentIndex(stato.archivio.Sottostante_Corrente - 1);
        return;
    }
    Cambia_Sottostante(scelto);
}

void ControlloreSottostante::Imposta_Sottostante_Offline(int index) { Cambia_Sottostante(index + 1); }

void ControlloreSottostante::Cambia_Sottostante(int sottostante)
{
    Stato &stato = m_stato;
    if (m_richieste.Caricamento_In_Corso() || stato.shell.Blocco_Grafici || m_cambioInCorso || sottostante < 1 ||
        sottostante > costanti::Num_Sottostanti)
        return;
    stato.archivio.Sottostante_Corrente = sottostante;
    m_cambioInCorso = true;
    m_richieste.Disabilita_Finestra();
    m_form.Frm_Tipo_Ciclo->setEnabled(false);
    m_form.Text_Desc_Server_Chat->setEnabled(false);
    m_form.Text_Chat->setEnabled(false);
    m_area.Text_Coord_Graf->hide();
    QString errore;
    if (!ciclo::Salva_Parametro(stato.shell, stato.archivio, stato.cicli, archivio::Codice_Modifica::Sottostante_Corrente,
                                0, &errore))
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), errore);
    stato.shell.RT_Bloccato = true;
    m_richieste.Ferma_Dati_RT();
    m_richieste.Cancella_Grafici();
    // Quotes still on their way belong to the old underlying: they show nothing.
    stato.shell.Blocco_Aggiornamento = true;
    stato.mercato.Text_Data_Ora.clear();
    stato.mercato.Text_Last.clear();
    stato.mercato.Ultimo_Prezzo.reset();
    stato.mercato.Text_Var.clear();
    stato.mercato.Text_Volume.clear();
    m_quotazioni.Aggiorna_Caselle();
    m_richieste.Chiudi_Storico();
    for (RiquadroGrafico *r : m_area.Frm_Graf) {
        r->Lbl_In_Caricamento->show();
        r->Lbl_In_Caricamento->raise();
    }
    m_richieste.Mostra_Pannello_Cambio();
    finestra::Inizializza_Variabili(stato);
    // Offline the whole loading runs inside this call, its end signal included;
    // online it goes on until phase 2 has run on the server's answer.
    m_avvioCambio = true;
    m_richieste.Carica_Sottostante();
    m_avvioCambio = false;
    if (!m_richieste.Caricamento_In_Corso())
        Fine_Cambio();
}

void ControlloreSottostante::Caricamento_Concluso()
{
    if (m_cambioInCorso && !m_avvioCambio && !m_richieste.Caricamento_In_Corso())
        Fine_Cambio();
}

void ControlloreSottostante::Fine_Cambio()
{
    m_cambioInCorso = false;
    m_stato.shell.Blocco_Aggiornamento = false;
    m_richieste.Abilita_Finestra();
    emit Cambio_Concluso();
}
