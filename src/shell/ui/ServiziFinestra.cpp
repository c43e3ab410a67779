#include "shell/ui/ServiziFinestra.h"

#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/StrumentiFinestra.h"

#include "Stato.h"
#include "archive/ArchivioIndicatori.h"
#include "archive/ImpostazioniAvvio.h"
#include "archive/ParametriCicli.h"
#include "archive/TabSottostanti.h"
#include "cycle/BarreGrafico.h"
#include "cycle/Battleplan.h"
#include "cycle/Colori.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/TempiFuturi.h"
#include "drawing/OggettiGrafici.h"
#include "indicators/ImpostazioniIndicatori.h"
#include "market/SessioneQuotazioni.h"
#include "market/StoricoLocale.h"
#include "platform/Socket.h"
#include "shell/FormatiLocali.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/ControlliCiclo.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

bool Salva(Stato &stato, const QString &tf)
{
    const storico::Esito e = storico::Salva_Storico(stato.mercato, stato.archivio.Sottostante_Corrente, tf);
    if (!e.ok)
        Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"),
                      QStringLiteral("Storico locale %1 non salvato: ").arg(tf) + e.errore);
    return e.ok;
}

}  // namespace

bool ServiziFinestra::Esegui(Servizio s)
{
    FinestraOperativa &f = m_finestra;
    FormS1 &form = f.Form();
    Stato &stato = form.S();
    m_errore.clear();
    switch (s) {
    case Servizio::Carica_Sottostante_Corrente:
        archivio::Carica_Sottostante_Corrente(stato.archivio);
        return true;
    case Servizio::Imposta_Formati_Locali:
        Imposta_Formati_Locali(stato.shell);
        return true;
    case Servizio::Imposta_Colori:
        ciclo::Imposta_Colori(stato.cicli, stato.archivio.Aspetto);
        return true;
    case Servizio::Inizializza_Tabella_Chiave:
        storico::Inizializza_Tabella_Chiave(stato.mercato);
        return true;
    case Servizio::Carica_Storico_Da_Server:
        // The session has already told the user and ended the program when it fails.
        if (!f.Sessione()) {
            m_errore = QStringLiteral("Nessuna connessione al server.");
            return false;
        }
        return f.Sessione()->Carica_Storico_Da_Server();
    case Servizio::Inizializza_Tab_Sottostanti:
        archivio::Inizializza_Tab_Sottostanti(stato.archivio);
        return true;
    case Servizio::Carica_Storico_Offline: {
        storico::AzioniOffline azioni;
        azioni.Mostra_Avanzamento = [&f, &stato](int passo) {
            stato.shell.Passo_Avvio = passo;
            f.Mostra_Avanzamento_Avvio(passo);
        };
        bool nessuno = false;
        azioni.Nessuno_Storico = [&nessuno](const QString &, const QString &) { nessuno = true; };
        azioni.Storico_Danneggiato = [&f](const QString &testo) {
            if (f.Avviso_Caricamento)
                f.Avviso_Caricamento(testo);
        };
        const storico::EsitoOffline e = storico::Carica_Storico_Offline(
            stato.mercato, stato.archivio.Sottostante_Corrente, stato.shell.Formato_Locale, azioni);
        f.Quotazioni()->Etichetta_Opzioni(e.etichette);
        if (!e.caricato)
            m_errore = nessuno ? storico::Messaggio_Nessuno_Storico
                               : QStringLiteral("Storico locale non leggibile.");
        return e.caricato;
    }
    case Servizio::Aggiorna_Ultime_Barre_Storico:
        if (f.Sessione())
            f.Sessione()->Aggiorna_Ultime_Barre_Storico();
        return true;
    case Servizio::Salva_Storico_5M: return Salva(stato, QStringLiteral("5M"));
    case Servizio::Salva_Storico_15M: return Salva(stato, QStringLiteral("15M"));
    case Servizio::Salva_Storico_1H: return Salva(stato, QStringLiteral("1H"));
    case Servizio::Salva_Storico_1D: return Salva(stato, QStringLiteral("1D"));
    case Servizio::Inizializza_Tabelle_Cicli:
        ciclo::Inizializza_Tabelle_Cicli(stato.cicli);
        return true;
    case Servizio::Carica_Parametri:
        if (!archivio::Carica_Parametri(stato.archivio, stato.shell.Formato_Data)) {
            m_errore = QStringLiteral("Impossibile leggere le impostazioni dei cicli (Sistema3.dat).");
            return false;
        }
        return true;
    case Servizio::Carica_Indicatori:
        if (!::Carica_Indicatori(stato.archivio, &m_errore)) {
            m_errore = QStringLiteral("Impossibile leggere gli indicatori (Sistema2.dat): ") + m_errore;
            return false;
        }
        return true;
    case Servizio::Carica_Impostazioni_Sottostante:
        if (const QString errore =
                ciclo::Carica_Impostazioni_Sottostante(stato.shell, stato.archivio, stato.mercato, stato.cicli);
            !errore.isEmpty())
            Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), errore);
        indicatori::Carica_Impostazioni_Indicatori(stato.archivio, stato.indicatori);
        return true;
    case Servizio::Calcola_Tempi_Futuri:
        ciclo::Calcola_Tempi_Futuri(stato.cicli, stato.mercato);
        return true;
    case Servizio::Carica_Linee: {
        const archivio::EsitoCaricaOggetti e =
            disegno::Carica_Linee(stato.archivio, stato.mercato, stato.cicli, stato.disegno);
        if (!e.ok) {
            m_errore = QStringLiteral("Impossibile leggere le linee (Sistema1.dat): ") + e.errore;
            return false;
        }
        return true;
    }
    case Servizio::Carica_Testi: {
        const archivio::EsitoCaricaOggetti e =
            disegno::Carica_Testi(stato.archivio, stato.mercato, stato.cicli, stato.disegno);
        if (!e.ok) {
            m_errore = QStringLiteral("Impossibile leggere i testi (Sistema1.dat): ") + e.errore;
            return false;
        }
        return true;
    }
    case Servizio::Carica_Distanze: {
        const archivio::EsitoCaricaOggetti e =
            disegno::Carica_Distanze(stato.archivio, stato.mercato, stato.cicli, stato.disegno);
        if (!e.ok) {
            m_errore = QStringLiteral("Impossibile leggere le distanze (Sistema1.dat): ") + e.errore;
            return false;
        }
        return true;
    }
    case Servizio::Imposta_Layout_Oggetti_Graf:
        if (StrumentiFinestra *t = f.Strumenti(); t && t->Frm_Ogg_Graf)
            t->Frm_Ogg_Graf->Imposta_Layout_Oggetti_Graf();
        return true;
    case Servizio::Carica_Combo: {
        QComboBox *cmb = f.Quotazioni()->Cmb_Sot;
        const QSignalBlocker blocco(cmb);
        cmb->clear();
        for (int u = 1; u <= costanti::Num_Sottostanti; ++u)
            cmb->addItem(stato.archivio.Tab_Sottostanti[size_t(u)].Nome);
        cmb->setCurrentIndex(stato.archivio.Sottostante_Corrente - 1);
        cmb->setEnabled(stato.shell.Modalita == QLatin1String("ONLINE"));
        f.Controlli_Ciclo()->Carica_Combo();
        return true;
    }
    case Servizio::Inizializza_Chk_Battl:
        f.Cicli()->Inizializza_Chk_Battl();
        return true;
    case Servizio::Aggiorna_Etichette_Gradi:
        f.Cicli()->Aggiorna_Etichette_Gradi();
        return true;
    case Servizio::Calcola_Battleplan_Tutti:
        ciclo::Calcola_Battleplan_Tutti(stato.cicli);
        return true;
    case Servizio::Aggiorna_Indicatori_Grafici:
        f.Motore().Aggiorna_Indicatori_Grafici();
        return true;
    case Servizio::Disegna_Grafici: {
        const bool prima = stato.shell.Blocco_Aggiornamento;
        stato.shell.Blocco_Aggiornamento = true;
        Imposta_Barre_Grafici(stato.shell, stato.cicli, *f.Area());
        stato.shell.Blocco_Aggiornamento = prima;
        f.Disegna_Grafici();
        return true;
    }
    case Servizio::Imposta_Titolo_Finestra:
        f.Imposta_Titolo_Finestra();
        return true;
    case Servizio::Imposta_Pannelli_Modalita:
        f.Imposta_Pannelli_Modalita();
        return true;
    case Servizio::Imposta_Layout_Senza_Storico:
        f.Imposta_Layout_Senza_Storico();
        return true;
    case Servizio::Imposta_Layout_Ridotto:
        f.Imposta_Layout_Ridotto();
        return true;
    case Servizio::Imposta_Opzione_Grafici:
        f.Imposta_Opzione_Grafici();
        return true;
    case Servizio::Imposta_Titoli_Grafici:
        f.Imposta_Titoli_Grafici();
        return true;
    case Servizio::Imposta_Colori_Controlli:
        f.Imposta_Colori_Controlli();
        // The window is usable once loaded, unless an operation still holds it.
        if (!f.Disabilitata())
            form.setEnabled(true);
        return true;
    case Servizio::Ferma_Timer:
        f.Timer_Disegno.stop();
        f.Timer_Agg_RT.stop();
        f.Timer_Indicatori.stop();
        f.Timer_Indicatori.setInterval(1200);
        return true;
    case Servizio::Richiesta_Dati_RT_Al_Server:
        f.Richiesta_Dati_RT_Al_Server();
        return true;
    case Servizio::Apri_Finestra_Operativa:
        form.FrmCambioSott->hide();
        form.Frm_Tipo_Ciclo->setEnabled(true);
        f.Cicli()->Regola_Quattro_Gradi();
        form.Text_Desc_Server_Chat->setEnabled(true);
        form.Text_Chat->setEnabled(true);
        f.Area()->Nascondi_Etichette_Caricamento();
        return true;
    }
    return true;
}

QString ServiziFinestra::Errore() const { return m_errore; }

void ServiziFinestra::Mostra_Avanzamento_Avvio(int passo) { m_finestra.Mostra_Avanzamento_Avvio(passo); }

void ServiziFinestra::Pausa(double secondi) { m_finestra.Pausa(secondi); }

bool ServiziFinestra::Connesso() const
{
    if (SessioneQuotazioni *sessione = m_finestra.Sessione())
        return sessione->Connesso();
    return m_finestra.Form().Sock().State() == Socket::Connesso;
}

void ServiziFinestra::Invia(const QString &messaggio)
{
    if (SessioneQuotazioni *sessione = m_finestra.Sessione())
        sessione->Invia_Testo(messaggio);
    else
        m_finestra.Form().Sock().SendData(messaggio);
}

bool ServiziFinestra::Attendi_Download(int millisecondi)
{
    SessioneQuotazioni *sessione = m_finestra.Sessione();
    return sessione && sessione->Attendi_Download(millisecondi);
}

bool ServiziFinestra::Frm_Avvio_Visibile() const { return !m_finestra.Form().Frm_Avvio->isHidden(); }

void IndicatoriFinestra::Disegna_Grafico(int grafico, int grado) { m_finestra.Disegna_Grafico(grafico, grado); }

GraficoControllo *IndicatoriFinestra::Grafico(int grafico) { return m_finestra.Area()->Graf_Battleplan(grafico); }

void IndicatoriFinestra::Disabilita_Finestra() { m_finestra.Disabilita_Finestra(); }

void IndicatoriFinestra::Abilita_Finestra() { m_finestra.Abilita_Finestra(); }
