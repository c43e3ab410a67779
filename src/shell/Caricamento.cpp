#include "shell/Caricamento.h"

#include "Stato.h"

namespace {

const QLatin1String Online("ONLINE");
const QChar Separatore(0x00D8);

}  // namespace

QString Nome_Servizio(Servizio s)
{
    switch (s) {
    case Servizio::Carica_Sottostante_Corrente: return QStringLiteral("Carica_Sottostante_Corrente");
    case Servizio::Imposta_Formati_Locali: return QStringLiteral("Imposta_Formati_Locali");
    case Servizio::Imposta_Colori: return QStringLiteral("Imposta_Colori");
    case Servizio::Inizializza_Tabella_Chiave: return QStringLiteral("Inizializza_Tabella_Chiave");
    case Servizio::Carica_Storico_Da_Server: return QStringLiteral("Carica_Storico_Da_Server");
    case Servizio::Inizializza_Tab_Sottostanti: return QStringLiteral("Inizializza_Tab_Sottostanti");
    case Servizio::Carica_Storico_Offline: return QStringLiteral("Carica_Storico_Offline");
    case Servizio::Aggiorna_Ultime_Barre_Storico: return QStringLiteral("Aggiorna_Ultime_Barre_Storico");
    case Servizio::Salva_Storico_5M: return QStringLiteral("Salva_Storico_5M");
    case Servizio::Salva_Storico_15M: return QStringLiteral("Salva_Storico_15M");
    case Servizio::Salva_Storico_1H: return QStringLiteral("Salva_Storico_1H");
    case Servizio::Salva_Storico_1D: return QStringLiteral("Salva_Storico_1D");
    case Servizio::Inizializza_Tabelle_Cicli: return QStringLiteral("Inizializza_Tabelle_Cicli");
    case Servizio::Carica_Parametri: return QStringLiteral("Carica_Parametri");
    case Servizio::Carica_Indicatori: return QStringLiteral("Carica_Indicatori");
    case Servizio::Carica_Impostazioni_Sottostante: return QStringLiteral("Carica_Impostazioni_Sottostante");
    case Servizio::Calcola_Tempi_Futuri: return QStringLiteral("Calcola_Tempi_Futuri");
    case Servizio::Carica_Linee: return QStringLiteral("Carica_Linee");
    case Servizio::Carica_Testi: return QStringLiteral("Carica_Testi");
    case Servizio::Carica_Distanze: return QStringLiteral("Carica_Distanze");
    case Servizio::Carica_Combo: return QStringLiteral("Carica_Combo");
    case Servizio::Inizializza_Chk_Battl: return QStringLiteral("Inizializza_Chk_Battl");
    case Servizio::Aggiorna_Etichette_Gradi: return QStringLiteral("Aggiorna_Etichette_Gradi");
    case Servizio::Calcola_Battleplan_Tutti: return QStringLiteral("Calcola_Battleplan_Tutti");
    case Servizio::Aggiorna_Indicatori_Grafici: return QStringLiteral("Aggiorna_Indicatori_Grafici");
    case Servizio::Disegna_Grafici: return QStringLiteral("Disegna_Grafici");
    case Servizio::Imposta_Titolo_Finestra: return QStringLiteral("Imposta_Titolo_Finestra");
    case Servizio::Imposta_Pannelli_Modalita: return QStringLiteral("Imposta_Pannelli_Modalita");
    case Servizio::Imposta_Layout_Oggetti_Graf: return QStringLiteral("Imposta_Layout_Oggetti_Graf");
    case Servizio::Imposta_Layout_Senza_Storico: return QStringLiteral("Imposta_Layout_Senza_Storico");
    case Servizio::Imposta_Layout_Ridotto: return QStringLiteral("Imposta_Layout_Ridotto");
    case Servizio::Imposta_Opzione_Grafici: return QStringLiteral("Imposta_Opzione_Grafici");
    case Servizio::Imposta_Titoli_Grafici: return QStringLiteral("Imposta_Titoli_Grafici");
    case Servizio::Imposta_Colori_Controlli: return QStringLiteral("Imposta_Colori_Controlli");
    case Servizio::Ferma_Timer: return QStringLiteral("Ferma_Timer");
    case Servizio::Richiesta_Dati_RT_Al_Server: return QStringLiteral("Richiesta_Dati_RT_Al_Server");
    case Servizio::Apri_Finestra_Operativa: return QStringLiteral("Apri_Finestra_Operativa");
    }
    return {};
}

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

bool Caricamento::Esegui(Servizio s)
{
    if (m_servizi.Esegui(s))
        return true;
    m_errore = m_servizi.Errore();
    return false;
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
    if (!Esegui(Servizio::Carica_Sottostante_Corrente))
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

    if (!Esegui(Servizio::Imposta_Formati_Locali) || !Esegui(Servizio::Imposta_Colori)
        || !Esegui(Servizio::Inizializza_Tabella_Chiave))
        return Fallisci();

    if (online) {
        if (!Esegui(Servizio::Carica_Storico_Da_Server))
            return Fallisci();
    } else {
        if (!Esegui(Servizio::Inizializza_Tab_Sottostanti) || !Esegui(Servizio::Carica_Storico_Offline))
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
        if (!Esegui(Servizio::Aggiorna_Ultime_Barre_Storico))
            return Fallisci();
        // A failed local copy is reported by the writer and keeps the old file;
        // the session itself can go on.
        for (Servizio s : {Servizio::Salva_Storico_5M, Servizio::Salva_Storico_15M, Servizio::Salva_Storico_1H,
                           Servizio::Salva_Storico_1D})
            m_servizi.Esegui(s);
    }

    Passo(3);
    for (Servizio s : {Servizio::Inizializza_Tabelle_Cicli, Servizio::Inizializza_Tab_Sottostanti,
                       Servizio::Carica_Parametri, Servizio::Carica_Indicatori,
                       Servizio::Carica_Impostazioni_Sottostante, Servizio::Calcola_Tempi_Futuri})
        if (!Esegui(s))
            return Fallisci();

    Passo(8);
    for (Servizio s : {Servizio::Carica_Linee, Servizio::Carica_Testi, Servizio::Carica_Distanze,
                       Servizio::Carica_Combo, Servizio::Inizializza_Chk_Battl, Servizio::Aggiorna_Etichette_Gradi})
        if (!Esegui(s))
            return Fallisci();

    Passo(9);
    if (!Esegui(Servizio::Calcola_Battleplan_Tutti))
        return Fallisci();
    Passo(10);
    if (!Esegui(Servizio::Aggiorna_Indicatori_Grafici))
        return Fallisci();
    Passo(11);
    if (!Esegui(Servizio::Disegna_Grafici))
        return Fallisci();

    if (m_servizi.Frm_Avvio_Visibile()) {
        Passo(12);
        Pausa(0.5);
        if (!Esegui(Servizio::Imposta_Titolo_Finestra) || !Esegui(Servizio::Imposta_Pannelli_Modalita))
            return Fallisci();
    }

    for (Servizio s : {Servizio::Imposta_Layout_Oggetti_Graf, Servizio::Imposta_Layout_Senza_Storico,
                       Servizio::Imposta_Layout_Ridotto, Servizio::Imposta_Opzione_Grafici,
                       Servizio::Imposta_Titoli_Grafici, Servizio::Imposta_Colori_Controlli, Servizio::Ferma_Timer,
                       Servizio::Richiesta_Dati_RT_Al_Server})
        if (!Esegui(s))
            return Fallisci();

    m_stato.shell.Blocco_Grafici = false;
    if (!Esegui(Servizio::Apri_Finestra_Operativa))
        return Fallisci();
    m_stato.shell.RT_Bloccato = false;
    m_fase = Fase::Inattiva;
    return Esito::Completato;
}
