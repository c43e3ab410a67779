#pragma once

// A quote server of our own on loopback, speaking the client's protocol byte for
// byte: login with configured users, take-over of a user already connected, the
// history and last-bar answers from SQLite history databases, ticks and bar
// updates on a clock that can run faster than real time, and notices and chat
// on request. Messages can be delivered whole, split at every byte, or several
// in one write. Used by tests in-process and by tools/quote-server.

#include "market/Protocollo.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

class QTcpServer;
class QTcpSocket;

class ServerQuotazioni : public QObject {
    Q_OBJECT
public:
    enum class Consegna { Normale, Byte, Unite };

    struct Utente {
        QString Password;
        QString Codice;
        QString Descrizione_1;
        QString Descrizione_2;
    };

    struct Configurazione {
        QHash<QString, Utente> Utenti;  // by user id in lower case
        // Path of an underlying's SQLite database; "{db}" becomes its name.
        QString Percorso_Database;
        int Intervallo_Tick_ms = 1000;
        // Ticks a second, kept on average whatever the timer's grain; 0: one every interval.
        double Tick_Al_Secondo = 0.0;
        double Velocita = 1.0;  // clock seconds per real second
        // A bar update carries the bars that have just ended, sent as their slot ends
        // with their last price (the quote that follows lies in the new slot);
        // otherwise the bars just begun.
        bool Barre_Concluse = false;
        Consegna Modo = Consegna::Normale;
        int Messaggi_Per_Scrittura = 3;  // Unite: messages joined in one write
    };

    explicit ServerQuotazioni(Configurazione configurazione, QObject *parent = nullptr);
    ~ServerQuotazioni() override;

    bool Avvia(quint16 porta = 0, const QHostAddress &indirizzo = QHostAddress::LocalHost);
    quint16 Porta() const;
    Configurazione &Config() { return m_config; }

    // Sent to every logged-in client.
    void Invia_Avviso(const QString &flag, const QString &testo);               // COMM17
    void Invia_Chiusura(const QString &flag, const QString &altro, const QString &testo);  // COMM19
    void Invia_Messaggio(const QString &testo);                                 // COMM20
    void Invia_Chat(const QString &testo);                                      // COMM25
    void Invia_Grezzo(const QByteArray &byte);                                  // any bytes, to every client
    // Ticks stop (the client's watchdog then fires) or start again.
    void Sospendi_Tick(bool sospesi);
    // Changes Tick_Al_Secondo from now on.
    void Imposta_Ritmo(double tickAlSecondo);

    int Client_Connessi() const;
    int Client_In_Tempo_Reale() const;

signals:
    // Every message a client sent, after it has been handled.
    void Ricevuto(const QString &codice, const QStringList &campi);

private:
    struct Client;
    void Nuova_Connessione();
    void Dati(Client *c);
    void Gestisci(Client *c, const protocollo::Messaggio &m);
    void Scrivi(Client *c, const QString &codice, const QStringList &campi);
    void Svuota(Client *c);
    void Rimuovi(Client *c);
    bool Ultime_Barre(int sottostante, QStringList *campi);
    void Avvia_Tempo_Reale(Client *c, int sottostante);
    void Tick();
    void Un_Tick(qint64 passoMs);

    Configurazione m_config;
    QTcpServer *m_server;
    std::vector<std::unique_ptr<Client>> m_client;
    QTimer m_timerTick;
    QDateTime m_orologio;
    int m_sottostanteOrologio = 0;
    double m_prezzo = 0.0;
    double m_chiusuraPrecedente = 0.0;
    double m_volumeBarra = 0.0;
    double m_volumeGiorno = 0.0;
    QString m_oraGiornaliera;
    quint32 m_caso = 12345;
    int m_prossimoId = 1;
    bool m_sospesi = false;
    QElapsedTimer m_ritmo;  // since the rate was set
    qint64 m_tickInviati = 0;  // since the rate was set
};
