#include "platform/DataOra.h"

#include <QRegularExpression>

namespace dataora {

int AnnoCorrente() { return QDate::currentDate().year(); }

int AnnoDaDueCifre(int yy, int annoOggi)
{
    const int primo = annoOggi - 79;
    const int anno = primo - primo % 100 + yy;
    return anno < primo ? anno + 100 : anno;
}

bool AnnoInDueCifre(int anno, int annoOggi) { return anno >= annoOggi - 79 && anno <= annoOggi + 20; }

namespace {

std::optional<int> intero(const QString &t)
{
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
    return t.toInt();
}

bool giornoPrima(const QString &formatoData)
{
    return !formatoData.startsWith(QLatin1String("MM"), Qt::CaseInsensitive);
}

QString due(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

}  // namespace

std::optional<QDate> LeggiData(const QString &testo, const QString &formatoData, int annoOggi)
{
    static const QRegularExpression sep(QStringLiteral("[/.\\-]"));
    const QStringList parti = testo.trimmed().split(sep);
    if (parti.size() != 3)
        return std::nullopt;
    auto a = intero(parti[0]);
    auto b = intero(parti[1]);
    auto c = intero(parti[2]);
    if (!a || !b || !c || parti[0].size() > 2 || parti[1].size() > 2)
        return std::nullopt;
    int anno = *c;
    if (parti[2].size() <= 2)
        anno = AnnoDaDueCifre(anno, annoOggi);
    else if (parti[2].size() != 4)
        return std::nullopt;
    const int giorno = giornoPrima(formatoData) ? *a : *b;
    const int mese = giornoPrima(formatoData) ? *b : *a;
    const QDate d(anno, mese, giorno);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString ScriviData(const QDate &data, const QString &formatoData)
{
    if (!data.isValid())
        return QString();
    const bool annoLungo = formatoData.contains(QLatin1String("YYYY"), Qt::CaseInsensitive);
    const QString anno = annoLungo ? QString::number(data.year()) : due(data.year() % 100);
    if (giornoPrima(formatoData))
        return due(data.day()) + QLatin1Char('/') + due(data.month()) + QLatin1Char('/') + anno;
    return due(data.month()) + QLatin1Char('/') + due(data.day()) + QLatin1Char('/') + anno;
}

std::optional<int> LeggiOra(const QString &testo)
{
    QString t = testo.trimmed().toUpper();
    int spostamento = -1;  // -1 none, 0 AM, 12 PM
    if (t.endsWith(QLatin1String("AM"))) {
        spostamento = 0;
        t.chop(2);
    } else if (t.endsWith(QLatin1String("PM"))) {
        spostamento = 12;
        t.chop(2);
    }
    t = t.trimmed();
    static const QRegularExpression sep(QStringLiteral("[:.]"));
    const QStringList parti = t.split(sep);
    if (parti.size() < 2 || parti.size() > 3)
        return std::nullopt;
    auto h = intero(parti[0]);
    auto m = intero(parti[1]);
    if (!h || !m || *m > 59)
        return std::nullopt;
    if (parti.size() == 3) {
        auto s = intero(parti[2]);
        if (!s || *s > 59)
            return std::nullopt;
    }
    int ore = *h;
    if (spostamento >= 0) {
        if (ore < 1 || ore > 12)
            return std::nullopt;
        ore = ore % 12 + spostamento;
    }
    if (ore > 23)
        return std::nullopt;
    return ore * 60 + *m;
}

QString ScriviOra(int minuti, const QString &formatoOra, int secondi)
{
    minuti = ((minuti % 1440) + 1440) % 1440;
    int ore = minuti / 60;
    const int mm = minuti % 60;
    const bool ampm = formatoOra.contains(QLatin1String("AM/PM"), Qt::CaseInsensitive);
    const bool conSecondi = formatoOra.contains(QLatin1String("ss"));
    QString suffisso;
    if (ampm) {
        suffisso = ore < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM");
        ore = ore % 12;
        if (ore == 0)
            ore = 12;
    }
    QString t = QString::number(ore) + QLatin1Char(':') + due(mm);
    if (conSecondi)
        t += QLatin1Char(':') + due(secondi);
    return t + suffisso;
}

QString ScriviDataCompatta(const QDate &data)
{
    return due(data.day()) + due(data.month()) + due(data.year() % 100);
}

std::optional<QDate> LeggiDataCompatta(const QString &testo, int annoOggi)
{
    if (testo.size() != 6)
        return std::nullopt;
    auto g = intero(testo.mid(0, 2));
    auto m = intero(testo.mid(2, 2));
    auto a = intero(testo.mid(4, 2));
    if (!g || !m || !a)
        return std::nullopt;
    const QDate d(AnnoDaDueCifre(*a, annoOggi), *m, *g);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString ScriviOraCompatta(int minuti) { return due(minuti / 60) + due(minuti % 60); }

std::optional<int> LeggiOraCompatta(const QString &testo)
{
    if (testo.size() != 4)
        return std::nullopt;
    auto h = intero(testo.left(2));
    auto m = intero(testo.mid(2));
    if (!h || !m || *h > 23 || *m > 59)
        return std::nullopt;
    return *h * 60 + *m;
}

}  // namespace dataora
