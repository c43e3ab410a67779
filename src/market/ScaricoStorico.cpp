#include "market/ScaricoStorico.h"

#include "market/FusioneStorico.h"
#include "market/StoricoLocale.h"
#include "platform/Costanti.h"
#include "platform/DataOra.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <cmath>
#include <optional>

namespace scarico {

QString NomeDatabase(int sottostante)
{
    static const char *const nomi[] = {"",
                                       "WaveloreFtseMib",
                                       "WaveloreDax",
                                       "WaveloreEurostoxx",
                                       "WaveloreBund",
                                       "WaveloreEMIniSP500",
                                       "WaveloreEMiniNasdaq",
                                       "WaveloreEuroFX"};
    if (sottostante < 1 || sottostante > costanti::Num_Sottostanti)
        return QString();
    return QString::fromLatin1(nomi[sottostante]);
}

QString StringaConnessione(const QString &host, int sottostante)
{
    const QString db = NomeDatabase(sottostante);
    const QByteArray ambiente = qgetenv("WAVELORE_HISTORY_ODBC");
    if (!ambiente.isEmpty())
        return QString::fromLocal8Bit(ambiente).replace(QStringLiteral("{db}"), db);
    return QStringLiteral("DRIVER={FreeTDS};SERVER=%1;PORT=49156;DATABASE=%2;UID=WaveloreClient;"
                          "PWD=73159246;TDS_Version=7.3;")
        .arg(host, db);
}

bool LeggiTabella(QSqlDatabase &db, const char *tabella, std::vector<Riga> &righe, QString *errore, int limite)
{
    righe.clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT * FROM %1").arg(QLatin1String(tabella));
    if (limite > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limite);
    if (!q.exec(sql)) {
        *errore = q.lastError().text();
        return false;
    }
    const QSqlRecord r = q.record();
    const int iData = r.indexOf(QStringLiteral("DATA"));
    const int iOra = r.indexOf(QStringLiteral("ORA"));
    const int iChiusura = r.indexOf(QStringLiteral("CHIUSURA"));
    const int iVolume = r.indexOf(QStringLiteral("VOLUME"));
    if (iData < 0 || iOra < 0 || iChiusura < 0 || iVolume < 0) {
        *errore = QStringLiteral("%1: colonne mancanti").arg(QLatin1String(tabella));
        return false;
    }
    righe.reserve(limite > 0 ? size_t(limite) : 5000);
    while (q.next()) {
        righe.push_back(Riga{q.value(iData).toString().trimmed(), q.value(iOra).toString().trimmed(),
                             q.value(iChiusura).toString().trimmed(), q.value(iVolume).toString().trimmed()});
    }
    if (q.lastError().isValid()) {
        *errore = q.lastError().text();
        return false;
    }
    return true;
}

TabelleScaricate Scarica_Storico_Dal_Server(const QString &stringaConnessione)
{
    struct : AmbienteScarico {
        void Avanzamento(int) override {}
        void Pausa(double) override {}
    } nessuno;
    return Scarica_Storico_Dal_Server(stringaConnessione, nessuno);
}

TabelleScaricate Scarica_Storico_Dal_Server(const QString &stringaConnessione, AmbienteScarico &ambiente, bool riprova)
{
    static QAtomicInt contatore;
    TabelleScaricate t;
    t.Presenti = true;
    const QString nome = QStringLiteral("wavelore_scarico_%1").arg(contatore.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nome);
        db.setDatabaseName(stringaConnessione);
        bool aperto = db.open();
        if (!aperto && riprova) {
            ambiente.Pausa(3.0);
            aperto = db.open();
        }
        if (!aperto)
            t.Errore = db.lastError().text();
        for (int k = 1; k <= 4; ++k) {
            // A short breath before each table lets the loading caption show.
            ambiente.Pausa(0.2);
            ambiente.Avanzamento(k + 3);
            if (!aperto)
                continue;
            QString errore;
            bool ok = LeggiTabella(db, Tabelle[k], t.Righe[size_t(k)], &errore);
            if (!ok && riprova) {
                ambiente.Pausa(3.0);
                ok = LeggiTabella(db, Tabelle[k], t.Righe[size_t(k)], &errore);
            }
            t.Lette[size_t(k)] = ok;
            if (!ok && t.Errore.isEmpty())
                t.Errore = errore;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
    return t;
}

std::optional<QDate> DataRiga(const QString &t, int annoOggi)
{
    // ddmmyy; a four-digit year is accepted, its last two digits count.
    if (t.size() != 6 && t.size() != 8)
        return std::nullopt;
    return dataora::LeggiDataCompatta(t.left(4) + t.right(2), annoOggi);
}

std::optional<int> OraRiga(const QString &t)
{
    if (t.contains(QLatin1Char(':')) || t.contains(QLatin1Char('.')))
        return dataora::LeggiOra(t);
    if (t.size() == 3)
        return dataora::LeggiOraCompatta(QLatin1Char('0') + t);
    return dataora::LeggiOraCompatta(t);
}

std::optional<double> NumeroRiga(QString t)
{
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<BarraStorico> BarraDaRiga(const Riga &x, const BarraStorico *prec, int annoOggi, QString *campo)
{
    auto fallita = [campo](const char *nome) -> std::optional<BarraStorico> {
        if (campo)
            *campo = QLatin1String(nome);
        return std::nullopt;
    };
    BarraStorico b;
    // An empty cell takes the value of the bar before it; the first row has none.
    if (x.Data.isEmpty()) {
        if (!prec)
            return fallita("DATA");
        b.data = prec->data;
    } else if (auto d = DataRiga(x.Data, annoOggi)) {
        b.data = *d;
    } else {
        return fallita("DATA");
    }
    if (x.Ora.isEmpty()) {
        if (!prec)
            return fallita("ORA");
        b.minuti = prec->minuti;
    } else if (auto o = OraRiga(x.Ora)) {
        b.minuti = *o;
    } else {
        return fallita("ORA");
    }
    if (x.Chiusura.isEmpty()) {
        if (!prec)
            return fallita("CHIUSURA");
        b.chiusura = prec->chiusura;
    } else if (auto c = NumeroRiga(x.Chiusura)) {
        b.chiusura = *c;
    } else {
        return fallita("CHIUSURA");
    }
    if (x.Volume.isEmpty()) {
        if (!prec)
            return fallita("VOLUME");
        b.volume = prec->volume;
    } else if (auto v = NumeroRiga(x.Volume)) {
        b.volume = std::floor(*v);
    } else {
        return fallita("VOLUME");
    }
    // A bar the local files cannot hold would stop every later save of the series.
    if (!storico::Barra_Registrabile(b, annoOggi))
        return fallita("");
    return b;
}

namespace {

bool Copia(const std::vector<Riga> &righe, SerieStorico &serie, const char *tabella, int annoOggi, QString *problema)
{
    for (int r = 1; r <= serie.capacita(); ++r) {
        const BarraStorico *prec = r > 1 ? &serie.barra(r - 1) : nullptr;
        QString campo;
        const auto b = BarraDaRiga(righe[size_t(r - 1)], prec, annoOggi, &campo);
        if (!b) {
            if (problema)
                *problema = campo.isEmpty()
                                ? QStringLiteral("%1 riga %2: valori non registrabili nello storico locale")
                                      .arg(QLatin1String(tabella))
                                      .arg(r)
                                : QStringLiteral("%1 riga %2: %3 non valido").arg(QLatin1String(tabella)).arg(r).arg(campo);
            return false;
        }
        // Newest first: a row newer than the one before it means the table is out of order.
        if (prec && (b->data > prec->data || (b->data == prec->data && b->minuti > prec->minuti))) {
            if (problema)
                *problema = QStringLiteral("%1 riga %2: fuori ordine").arg(QLatin1String(tabella)).arg(r);
            return false;
        }
        serie.barra(r) = *b;
    }
    return true;
}

}  // namespace

bool Carica_Storico_Da_Server(StatoMercato &m, const TabelleScaricate &t, QString *problema, int annoOggi)
{
    if (!t.Presenti) {
        if (problema)
            *problema = QStringLiteral("storico non scaricato");
        return false;
    }
    std::array<SerieStorico, 5> nuove;
    for (int k = 1; k <= 4; ++k) {
        const int n = fusione::Serie(m, k).capacita();
        const auto &righe = t.Righe[size_t(k)];
        if (!t.Lette[size_t(k)] || int(righe.size()) != n) {
            if (problema)
                *problema = QStringLiteral("%1: %2 righe invece di %3%4")
                                .arg(QLatin1String(Tabelle[k]))
                                .arg(righe.size())
                                .arg(n)
                                .arg(t.Errore.isEmpty() ? QString()
                                                        : QStringLiteral(" (") + t.Errore + QLatin1Char(')'));
            return false;
        }
    }
    for (int k = 1; k <= 4; ++k) {
        nuove[size_t(k)] = SerieStorico(fusione::Serie(m, k).capacita());
        if (!Copia(t.Righe[size_t(k)], nuove[size_t(k)], Tabelle[k], annoOggi, problema))
            return false;
    }
    for (int k = 1; k <= 4; ++k)
        fusione::Serie(m, k) = std::move(nuove[size_t(k)]);
    return true;
}

}  // namespace scarico
