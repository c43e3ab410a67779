#include "simulatore/GeneratoreStorico.h"

#include "platform/DataOra.h"
#include "platform/VbRuntime.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace generatore {

namespace {

struct Barra5 {
    int giorno;  // index into the day list
    int minuti;
    double chiusura;
    double volume;
};

// Cycles of several lengths, in trading days, each with its own phase: the swings a
// cycle analysis is meant to find.
struct Ciclo {
    double periodo;
    double ampiezza;
    double fase;
};

double decimali(const QString &formato)
{
    const int punto = formato.indexOf(QLatin1Char('.'));
    return punto < 0 ? 0 : double(formato.size() - punto - 1);
}

double arrotonda(double x, double cifre)
{
    const double scala = std::pow(10.0, cifre);
    return std::round(x * scala) / scala;
}

QDate giornoFerialePrecedente(QDate d)
{
    while (d.dayOfWeek() > 5)
        d = d.addDays(-1);
    return d;
}

// Share of the day's volume traded around a moment of the session (0..1): busy at
// the open and the close, quiet at midday.
double profiloVolume(double frazione)
{
    const double x = frazione - 0.5;
    return 0.6 + 2.4 * x * x;
}

}  // namespace

QString NomeDatabase(int sottostante)
{
    static const char *const nomi[] = {"WaveloreFtseMib",    "WaveloreDax",         "WaveloreEurostoxx",
                                       "WaveloreBund",       "WaveloreEMIniSP500",  "WaveloreEMiniNasdaq",
                                       "WaveloreEuroFX"};
    if (sottostante < 1 || sottostante > 7)
        return QString();
    return QString::fromLatin1(nomi[sottostante - 1]);
}

double PrezzoTipico(const RigaSottostante &riga)
{
    const QString nome = riga.Nome.toLower();
    if (nome.contains(QLatin1String("ftse")))
        return 22000;
    if (nome.contains(QLatin1String("dax")))
        return 15500;
    if (nome.contains(QLatin1String("stoxx")))
        return 4200;
    if (nome.contains(QLatin1String("bund")))
        return 131.5;
    if (nome.contains(QLatin1String("s&p")))
        return 4500;
    if (nome.contains(QLatin1String("nasdaq")))
        return 15000;
    if (nome.contains(QLatin1String("fx")))
        return 1.0850;
    const double cifre = decimali(riga.Formato_Prezzo);
    return cifre >= 4 ? 1.2 : cifre >= 2 ? 150 : 5000;
}

storico::SetStorico Genera(const Parametri &p)
{
    storico::SetStorico set;
    const RigaSottostante &riga = p.sottostante;
    std::mt19937_64 rng(p.seme);
    std::normal_distribution<double> normale(0.0, 1.0);

    int apertura = riga.Inizio_Sessione.isValid() ? riga.Inizio_Sessione.msecsSinceStartOfDay() / 60000 : 0;
    int chiusura = riga.Fine_Sessione.isValid() ? riga.Fine_Sessione.msecsSinceStartOfDay() / 60000 : 1440;
    if (chiusura - apertura < 60) {
        apertura = 0;
        chiusura = 1440;
    }
    const int barre5Giorno = (chiusura - apertura) / 5;
    const int barre1HGiorno = std::max(1, (chiusura - apertura) / 60);
    const int barre15Giorno = std::max(1, (chiusura - apertura) / 15);
    const double cifre = decimali(riga.Formato_Prezzo);
    const double prezzo0 = p.prezzoIniziale > 0 ? p.prezzoIniziale : PrezzoTipico(riga);

    // Trading days, oldest first, ending with the newest bar's day.
    const QDate ultimo = giornoFerialePrecedente(p.ultimoGiorno.isValid() ? p.ultimoGiorno
                                                                          : QDate::currentDate().addDays(-1));
    const int giorniTotali = costanti::Barre_Storico_1D;
    std::vector<QDate> giorni(static_cast<size_t>(giorniTotali));
    {
        QDate d = ultimo;
        for (int i = giorniTotali - 1; i >= 0; --i) {
            giorni[size_t(i)] = d;
            d = giornoFerialePrecedente(d.addDays(-1));
        }
    }
    const int ultimiMinuti = p.ultimiMinuti >= 0 ? std::clamp(p.ultimiMinuti, apertura + 5, chiusura) : chiusura;
    const int barre5Ultimo = std::max(1, (ultimiMinuti - apertura) / 5);

    // Enough recent days on the five-minute grid for the hourly series, plus margin.
    const int giorniIntraday =
        std::min(giorniTotali, std::max({costanti::Barre_Storico_1H / barre1HGiorno, costanti::Barre_Storico_15M / barre15Giorno,
                                         costanti::Barre_Storico_5M / std::max(1, barre5Giorno)}) + 3);
    const int primoIntraday = giorniTotali - giorniIntraday;

    std::uniform_real_distribution<double> uniforme(0.0, 2 * std::numbers::pi);
    const double volGiorno = cifre >= 4 ? 0.005 : cifre >= 2 ? 0.006 : 0.011;
    std::vector<Ciclo> cicli;
    for (double periodo : {0.5, 1.0, 2.0, 4.0, 8.0, 16.0, 32.0, 64.0, 128.0, 256.0, 512.0, 1024.0, 2048.0})
        cicli.push_back({periodo, volGiorno * 0.45 * std::sqrt(periodo), uniforme(rng)});
    auto componenteCiclica = [&](double tau) {
        double s = 0;
        for (const Ciclo &c : cicli)
            s += c.ampiezza * std::sin(2 * std::numbers::pi * tau / c.periodo + c.fase);
        return s;
    };
    std::lognormal_distribution<double> rumoreVolume(0.0, 0.35);
    const double volumeBase = cifre >= 4 ? 900 : cifre >= 2 ? 600 : 250;

    // The random part drifts back towards the start level so that twelve years stay plausible.
    double casuale = 0;
    std::vector<double> chiusuraGiorno(static_cast<size_t>(giorniTotali));
    std::vector<double> volumeGiorno(static_cast<size_t>(giorniTotali));
    std::vector<Barra5> barre5;
    barre5.reserve(size_t(giorniIntraday) * size_t(barre5Giorno));
    for (int g = 0; g < giorniTotali; ++g) {
        if (g < primoIntraday) {
            casuale += volGiorno * normale(rng) - 0.002 * casuale;
            chiusuraGiorno[size_t(g)] = prezzo0 * std::exp(casuale + componenteCiclica(g + 1.0));
            volumeGiorno[size_t(g)] = std::round(volumeBase * barre5Giorno * rumoreVolume(rng));
            continue;
        }
        const int quante = g == giorniTotali - 1 ? barre5Ultimo : barre5Giorno;
        const double passo = volGiorno / std::sqrt(double(barre5Giorno));
        double volume = 0;
        double ultimo5 = 0;
        for (int k = 1; k <= quante; ++k) {
            casuale += passo * normale(rng) - 0.002 * casuale / barre5Giorno;
            const double frazione = double(k) / barre5Giorno;
            const double prezzo = prezzo0 * std::exp(casuale + componenteCiclica(g + frazione));
            const double v = std::max(1.0, std::round(volumeBase * profiloVolume(frazione) * rumoreVolume(rng)));
            barre5.push_back({g, apertura + 5 * k, arrotonda(prezzo, cifre), v});
            volume += v;
            ultimo5 = prezzo;
        }
        chiusuraGiorno[size_t(g)] = ultimo5;
        volumeGiorno[size_t(g)] = volume;
    }

    // Daily series, newest first.
    for (int r = 1; r <= costanti::Barre_Storico_1D; ++r) {
        const int g = giorniTotali - r;
        set.s1D.barra(r) = {giorni[size_t(g)], 0, arrotonda(chiusuraGiorno[size_t(g)], cifre), volumeGiorno[size_t(g)]};
    }

    // Intraday series: a bar stamped t closes the five-minute bars stamped after the previous stamp.
    auto aggrega = [&](SerieStorico &serie, int minutiBarra) {
        std::vector<BarraStorico> barre;
        double volume = 0;
        for (const Barra5 &b : barre5) {
            volume += b.volume;
            const bool fineBarra = (b.minuti - apertura) % minutiBarra == 0;
            const bool fineGiorno = &b == &barre5.back() || (&b + 1)->giorno != b.giorno;
            if (fineBarra || (fineGiorno && minutiBarra == 5)) {
                barre.push_back({giorni[size_t(b.giorno)], b.minuti, b.chiusura, volume});
                volume = 0;
            } else if (fineGiorno) {
                volume = 0;  // the day's last minutes short of a whole bar belong to no bar
            }
        }
        const int n = serie.capacita();
        for (int r = 1; r <= n; ++r) {
            const auto i = qsizetype(barre.size()) - r;
            serie.barra(r) = i >= 0 ? barre[size_t(i)] : barre.front();
        }
    };
    aggrega(set.s5M, 5);
    aggrega(set.s15M, 15);
    aggrega(set.s1H, 60);
    return set;
}

storico::Esito ScriviFileLocali(const storico::SetStorico &set, int sottostante)
{
    StatoMercato m;
    storico::Inizializza_Tabella_Chiave(m);
    storico::CopiaSetStorico(m, set);
    for (const QString &tf : storico::Timeframes()) {
        const storico::Esito e = storico::Salva_Storico(m, sottostante, tf);
        if (!e.ok)
            return e;
    }
    return {true, {}};
}

storico::Esito ScriviDatabase(const storico::SetStorico &set, const QString &percorso)
{
    static QAtomicInt contatore;
    const QString nome = QStringLiteral("genera_storico_%1").arg(contatore.fetchAndAddRelaxed(1));
    const QString temporaneo = percorso + QStringLiteral(".nuovo");
    QFile::remove(temporaneo);
    storico::Esito esito{true, {}};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(temporaneo);
        if (!db.open()) {
            esito = {false, db.lastError().text()};
        } else {
            QSqlQuery q(db);
            db.transaction();
            const std::pair<const char *, const SerieStorico *> tabelle[] = {
                {"TF5M", &set.s5M}, {"TF15M", &set.s15M}, {"TF1H", &set.s1H}, {"TF1D", &set.s1D}};
            for (const auto &[tabella, serie] : tabelle) {
                if (!esito.ok)
                    break;
                const QString t = QString::fromLatin1(tabella);
                // Sized columns: the ODBC driver gives each TEXT value a 64 KB buffer.
                if (!q.exec(QStringLiteral("CREATE TABLE %1 (DATA VARCHAR(6), ORA VARCHAR(4), CHIUSURA VARCHAR(16), "
                                           "VOLUME VARCHAR(16))")
                                .arg(t))) {
                    esito = {false, q.lastError().text()};
                    break;
                }
                q.prepare(QStringLiteral("INSERT INTO %1 (DATA, ORA, CHIUSURA, VOLUME) VALUES (?, ?, ?, ?)").arg(t));
                // Newest first: the download takes the stored order as it comes.
                for (int r = 1; r <= serie->capacita(); ++r) {
                    const BarraStorico &b = serie->barra(r);
                    q.addBindValue(dataora::ScriviDataCompatta(b.data));
                    q.addBindValue(dataora::ScriviOraCompatta(b.minuti));
                    q.addBindValue(vb::CStr(b.chiusura));
                    q.addBindValue(QString::number(qint64(std::llround(b.volume))));
                    if (!q.exec()) {
                        esito = {false, q.lastError().text()};
                        break;
                    }
                }
            }
            if (esito.ok && !db.commit())
                esito = {false, db.lastError().text()};
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    if (!esito.ok) {
        QFile::remove(temporaneo);
        return esito;
    }
    QFile::remove(percorso);
    if (!QFile::rename(temporaneo, percorso))
        return {false, QStringLiteral("Impossibile sostituire %1").arg(percorso)};
    return esito;
}

}  // namespace generatore
