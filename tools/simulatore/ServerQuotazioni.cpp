#include "simulatore/ServerQuotazioni.h"

#include "market/ScaricoStorico.h"
#include "platform/Codec1252.h"
#include "platform/VbRuntime.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <cmath>

namespace {

QString NumeroItaliano(double x, bool migliaia = true)
{
    return vb::Format(x, migliaia ? QStringLiteral("#,##0.00") : QStringLiteral("0.00"), QLatin1Char(','),
                      QLatin1Char('.'));
}

QString DataLunga(const QDate &d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

// The first `quante` rows of a history table, newest first.
std::vector<scarico::Riga> LeggiRighe(const QString &percorso, const char *tabella, int quante)
{
    static QAtomicInt contatore;
    std::vector<scarico::Riga> righe;
    const QString nome = QStringLiteral("server_quotazioni_%1").arg(contatore.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(percorso);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            // Tables hold their bars newest first, in stored order.
            QString errore;
            scarico::LeggiTabella(db, tabella, righe, &errore, quante);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return righe;
}

QDate DataCompatta(const QString &t) { return scarico::DataRiga(t).value_or(QDate()); }

// "hh:mm"; midnight when the text is not a time.
QString OraCompatta(const QString &t)
{
    const int minuti = scarico::OraRiga(t).value_or(0);
    return QStringLiteral("%1:%2").arg(minuti / 60, 2, 10, QLatin1Char('0')).arg(minuti % 60, 2, 10, QLatin1Char('0'));
}

double NumeroDb(const QString &t) { return scarico::NumeroRiga(t).value_or(0.0); }

}  // namespace

struct ServerQuotazioni::Client {
    QPointer<QTcpSocket> socket;
    protocollo::Decodificatore decodificatore{protocollo::Verso::DalClient};
    int id = 0;
    QString utente;
    bool loggato = false;
    bool tempoReale = false;
    int sottostante = 0;
    QByteArray uscita;
    int messaggiInUscita = 0;
    QTimer timer;
};

ServerQuotazioni::ServerQuotazioni(Configurazione configurazione, QObject *parent)
    : QObject(parent), m_config(std::move(configurazione)), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &ServerQuotazioni::Nuova_Connessione);
    connect(&m_timerTick, &QTimer::timeout, this, &ServerQuotazioni::Tick);
}

ServerQuotazioni::~ServerQuotazioni()
{
    for (auto &c : m_client) {
        c->timer.stop();
        if (c->socket) {
            c->socket->disconnect(this);
            c->socket->abort();
        }
    }
}

bool ServerQuotazioni::Avvia(quint16 porta, const QHostAddress &indirizzo)
{
    return m_server->listen(indirizzo, porta);
}

quint16 ServerQuotazioni::Porta() const { return m_server->serverPort(); }

int ServerQuotazioni::Client_Connessi() const
{
    return int(std::count_if(m_client.begin(), m_client.end(), [](const auto &c) { return c->loggato; }));
}

int ServerQuotazioni::Client_In_Tempo_Reale() const
{
    return int(std::count_if(m_client.begin(), m_client.end(), [](const auto &c) { return c->tempoReale; }));
}

void ServerQuotazioni::Nuova_Connessione()
{
    while (QTcpSocket *s = m_server->nextPendingConnection()) {
        auto c = std::make_unique<Client>();
        c->socket = s;
        c->id = m_prossimoId++;
        s->setParent(this);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        Client *p = c.get();
        connect(s, &QTcpSocket::readyRead, this, [this, p] { Dati(p); });
        connect(s, &QTcpSocket::disconnected, this, [this, p] { Rimuovi(p); });
        connect(&p->timer, &QTimer::timeout, this, [this, p] { Svuota(p); });
        m_client.push_back(std::move(c));
    }
}

void ServerQuotazioni::Rimuovi(Client *c)
{
    auto it = std::find_if(m_client.begin(), m_client.end(), [c](const auto &x) { return x.get() == c; });
    if (it == m_client.end())
        return;
    c->timer.stop();
    if (c->socket) {
        c->socket->disconnect(this);
        c->socket->deleteLater();
    }
    m_client.erase(it);
    if (Client_In_Tempo_Reale() == 0)
        m_timerTick.stop();
}

void ServerQuotazioni::Dati(Client *c)
{
    if (!c->socket)
        return;
    const QByteArray byte = c->socket->readAll();
    for (const protocollo::Messaggio &m : c->decodificatore.Aggiungi(byte)) {
        Gestisci(c, m);
        // Handling may have dropped this client.
        if (std::none_of(m_client.begin(), m_client.end(), [c](const auto &x) { return x.get() == c; }))
            return;
    }
}

void ServerQuotazioni::Scrivi(Client *c, const QString &codice, const QStringList &campi)
{
    if (!c->socket || c->socket->state() != QAbstractSocket::ConnectedState)
        return;
    const QByteArray byte = codec1252::Codifica(protocollo::Componi(codice, campi));
    switch (m_config.Modo) {
    case Consegna::Normale:
        c->socket->write(byte);
        c->socket->flush();
        break;
    case Consegna::Byte:
        c->uscita.append(byte);
        if (!c->timer.isActive())
            c->timer.start(0);
        break;
    case Consegna::Unite:
        c->uscita.append(byte);
        if (++c->messaggiInUscita >= m_config.Messaggi_Per_Scrittura)
            Svuota(c);
        else if (!c->timer.isActive())
            c->timer.start(20);
        break;
    }
}

void ServerQuotazioni::Svuota(Client *c)
{
    if (!c->socket || c->uscita.isEmpty()) {
        c->timer.stop();
        return;
    }
    if (m_config.Modo == Consegna::Byte) {
        // One byte per turn of the event loop, so the peer sees every split.
        c->socket->write(c->uscita.left(1));
        c->uscita.remove(0, 1);
        c->socket->flush();
        if (c->uscita.isEmpty())
            c->timer.stop();
        return;
    }
    c->socket->write(c->uscita);
    c->socket->flush();
    c->uscita.clear();
    c->messaggiInUscita = 0;
    c->timer.stop();
}

void ServerQuotazioni::Gestisci(Client *c, const protocollo::Messaggio &m)
{
    const QString &codice = m.Codice;
    if (codice == QLatin1String("COMM11")) {
        const QString id = m.Campo(1).toLower();
        const auto it = m_config.Utenti.constFind(id);
        if (!m.Completo || it == m_config.Utenti.constEnd() || it->Password != m.Campo(2)) {
            Scrivi(c, QStringLiteral("COMM13"), {});
        } else {
            c->utente = id;
            const auto altro = std::find_if(m_client.begin(), m_client.end(), [c, &id](const auto &x) {
                return x.get() != c && x->loggato && x->utente == id;
            });
            if (altro != m_client.end()) {
                Scrivi(c, QStringLiteral("COMM14"), {QString::number((*altro)->id)});
            } else {
                c->loggato = true;
                Scrivi(c, QStringLiteral("COMM12"), {it->Codice, it->Descrizione_1, it->Descrizione_2});
            }
        }
    } else if (codice == QLatin1String("COMM15")) {
        const int idAltro = m.Campo(1).toInt();
        const auto utente = m_config.Utenti.constFind(c->utente);
        if (m.Campo(2) == QLatin1String("1") && utente != m_config.Utenti.constEnd()) {
            for (auto &x : m_client) {
                if (x->id == idAltro && x.get() != c) {
                    x->loggato = false;
                    x->tempoReale = false;
                    Scrivi(x.get(), QStringLiteral("COMM16"), {});
                }
            }
            c->loggato = true;
            Scrivi(c, QStringLiteral("COMM12"), {utente->Codice, utente->Descrizione_1, utente->Descrizione_2});
        }
    } else if (!c->loggato) {
        // Nothing else is answered before the login.
    } else if (codice == QLatin1String("COMM34")) {
        Scrivi(c, QStringLiteral("COMM35"), {});
    } else if (codice == QLatin1String("COMM36")) {
        QStringList campi;
        if (Ultime_Barre(m.Campo(1).toInt(), &campi))
            Scrivi(c, QStringLiteral("COMM37"), campi);
    } else if (codice == QLatin1String("COMM30")) {
        Avvia_Tempo_Reale(c, m.Campo(1).toInt());
    } else if (codice == QLatin1String("COMM32")) {
        c->tempoReale = false;
    } else if (codice == QLatin1String("COMM18")) {
        c->loggato = false;
        c->tempoReale = false;
        if (c->socket)
            c->socket->disconnectFromHost();
    }
    emit Ricevuto(codice, m.Campi());
}

bool ServerQuotazioni::Ultime_Barre(int sottostante, QStringList *campi)
{
    if (sottostante < 1 || sottostante > 7)
        return false;
    const QString percorso =
        QString(m_config.Percorso_Database).replace(QStringLiteral("{db}"), scarico::NomeDatabase(sottostante));
    for (int k = 1; k <= 4; ++k) {
        const auto righe = LeggiRighe(percorso, scarico::Tabelle[k], 2);
        if (righe.size() < 2)
            return false;
        for (const auto &r : righe) {
            const QDate d = DataCompatta(r.Data);
            *campi << d.toString(QStringLiteral("dd/MM/yy")) << OraCompatta(r.Ora)
                   << NumeroItaliano(NumeroDb(r.Chiusura), false) << r.Volume;
        }
    }
    return true;
}

void ServerQuotazioni::Avvia_Tempo_Reale(Client *c, int sottostante)
{
    c->tempoReale = true;
    c->sottostante = sottostante;
    if (!m_orologio.isValid() || m_sottostanteOrologio != sottostante) {
        const QString percorso =
            QString(m_config.Percorso_Database).replace(QStringLiteral("{db}"), scarico::NomeDatabase(sottostante));
        const auto r5 = LeggiRighe(percorso, "TF5M", 1);
        const auto r1d = LeggiRighe(percorso, "TF1D", 2);
        m_sottostanteOrologio = sottostante;
        if (!r5.empty()) {
            const int minuti = scarico::OraRiga(r5[0].Ora).value_or(0);
            m_orologio = QDateTime(DataCompatta(r5[0].Data), QTime(0, 0).addSecs(60 * minuti)).addSecs(60);
            m_prezzo = NumeroDb(r5[0].Chiusura);
        } else {
            m_orologio = QDateTime(QDate::currentDate(), QTime(10, 0));
            m_prezzo = 100.0;
        }
        m_chiusuraPrecedente = r1d.size() > 1 ? NumeroDb(r1d[1].Chiusura) : m_prezzo;
        m_oraGiornaliera = r1d.empty() ? QStringLiteral("00:00") : OraCompatta(r1d[0].Ora);
        m_volumeBarra = 0;
        m_volumeGiorno = 0;
    }
    if (!m_timerTick.isActive()) {
        Imposta_Ritmo(m_config.Tick_Al_Secondo);
        m_timerTick.start(m_config.Tick_Al_Secondo > 0 ? 10 : m_config.Intervallo_Tick_ms);
    }
}

void ServerQuotazioni::Imposta_Ritmo(double tickAlSecondo)
{
    m_config.Tick_Al_Secondo = tickAlSecondo;
    m_ritmo.start();
    m_tickInviati = 0;
    if (m_timerTick.isActive())
        m_timerTick.start(tickAlSecondo > 0 ? 10 : m_config.Intervallo_Tick_ms);
}

void ServerQuotazioni::Sospendi_Tick(bool sospesi) { m_sospesi = sospesi; }

void ServerQuotazioni::Tick()
{
    if (m_sospesi || !m_orologio.isValid() || Client_In_Tempo_Reale() == 0) {
        Imposta_Ritmo(m_config.Tick_Al_Secondo);  // no backlog of ticks once they resume
        return;
    }
    const double ritmo = m_config.Tick_Al_Secondo;
    if (ritmo <= 0) {
        Un_Tick(qint64(m_config.Intervallo_Tick_ms * m_config.Velocita));
        return;
    }
    const auto dovuti = qint64(double(m_ritmo.nsecsElapsed()) / 1e9 * ritmo);
    const auto passo = qint64(1000.0 / ritmo * m_config.Velocita);
    for (; m_tickInviati < dovuti; ++m_tickInviati)
        Un_Tick(passo);
}

void ServerQuotazioni::Un_Tick(qint64 passoMs)
{
    const QDateTime prima = m_orologio;
    const double prezzoPrima = m_prezzo;
    m_orologio = m_orologio.addMSecs(passoMs);
    auto slot = [](const QDateTime &t, int minuti) {
        const int m = t.time().hour() * 60 + t.time().minute();
        const int s = m / minuti * minuti;
        return QDateTime(t.date(), QTime(s / 60, s % 60));
    };
    // A small random walk around the last price.
    m_caso = m_caso * 1103515245u + 12345u;
    const double passo = (double((m_caso >> 8) % 2001) - 1000.0) / 1000.0;
    m_prezzo = std::max(0.01, m_prezzo * (1.0 + passo * 0.0005));
    const double volume = double((m_caso >> 4) % 50 + 1);
    m_volumeBarra += volume;
    m_volumeGiorno += volume;

    const QDateTime s5 = slot(m_orologio, 5);
    const bool nuovaBarra = s5 != slot(prima, 5);
    for (auto &c : m_client) {
        if (!c->tempoReale)
            continue;
        if (nuovaBarra) {
            const bool concluse = m_config.Barre_Concluse;
            const QDateTime tempo = concluse ? prima : m_orologio;
            const QDateTime b5 = slot(tempo, 5);
            const QDateTime s15 = slot(tempo, 15);
            const QDateTime s60 = slot(tempo, 60);
            auto hm = [](const QDateTime &t) { return t.time().toString(QStringLiteral("hh:mm")); };
            const QString p = NumeroItaliano(concluse ? prezzoPrima : m_prezzo);
            Scrivi(c.get(), QStringLiteral("COMM33"),
                   {DataLunga(b5.date()) + QLatin1Char(' ') + hm(b5), p, NumeroItaliano(m_volumeBarra, false),
                    DataLunga(s15.date()) + QLatin1Char(' ') + hm(s15), p, NumeroItaliano(volume, false),
                    DataLunga(s60.date()) + QLatin1Char(' ') + hm(s60), p, NumeroItaliano(volume, false),
                    DataLunga(tempo.date()) + QLatin1Char(' ') + m_oraGiornaliera, p,
                    NumeroItaliano(m_volumeGiorno, false)});
        }
        const double variazione =
            m_chiusuraPrecedente != 0.0 ? (m_prezzo - m_chiusuraPrecedente) / m_chiusuraPrecedente * 100.0 : 0.0;
        Scrivi(c.get(), QStringLiteral("COMM31"),
               {DataLunga(m_orologio.date()) + QLatin1Char(' ') + m_orologio.time().toString(QStringLiteral("hh:mm:ss")),
                NumeroItaliano(m_prezzo), NumeroItaliano(variazione, false),
                vb::Format(m_volumeGiorno, QStringLiteral("#,##0"), QLatin1Char(','), QLatin1Char('.'))});
    }
    if (nuovaBarra)
        m_volumeBarra = 0;
}

void ServerQuotazioni::Invia_Avviso(const QString &flag, const QString &testo)
{
    for (auto &c : m_client)
        if (c->loggato)
            Scrivi(c.get(), QStringLiteral("COMM17"), {flag, testo});
}

void ServerQuotazioni::Invia_Chiusura(const QString &flag, const QString &altro, const QString &testo)
{
    for (auto &c : m_client)
        if (c->loggato)
            Scrivi(c.get(), QStringLiteral("COMM19"), {flag, altro, testo});
}

void ServerQuotazioni::Invia_Messaggio(const QString &testo)
{
    for (auto &c : m_client)
        if (c->loggato)
            Scrivi(c.get(), QStringLiteral("COMM20"), {testo});
}

void ServerQuotazioni::Invia_Chat(const QString &testo)
{
    for (auto &c : m_client)
        if (c->loggato)
            Scrivi(c.get(), QStringLiteral("COMM25"), {testo});
}

void ServerQuotazioni::Invia_Grezzo(const QByteArray &byte)
{
    for (auto &c : m_client) {
        if (c->socket) {
            c->socket->write(byte);
            c->socket->flush();
        }
    }
}
