#include "market/FusioneStorico.h"

#include "market/ScaricoStorico.h"
#include "market/StoricoLocale.h"
#include "platform/DataOra.h"

#include <algorithm>
#include <optional>

namespace fusione {

SerieStorico &Serie(StatoMercato &m, int k)
{
    switch (k) {
    case 1:
        return m.Storico_5M;
    case 2:
        return m.Storico_15M;
    case 3:
        return m.Storico_1H;
    default:
        return m.Storico_1D;
    }
}

int TimeframeGrado(int d)
{
    if (d <= 3)
        return 4;
    if (d <= 5)
        return 3;
    if (d <= 9)
        return 2;
    return 1;
}

std::optional<double> NumeroServer(const QString &testo)
{
    QString t = testo.trimmed();
    t.remove(QLatin1Char('.'));
    return scarico::NumeroRiga(t);
}

namespace {

// Pushes the series down by `passi` rows; the oldest rows fall out.
void Sposta(SerieStorico &h, int passi)
{
    auto &b = h.barre();
    if (passi <= 0 || b.empty())
        return;
    if (size_t(passi) >= b.size()) {
        std::fill(b.begin(), b.end(), BarraStorico{});
        return;
    }
    std::move_backward(b.begin(), b.end() - passi, b.end());
}

// Sort key of a bar: date then minutes; daily bars by date alone.
qint64 Chiave(const QDate &data, int minuti, bool giornaliero)
{
    return data.toJulianDay() * 1440 + (giornaliero ? 0 : minuti);
}

struct BarraServer {
    BarraStorico barra;
    bool valida = false;
};

// A new bar's date: its quote's, unless the bar's time of day is later than the
// quote's: then the bar ended at or before midnight and reached the client with a
// quote of the new day, so it is the day before's. The daily bar is the quote's day.
QDate DataBarraRT(const QDateTime &quotazione, int minuti, bool giornaliero)
{
    const QDate giorno = quotazione.date();
    const int minutiQuotazione = quotazione.time().hour() * 60 + quotazione.time().minute();
    return !giornaliero && minuti > minutiQuotazione ? giorno.addDays(-1) : giorno;
}

BarraServer LeggiBarraServer(const std::array<QString, 5> &campi, bool giornaliero, int annoOggi)
{
    BarraServer s;
    // The server writes dates day/month/year whatever the client's convention.
    const auto data = dataora::LeggiData(campi[1], QStringLiteral("DD/MM/YY"), annoOggi);
    const auto ora = dataora::LeggiOra(campi[2]);
    const auto chiusura = NumeroServer(campi[3]);
    const auto volume = NumeroServer(campi[4]);
    if (!data || !chiusura || !volume)
        return s;
    if (!ora && !giornaliero)
        return s;
    s.barra.data = *data;
    s.barra.minuti = ora.value_or(0);
    s.barra.chiusura = *chiusura;
    s.barra.volume = *volume;
    s.valida = storico::Barra_Registrabile(s.barra, annoOggi);
    return s;
}

}  // namespace

EsitoUltimeBarre Aggiorna_Ultime_Barre_Storico(StatoMercato &m, int annoOggi)
{
    EsitoUltimeBarre esito;
    if (!m.Aggiorna_Storico)
        return esito;
    m.Aggiorna_Storico = false;
    esito.Eseguita = true;
    for (int k = 1; k <= 4; ++k) {
        const bool giornaliero = k == 4;
        const BarraServer s1 = LeggiBarraServer(m.Tab_Server[k][1], giornaliero, annoOggi);
        const BarraServer s2 = LeggiBarraServer(m.Tab_Server[k][2], giornaliero, annoOggi);
        SerieStorico &h = Serie(m, k);
        if (!s1.valida || !s2.valida || h.capacita() < 2)
            continue;
        const qint64 c1 = Chiave(s1.barra.data, s1.barra.minuti, giornaliero);
        const qint64 c2 = Chiave(s2.barra.data, s2.barra.minuti, giornaliero);
        if (c2 >= c1)
            continue;  // the two server bars out of order: trust neither
        const BarraStorico &primo = h.barra(1);
        const qint64 ch = primo.data.isValid() ? Chiave(primo.data, primo.minuti, giornaliero) : -1;
        Azione a;
        if (ch == c1)
            a = Azione::Aggiorna;
        else if (ch == c2)
            a = Azione::Sposta1;
        else if (ch > c1)
            a = Azione::Nessuna;  // the stored history is already newer
        else if (ch > c2)
            a = Azione::Inserisci1;  // stored bar between the two server bars: keep it
        else
            a = Azione::Sposta2;
        switch (a) {
        case Azione::Aggiorna:
            h.barra(1) = s1.barra;
            break;
        case Azione::Sposta1:
            Sposta(h, 1);
            h.barra(1) = s1.barra;
            h.barra(2) = s2.barra;
            break;
        case Azione::Inserisci1:
            Sposta(h, 1);
            h.barra(1) = s1.barra;
            break;
        case Azione::Sposta2:
            Sposta(h, 2);
            h.barra(1) = s1.barra;
            h.barra(2) = s2.barra;
            break;
        case Azione::Nessuna:
            break;
        }
        esito.Azioni[size_t(k)] = a;
    }
    return esito;
}

EsitoFusioneRT Fondi_Barre_RT(StatoMercato &m, const QDateTime &quotazione, const QTime &fineSessione,
                              int annoOggi)
{
    EsitoFusioneRT esito;
    if (!quotazione.isValid())
        return esito;
    esito.Eseguita = true;
    const int ora = quotazione.time().hour();
    const int m5 = quotazione.time().minute() / 5 * 5;
    const bool fineGiorno = fineSessione.isValid() && fineSessione.hour() == ora && fineSessione.minute() == m5;
    const bool dovuto[5] = {false, true, m5 % 15 == 0, m5 == 0, fineGiorno};
    for (int k = 1; k <= 4; ++k) {
        if (!dovuto[k])
            continue;
        const bool giornaliero = k == 4;
        const StatoMercato::BarraRT &b = m.Agg_Barra[size_t(k)];
        // The bar's time is the part after the blank of its date-time text.
        const QString testo = b.Data_Ora.trimmed();
        const qsizetype spazio = testo.indexOf(QLatin1Char(' '));
        const auto minuti = dataora::LeggiOra(spazio >= 0 ? testo.mid(spazio + 1) : testo);
        if (!minuti && !giornaliero)
            continue;
        const BarraStorico nuova{DataBarraRT(quotazione, minuti.value_or(0), giornaliero), minuti.value_or(0),
                                 b.Chiusura, b.Volume};
        // Refused here, or every later save of the series would fail on it.
        if (!storico::Barra_Registrabile(nuova, annoOggi))
            continue;
        SerieStorico &h = Serie(m, k);
        if (h.capacita() < 1)
            continue;
        const BarraStorico &primo = h.barra(1);
        const qint64 cn = Chiave(nuova.data, nuova.minuti, giornaliero);
        const qint64 ch = primo.data.isValid() ? Chiave(primo.data, primo.minuti, giornaliero) : -1;
        if (cn < ch)
            continue;  // older than what is stored
        if (cn > ch) {
            Sposta(h, 1);
            esito.Nuova[size_t(k)] = true;
        }
        h.barra(1) = nuova;
        esito.Aggiornata[size_t(k)] = true;
    }
    return esito;
}

}  // namespace fusione
