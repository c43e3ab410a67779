#include "shell/Caricamento.h"

#include "Stato.h"

namespace {

const QLatin1String Online("ONLINE");
const QChar Separatore(0x00D8);

using S = ServiziCaricamento;

}  // namespace

Caricamento::Caricamento(Stato &stato, ServiziCaricamento &servizi, QObject *parent)
    : QObject(parent), m_stato(stato), m_servizi(servizi)
{
    m_attesa.setSingleShot(true);
    connect(&m_attesa, &QTimer::timeout, this, [this] {
        if (m_fase != Fase::Attesa_Ultime_Barre)
            return;
        m_fase = Fase::Inattiva;
        m_errore = QStringLiteral("Il server non ha inviato le ultime barre: caricamento non completato.");
        emit Ultime_Barre_Mancanti(m_errore);
    });
}

QString Caricamento::Messaggio_Comm(const QString &codice, int sottostante)
{
    return codice + Separatore + QString::number(sottostante) + Separatore;
}

bool Caricamento::Passo(int passo)
{
    m_stato.shell.Passo_Avvio = passo;
    m_servizi.Mostra_Avanzamento_Avvio(passo);
    return true;
}

bool Caricamento::Esegui(std::initializer_list<Routine> routine)
{
    for (Routine r : routine)
        if (!(m_servizi.*r)()) {
            m_errore = m_servizi.Errore();
            return false;
        }
    return true;
}

void Caricamento::Pausa(double secondi)
{
    if (Fattore_Pause > 0.0)
        m_servizi.Pausa(secondi * Fattore_Pause);
}

Caricamento::Esito Caricamento::Fallisci()
{
    // Blocco_Grafici stays raised: nothing half-loaded may be drawn or saved.
    m_fase = Fase::Inattiva;
    m_attesa.stop();
    return Esito::Fallito;
}

void Caricamento::Annulla()
{
    m_fase = Fase::Inattiva;
    m_attesa.stop();
}

Caricamento::Esito Caricamento::Carica_Storici_Avvio()
{
    if (m_fase != Fase::Inattiva)
        return Esito::Rifiutato;
    m_fase = Fase::Fase1;
    m_errore.clear();
    const bool online = m_stato.shell.Modalita == Online;

    Passo(1);
    if (!Esegui({&S::Carica_Sottostante_Corrente}))
        return Fallisci();
    Pausa(0.5);
    Passo(2);

    if (online) {
        m_stato.mercato.Scarica_Storico = true;
        if (!m_servizi.Connesso()) {
            m_errore = QStringLiteral("Non Connesso: impossibile scaricare lo storico dal server.");
            return Fallisci();
        }
        m_servizi.Invia(Messaggio_Comm(QStringLiteral("COMM34"), m_stato.archivio.Sottostante_Corrente));
        // The answer runs the download; copying before it ends would take empty or stale tables.
        if (!m_servizi.Attendi_Download(Timeout_Download_ms)) {
            m_errore = QStringLiteral("Il server non ha inviato lo storico entro il tempo previsto.");
            return Fallisci();
        }
    }

    if (!Esegui({&S::Imposta_Formati_Locali, &S::Imposta_Colori, &S::Inizializza_Tabella_Chiave}))
        return Fallisci();

    if (online) {
        if (!Esegui({&S::Carica_Storico_Da_Server}))
            return Fallisci();
    } else {
        if (!Esegui({&S::Inizializza_Tab_Sottostanti, &S::Carica_Storico_Offline}))
            return Fallisci();
    }
    Pausa(0.5);

    if (!online) {
        m_fase = Fase::Pronta_Fase2;
        return Esito::Completato;
    }
    if (!m_servizi.Connesso()) {
        m_errore = QStringLiteral("Non Connesso: impossibile richiedere le ultime barre al server.");
        return Fallisci();
    }
    m_fase = Fase::Attesa_Ultime_Barre;
    m_servizi.Invia(Messaggio_Comm(QStringLiteral("COMM36"), m_stato.archivio.Sottostante_Corrente));
    if (m_fase == Fase::Attesa_Ultime_Barre && Timeout_Ultime_Barre_ms > 0)
        m_attesa.start(Timeout_Ultime_Barre_ms);
    return Esito::In_Attesa_Server;
}

Caricamento::Esito Caricamento::Carica_Dati_Avvio()
{
    if (m_fase != Fase::Attesa_Ultime_Barre && m_fase != Fase::Pronta_Fase2)
        return Esito::Rifiutato;
    m_attesa.stop();
    m_fase = Fase::Fase2;
    const bool online = m_stato.shell.Modalita == Online;

    if (online) {
        m_stato.mercato.Aggiorna_Storico = true;
        if (!Esegui({&S::Aggiorna_Ultime_Barre_Storico}))
            return Fallisci();
        // A failed local copy is reported by the writer and keeps the old file;
        // the session itself can go on.
        for (Routine r : {&S::Salva_Storico_5M, &S::Salva_Storico_15M, &S::Salva_Storico_1H, &S::Salva_Storico_1D})
            (m_servizi.*r)();
    }

    Passo(3);
    if (!Esegui({&S::Inizializza_Tabelle_Cicli, &S::Inizializza_Tab_Sottostanti, &S::Carica_Parametri,
                 &S::Carica_Indicatori, &S::Carica_Impostazioni_Sottostante, &S::Calcola_Tempi_Futuri}))
        return Fallisci();

    Passo(8);
    if (!Esegui({&S::Carica_Linee, &S::Carica_Testi, &S::Carica_Distanze, &S::Carica_Combo,
                 &S::Inizializza_Chk_Battl, &S::Aggiorna_Etichette_Gradi}))
        return Fallisci();

    Passo(9);
    if (!Esegui({&S::Calcola_Battleplan_Tutti}))
        return Fallisci();
    Passo(10);
    if (!Esegui({&S::Aggiorna_Indicatori_Grafici}))
        return Fallisci();
    Passo(11);
    if (!Esegui({&S::Disegna_Grafici}))
        return Fallisci();

    if (m_servizi.Frm_Avvio_Visibile()) {
        Passo(12);
        Pausa(0.5);
        if (!Esegui({&S::Imposta_Titolo_Finestra, &S::Imposta_Pannelli_Modalita}))
            return Fallisci();
    }

    if (!Esegui({&S::Imposta_Layout_Oggetti_Graf, &S::Imposta_Layout_Senza_Storico, &S::Imposta_Layout_Ridotto,
                 &S::Imposta_Opzione_Grafici, &S::Imposta_Titoli_Grafici, &S::Imposta_Colori_Controlli,
                 &S::Ferma_Timer, &S::Richiesta_Dati_RT_Al_Server}))
        return Fallisci();

    m_stato.shell.Blocco_Grafici = false;
    if (!Esegui({&S::Apri_Finestra_Operativa}))
        return Fallisci();
    m_stato.shell.RT_Bloccato = false;
    m_fase = Fase::Inattiva;
    return Esito::Completato;
}
