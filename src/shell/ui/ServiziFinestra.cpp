#include "shell/ui/ServiziFinestra.h"

#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/StrumentiFinestra.h"

#include "Stato.h"
#include "archive/ArchivioIndicatori.h"
#include "archive/ImpostazioniAvvio.h"
#include "archive/ParametriCicli.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/TabSottostanti.h"
#include "cycle/BarreGrafico.h"
#include "cycle/Battleplan.h"
#include "cycle/Colori.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/SalvaParametro.h"
#include "cycle/TempiFuturi.h"
#include "drawing/OggettiGrafici.h"
#include "indicators/ImpostazioniIndicatori.h"
#include "market/ScrittoreStorico.h"
#include "market/SessioneQuotazioni.h"
#include "market/StoricoLocale.h"
#include "platform/Socket.h"
#include "shell/FormatiLocali.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/ControlliCiclo.h"
#include "shell/ui/ControlloreAspetto.h"
#include "shell/ui/ControlloreCaricamento.h"
#include "shell/ui/ControlloreLayout.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/ControlloreTempoReale.h"
#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/Pausa.h"
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

// Queued to the window's writer; a write that fails later is told by ControlloreCaricamento.
bool Salva(FinestraOperativa &f, const QString &tf)
{
    Stato &stato = f.Form().S();
    const int sottostante = stato.archivio.Sottostante_Corrente;
    const storico::Esito e = f.Form().Scrittore().Salva(stato.mercato, sottostante, tf, ScrittoreStorico::Caricamento);
    if (!e.ok)
        ControlloreCaricamento::Storico_Non_Salvato(QStringLiteral("Storico locale %1 non salvato: %2")
                                                        .arg(storico::NomeFileStorico(sottostante, tf), e.errore));
    return e.ok;
}

bool Oggetti_Caricati(const archivio::EsitoCaricaOggetti &e, const QString &testo, QString &errore)
{
    if (!e.ok)
        errore = testo + e.errore;
    return e.ok;
}

Stato &S(FinestraOperativa &f) { return f.Form().S(); }

}  // namespace

bool ServiziFinestra::Carica_Sottostante_Corrente()
{
    archivio::Carica_Sottostante_Corrente(S(m_finestra).archivio);
    return true;
}

bool ServiziFinestra::Imposta_Formati_Locali()
{
    finestra::Imposta_Formati_Locali(S(m_finestra).shell);
    return true;
}

bool ServiziFinestra::Imposta_Colori()
{
    Stato &stato = S(m_finestra);
    ciclo::Imposta_Colori(stato.cicli, stato.archivio.Aspetto);
    return true;
}

bool ServiziFinestra::Inizializza_Tabella_Chiave()
{
    storico::Inizializza_Tabella_Chiave(S(m_finestra).mercato);
    return true;
}

bool ServiziFinestra::Carica_Storico_Da_Server()
{
    m_errore.clear();
    // The session has already told the user and ended the program when it fails.
    if (!m_finestra.Sessione()) {
        m_errore = QStringLiteral("Nessuna connessione al server.");
        return false;
    }
    return m_finestra.Sessione()->Carica_Storico_Da_Server();
}

bool ServiziFinestra::Inizializza_Tab_Sottostanti()
{
    archivio::Inizializza_Tab_Sottostanti(S(m_finestra).archivio);
    return true;
}

bool ServiziFinestra::Carica_Storico_Offline()
{
    FinestraOperativa &f = m_finestra;
    Stato &stato = S(f);
    m_errore.clear();
    // The steps show on the start window; the missing history is reported by the
    // loading sequence's error, a damaged file by the window's notice.
    class Azioni : public storico::AzioniOffline {
    public:
        Azioni(FinestraOperativa &f, Stato &stato, DialoghiFinestra &dialoghi)
            : m_f(f), m_stato(stato), m_dialoghi(dialoghi)
        {
        }
        void Mostra_Avanzamento(int passo) override
        {
            m_stato.shell.Passo_Avvio = passo;
            m_f.Caricamento_Avvio().Mostra_Avanzamento_Avvio(passo);
        }
        void Nessuno_Storico(const QString &, const QString &) override { nessuno = true; }
        void Storico_Danneggiato(const QString &testo) override { m_dialoghi.Avviso_Caricamento(testo); }
        bool nessuno = false;

    private:
        FinestraOperativa &m_f;
        Stato &m_stato;
        DialoghiFinestra &m_dialoghi;
    } azioni(f, stato, m_dialoghi);
    // A file still queued would be read old, or not at all.
    f.Form().Scrittore().Attendi();
    const storico::EsitoOffline e = storico::Carica_Storico_Offline(
        stato.mercato, stato.archivio.Sottostante_Corrente, stato.shell.Formato_Locale, azioni);
    f.Quotazioni()->Etichetta_Opzioni(e.etichette);
    if (!e.caricato)
        m_errore = azioni.nessuno ? storico::Messaggio_Nessuno_Storico : QStringLiteral("Storico locale non leggibile.");
    return e.caricato;
}

bool ServiziFinestra::Aggiorna_Ultime_Barre_Storico()
{
    if (m_finestra.Sessione())
        m_finestra.Sessione()->Aggiorna_Ultime_Barre_Storico();
    return true;
}

bool ServiziFinestra::Salva_Storico_5M() { return Salva(m_finestra, QStringLiteral("5M")); }
bool ServiziFinestra::Salva_Storico_15M() { return Salva(m_finestra, QStringLiteral("15M")); }
bool ServiziFinestra::Salva_Storico_1H() { return Salva(m_finestra, QStringLiteral("1H")); }
bool ServiziFinestra::Salva_Storico_1D() { return Salva(m_finestra, QStringLiteral("1D")); }

bool ServiziFinestra::Inizializza_Tabelle_Cicli()
{
    ciclo::Inizializza_Tabelle_Cicli(S(m_finestra).cicli);
    return true;
}

bool ServiziFinestra::Carica_Parametri()
{
    Stato &stato = S(m_finestra);
    m_errore.clear();
    if (!archivio::Carica_Parametri(stato.archivio, stato.shell.Formato_Data)) {
        m_errore = QStringLiteral("Impossibile leggere le impostazioni dei cicli (Sistema3.dat).");
        return false;
    }
    return true;
}

bool ServiziFinestra::Carica_Indicatori()
{
    m_errore.clear();
    if (!archivio::Carica_Indicatori(S(m_finestra).archivio, &m_errore)) {
        m_errore = QStringLiteral("Impossibile leggere gli indicatori (Sistema2.dat): ") + m_errore;
        return false;
    }
    return true;
}

bool ServiziFinestra::Carica_Impostazioni_Sottostante()
{
    Stato &stato = S(m_finestra);
    // The corrections go to the archive's writer: a busy disk does not hold the loading.
    archivio::Lotto salvataggi;
    (void)ciclo::Carica_Impostazioni_Sottostante(stato.shell, stato.archivio, stato.mercato, stato.cicli, &salvataggi);
    m_finestra.Form().Scrittore_Archivio().Accoda(std::move(salvataggi));
    indicatori::Carica_Impostazioni_Indicatori(stato.archivio, stato.indicatori);
    return true;
}

bool ServiziFinestra::Calcola_Tempi_Futuri()
{
    Stato &stato = S(m_finestra);
    ciclo::Calcola_Tempi_Futuri(stato.cicli, stato.mercato);
    return true;
}

bool ServiziFinestra::Carica_Linee()
{
    Stato &stato = S(m_finestra);
    m_errore.clear();
    return Oggetti_Caricati(disegno::Carica_Linee(stato.archivio, stato.mercato, stato.cicli, stato.disegno),
                            QStringLiteral("Impossibile leggere le linee (Sistema1.dat): "), m_errore);
}

bool ServiziFinestra::Carica_Testi()
{
    Stato &stato = S(m_finestra);
    m_errore.clear();
    return Oggetti_Caricati(disegno::Carica_Testi(stato.archivio, stato.mercato, stato.cicli, stato.disegno),
                            QStringLiteral("Impossibile leggere i testi (Sistema1.dat): "), m_errore);
}

bool ServiziFinestra::Carica_Distanze()
{
    Stato &stato = S(m_finestra);
    m_errore.clear();
    return Oggetti_Caricati(disegno::Carica_Distanze(stato.archivio, stato.mercato, stato.cicli, stato.disegno),
                            QStringLiteral("Impossibile leggere le distanze (Sistema1.dat): "), m_errore);
}

bool ServiziFinestra::Imposta_Layout_Oggetti_Graf()
{
    if (StrumentiFinestra *t = m_finestra.Strumenti(); t && t->Frm_Ogg_Graf)
        t->Frm_Ogg_Graf->Imposta_Layout_Oggetti_Graf();
    return true;
}

bool ServiziFinestra::Carica_Combo()
{
    FinestraOperativa &f = m_finestra;
    const Stato &stato = S(f);
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

bool ServiziFinestra::Inizializza_Chk_Battl()
{
    m_finestra.Cicli()->Inizializza_Chk_Battl();
    return true;
}

bool ServiziFinestra::Aggiorna_Etichette_Gradi()
{
    m_finestra.Cicli()->Aggiorna_Etichette_Gradi();
    return true;
}

bool ServiziFinestra::Calcola_Battleplan_Tutti()
{
    ciclo::Calcola_Battleplan_Tutti(S(m_finestra).cicli);
    return true;
}

bool ServiziFinestra::Aggiorna_Indicatori_Grafici()
{
    m_finestra.Motore().Aggiorna_Indicatori_Grafici();
    return true;
}

bool ServiziFinestra::Disegna_Grafici()
{
    FinestraOperativa &f = m_finestra;
    Stato &stato = S(f);
    const bool prima = stato.shell.Blocco_Aggiornamento;
    stato.shell.Blocco_Aggiornamento = true;
    ciclo::Imposta_Barre_Grafici(stato.shell, stato.cicli, *f.Area());
    stato.shell.Blocco_Aggiornamento = prima;
    f.Tempo_Reale().Disegna_Grafici();
    return true;
}

bool ServiziFinestra::Imposta_Titolo_Finestra()
{
    m_finestra.Layout().Imposta_Titolo_Finestra();
    m_finestra.Tempo_Reale().Colora_Cmd_Graf_RT();
    return true;
}

bool ServiziFinestra::Imposta_Pannelli_Modalita()
{
    m_finestra.Layout().Imposta_Pannelli_Modalita();
    return true;
}

bool ServiziFinestra::Imposta_Layout_Senza_Storico()
{
    m_finestra.Layout().Imposta_Layout_Senza_Storico();
    return true;
}

bool ServiziFinestra::Imposta_Layout_Ridotto()
{
    m_finestra.Layout().Imposta_Layout_Ridotto();
    return true;
}

bool ServiziFinestra::Imposta_Opzione_Grafici()
{
    m_finestra.Ridisegno().Imposta_Opzione_Grafici();
    return true;
}

bool ServiziFinestra::Imposta_Titoli_Grafici()
{
    m_finestra.Ridisegno().Imposta_Titoli_Grafici();
    return true;
}

bool ServiziFinestra::Imposta_Colori_Controlli()
{
    m_finestra.Aspetto().Imposta_Colori_Controlli();
    // The window is usable once loaded, unless an operation still holds it.
    if (!m_finestra.Blocco().Disabilitata())
        m_finestra.Form().setEnabled(true);
    return true;
}

bool ServiziFinestra::Ferma_Timer()
{
    m_finestra.Ridisegno().Ferma_Timer();
    m_finestra.Tempo_Reale().Timer_Agg_RT.stop();
    return true;
}

bool ServiziFinestra::Richiesta_Dati_RT_Al_Server()
{
    m_finestra.Caricamento_Avvio().Richiesta_Dati_RT_Al_Server();
    return true;
}

bool ServiziFinestra::Apri_Finestra_Operativa()
{
    FinestraOperativa &f = m_finestra;
    FormS1 &form = f.Form();
    form.FrmCambioSott->hide();
    form.Frm_Tipo_Ciclo->setEnabled(true);
    f.Cicli()->Regola_Quattro_Gradi();
    form.Text_Desc_Server_Chat->setEnabled(true);
    form.Text_Chat->setEnabled(true);
    f.Area()->Nascondi_Etichette_Caricamento();
    return true;
}

QString ServiziFinestra::Errore() const { return m_errore; }

void ServiziFinestra::Mostra_Avanzamento_Avvio(int passo) { m_finestra.Caricamento_Avvio().Mostra_Avanzamento_Avvio(passo); }

void ServiziFinestra::Pausa(double secondi) { finestra::Pausa(secondi); }

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

void IndicatoriFinestra::Disegna_Grafico(int grafico, int grado) { m_finestra.Ridisegno().Disegna_Grafico(grafico, grado); }

GraficoControllo *IndicatoriFinestra::Grafico(int grafico) { return m_finestra.Area()->Graf_Battleplan(grafico); }

void IndicatoriFinestra::Disabilita_Finestra() { m_finestra.Blocco().Disabilita_Finestra(); }

void IndicatoriFinestra::Abilita_Finestra() { m_finestra.Blocco().Abilita_Finestra(); }

void ServiziStrumentiFinestra::Mostra_Messaggio(int tipo) { m_finestra.Form().Mostra_Messaggio(tipo, QString()); }

void ServiziStrumentiFinestra::Mostra_Testo_Messaggio(const QString &testo)
{
    m_finestra.Form().Mostra_Messaggio(5, testo);
}

void ServiziStrumentiFinestra::Mostra_Errore(const QString &testo)
{
    finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), testo);
}

void ServiziStrumentiFinestra::Avvia_Timer_Disegno() { m_finestra.Ridisegno().Arma_Timer_Disegno(); }

void ServiziStrumentiFinestra::Ridisegna_Grafico_Corrente()
{
    const Stato &s = S(m_finestra);
    m_finestra.Ridisegno().Disegna_Grafico(s.cicli.Grafico_Corrente, s.cicli.Grado_Corrente);
}

bool ServiziStrumentiFinestra::Salva_Parametro(archivio::Codice_Modifica codice, int grado, QString &errore)
{
    Stato &stato = S(m_finestra);
    return ciclo::Salva_Parametro(stato.shell, stato.archivio, stato.cicli, codice, grado, &errore);
}

QWidget *ServiziStrumentiFinestra::Riquadro(int slot)
{
    return slot >= 0 && slot < 4 ? m_finestra.Area()->Frm_Graf[size_t(slot)] : nullptr;
}
