#include "platform/VbRuntime.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <limits>

namespace vb {

namespace {

double arrotondaPari(double x)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even by default.
    return std::nearbyint(x);
}

template <typename T>
std::optional<T> converti(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    const double r = arrotondaPari(x);
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return T(r);
}

template <typename T>
T convertiLimitato(double x)
{
    if (std::isnan(x))
        return 0;
    if (auto v = converti<T>(x))
        return *v;
    return x < 0 ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
}

}  // namespace

std::optional<int> CIntChecked(double x) { return converti<int>(x); }
std::optional<long long> CLngChecked(double x) { return converti<long long>(x); }
int CInt(double x) { return convertiLimitato<int>(x); }
long long CLng(double x) { return convertiLimitato<long long>(x); }
double Int(double x) { return std::floor(x); }

std::optional<double> LeggiNumero(const QString &testo)
{
    QString t = testo.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Exponent part is kept aside so its sign is not mistaken for separators.
    const int lastDot = t.lastIndexOf(QLatin1Char('.'));
    const int lastComma = t.lastIndexOf(QLatin1Char(','));
    QChar decimale;
    QChar migliaia;
    if (lastDot >= 0 && lastComma >= 0) {
        decimale = lastDot > lastComma ? QLatin1Char('.') : QLatin1Char(',');
        migliaia = lastDot > lastComma ? QLatin1Char(',') : QLatin1Char('.');
    } else if (lastComma >= 0) {
        // Several commas and no dot can only be thousands separators.
        if (t.count(QLatin1Char(',')) > 1)
            migliaia = QLatin1Char(',');
        else
            decimale = QLatin1Char(',');
    } else if (lastDot >= 0) {
        if (t.count(QLatin1Char('.')) > 1)
            migliaia = QLatin1Char('.');
        else
            decimale = QLatin1Char('.');
    }
    QString pulito;
    pulito.reserve(t.size());
    for (QChar c : t) {
        if (!migliaia.isNull() && c == migliaia)
            continue;
        if (!decimale.isNull() && c == decimale) {
            pulito.append(QLatin1Char('.'));
            continue;
        }
        pulito.append(c);
    }
    // Only plain decimal notation: digits, one sign, one point, an optional exponent.
    static constexpr QLatin1StringView ammessi("0123456789+-.eE");
    for (QChar c : pulito)
        if (!ammessi.contains(c))
            return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(pulito, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool IsNumeric(const QString &testo) { return LeggiNumero(testo).has_value(); }

double CDbl(const QString &testo, double predefinito)
{
    const auto v = LeggiNumero(testo);
    return v ? *v : predefinito;
}

double Val(const QString &testo)
{
    QString cifre;
    bool punto = false;
    bool inizio = true;
    for (QChar c : testo) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if (inizio && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            cifre.append(c);
            inizio = false;
            continue;
        }
        inizio = false;
        if (c.isDigit() && c.unicode() < 128) {
            cifre.append(c);
        } else if (c == QLatin1Char('.') && !punto) {
            punto = true;
            cifre.append(c);
        } else {
            break;
        }
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(cifre, &ok);
    return ok ? v : 0.0;
}

QString CStr(double x, QChar separatoreDecimale)
{
    if (!std::isfinite(x))
        return QString();
    if (x == 0.0)
        return QStringLiteral("0");
    QString s = QString::number(x, 'g', 15);
    if (s.contains(QLatin1Char('e'))) {
        // Ordinary magnitudes are written in full, as the runtime does below 1e15.
        const double ax = std::fabs(x);
        if (ax >= 1e-5 && ax < 1e15) {
            const int cifreIntere = ax >= 1 ? int(std::floor(std::log10(ax))) + 1 : 0;
            const int decimali = std::max(0, 15 - cifreIntere + (ax < 1 ? int(-std::floor(std::log10(ax))) - 1 : 0));
            s = QString::number(x, 'f', std::min(decimali, 30));
            if (s.contains(QLatin1Char('.'))) {
                while (s.endsWith(QLatin1Char('0')))
                    s.chop(1);
                if (s.endsWith(QLatin1Char('.')))
                    s.chop(1);
            }
        } else {
            s.replace(QLatin1String("e+"), QLatin1String("E+"));
            s.replace(QLatin1String("e-"), QLatin1String("E-"));
        }
    }
    if (separatoreDecimale != QLatin1Char('.'))
        s.replace(QLatin1Char('.'), separatoreDecimale);
    return s;
}

QString Format(double x, const QString &pattern, QChar separatoreDecimale, QChar separatoreMigliaia)
{
    if (!std::isfinite(x))
        return QString();
    const int punto = pattern.indexOf(QLatin1Char('.'));
    const QString parteIntera = punto >= 0 ? pattern.left(punto) : pattern;
    const QString parteDecimale = punto >= 0 ? pattern.mid(punto + 1) : QString();
    const int decimaliMin = int(parteDecimale.count(QLatin1Char('0')));
    const int decimaliMax = decimaliMin + int(parteDecimale.count(QLatin1Char('#')));
    const int interiMin = int(parteIntera.count(QLatin1Char('0')));
    const bool raggruppa = parteIntera.contains(QLatin1Char(','));

    // Halves away from zero, on the decimal text so 2.675 style values round as written.
    const double scala = std::pow(10.0, decimaliMax);
    double arrotondato = std::round(std::fabs(x) * scala) / scala;
    const QString breve = QString::number(std::fabs(x), 'f', decimaliMax + 3);
    bool ok = false;
    const double daTesto = breve.toDouble(&ok);
    if (ok) {
        const QString conCifre = QString::number(daTesto, 'g', 15);
        const double ritagliato = conCifre.toDouble();
        arrotondato = std::round(ritagliato * scala) / scala;
    }
    QString testo = QString::number(arrotondato, 'f', decimaliMax);
    QString intero = testo;
    QString decimali;
    const int p = testo.indexOf(QLatin1Char('.'));
    if (p >= 0) {
        intero = testo.left(p);
        decimali = testo.mid(p + 1);
    }
    while (decimali.size() > decimaliMin && decimali.endsWith(QLatin1Char('0')))
        decimali.chop(1);
    if (intero == QLatin1String("0") && interiMin == 0)
        intero.clear();
    while (intero.size() < interiMin)
        intero.prepend(QLatin1Char('0'));
    if (raggruppa && intero.size() > 3) {
        QString gruppi;
        int n = 0;
        for (int i = int(intero.size()) - 1; i >= 0; --i) {
            gruppi.prepend(intero.at(i));
            if (++n % 3 == 0 && i > 0)
                gruppi.prepend(separatoreMigliaia);
        }
        intero = gruppi;
    }
    QString risultato = intero;
    if (!decimali.isEmpty())
        risultato += separatoreDecimale + decimali;
    else if (punto >= 0 && decimaliMin == 0 && decimaliMax > 0)
        risultato += QString();  // "0.##" with nothing after the point drops the point
    const bool zero = arrotondato == 0.0;
    if (x < 0 && !zero)
        risultato.prepend(QLatin1Char('-'));
    return risultato;
}

QString TestoNumero(double x)
{
    if (!std::isfinite(x))
        return QStringLiteral("0");
    return QString::number(x, 'f', QLocale::FloatingPointShortest);
}

}  // namespace vb
