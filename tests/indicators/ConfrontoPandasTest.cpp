// Independent cross-check: the rows of every mean-based item, computed for
// generated series, against the same definitions rebuilt in Python on pandas'
// rolling means, minima and maxima (to 1e-9). Skipped when python3 with pandas
// is not installed.

#include "ProvaIndicatori.h"
#include "indicators/MotoreIndicatori.h"
#include "indicators/TabellaIndicatori.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

const char *const Verifica = R"PY(
import sys
import numpy as np
import pandas as pd

MARK = 10000000.0
LAST = 5000

def fw(vals, p):
    # out[k] = mean(vals[k .. k + p - 1]) from pandas' own rolling mean
    s = pd.Series(np.asarray(vals, dtype=float)[::-1])
    return s.rolling(p).mean().to_numpy()[::-1]

def fw_ext(vals, p, kind):
    s = pd.Series(np.asarray(vals, dtype=float)[::-1])
    r = s.rolling(p).min() if kind == 'min' else s.rolling(p).max()
    return r.to_numpy()[::-1]

def bars(p, bc, b):
    n = b - p if p + bc >= b else int(round(bc))
    return max(0, min(n, max(0, b - p)))

def period(d, k):
    return int(np.floor(d / k))

def user_period(text):
    try:
        v = float(text.replace(',', '.'))
    except ValueError:
        return 0
    v = np.floor(v)
    return int(v) if 1 <= v <= LAST else 0

errors = []

def expect(name, got, values, mark):
    values = list(values)
    for i in range(1, LAST + 1):
        want = values[i - 1] if i <= len(values) else mark
        g = got[i]
        if abs(g - want) > 1e-9 * max(1.0, abs(g), abs(want)):
            errors.append('%s cell %d: %r != %r' % (name, i, g, want))
            return

def trailing(c, p, bc):
    n = bars(p, bc, len(c)) if p >= 1 else 0
    return list(fw(c, p)[:n]) if n > 0 else []

def centred(c, p, bc):
    if p < 2 or p >= len(c):
        return []
    q = p // 2
    n = bars(p, bc, len(c))
    s = [c[0]] * (q - 1) + list(c)
    return list(fw(s, p)[:n]) if n > 0 else []

def velocity(avg, q):
    raw = [avg[i] - avg[i + 1] for i in range(len(avg) - 1)]
    m = max(len(avg) - q, 0) if q >= 1 else 0
    return raw, (list(fw(raw, q)[:m]) if m > 0 else [])

for path in sys.argv[1:]:
    frame = pd.read_csv(path)
    grado, b, d, bc, u1, u2 = open(path + '.par').read().split(';')
    b = int(b); d = float(d); bc = float(bc)
    c = frame['chiusura'].to_numpy()[1:b + 1]
    col = {name: frame[name].to_numpy() for name in frame.columns}
    tag = 'degree ' + grado + ' '
    for k, name in ((2, 'Ind_Media_C2'), (4, 'Ind_Media_C4'), (8, 'Ind_Media_C8'), (16, 'Ind_Media_C16')):
        expect(tag + name, col[name], trailing(c, period(d, k), bc), 0.0)
    expect(tag + 'Ind_Media_Utente_1', col['Ind_Media_Utente_1'], trailing(c, user_period(u1), bc), 0.0)
    expect(tag + 'Ind_Media_Utente_2', col['Ind_Media_Utente_2'], trailing(c, user_period(u2), bc), 0.0)
    p, q = period(d, 2), period(d, 8)
    n = bars(p, bc, b)
    lo = fw_ext(c, max(p, 1), 'min')[:n]
    hi = fw_ext(c, max(p, 1), 'max')[:n]
    raw_min = list(c[:n] - lo)
    raw_max = list(c[:n] - hi)
    m = max(n - q, 0)
    expect(tag + 'Ind_Stoc_Dist_Min', col['Ind_Stoc_Dist_Min'], raw_min, MARK)
    expect(tag + 'Ind_Stoc_Dist_Max', col['Ind_Stoc_Dist_Max'], raw_max, MARK)
    expect(tag + 'Ind_Stoc_Dist_Min_Media', col['Ind_Stoc_Dist_Min_Media'], fw(raw_min, q)[:m] if m else [], MARK)
    expect(tag + 'Ind_Stoc_Dist_Max_Media', col['Ind_Stoc_Dist_Max_Media'], fw(raw_max, q)[:m] if m else [], MARK)
    for k, name in ((2, 'Ind_Velocita_C2'), (4, 'Ind_Velocita_C4'), (8, 'Ind_Velocita_C8')):
        raw, smooth = velocity(trailing(c, period(d, k), bc), q)
        expect(tag + name, col[name], raw, MARK)
        expect(tag + name + '_Media', col[name + '_Media'], smooth, MARK)
    cent = {k: centred(c, period(d, k), bc) for k in (2, 4, 8, 16)}
    for k, name in ((2, 'Ind_Centrata_C2'), (4, 'Ind_Centrata_C4'), (8, 'Ind_Centrata_C8'), (16, 'Ind_Centrata_C16')):
        expect(tag + name, col[name], cent[k], 0.0)
    raw, smooth = velocity(cent[2], q)
    expect(tag + 'Ind_Velocita_Centrata', col['Ind_Velocita_Centrata'], raw, MARK)
    expect(tag + 'Ind_Velocita_Centrata_Media', col['Ind_Velocita_Centrata_Media'], smooth, MARK)
    for k1, k2, twice, name in ((2, 4, False, 'Ind_Osc_C4_C2'), (4, 8, False, 'Ind_Osc_C8_C4'),
                                (8, 16, False, 'Ind_Osc_C16_C8'), (2, 8, True, 'Ind_Osc_C8_C2')):
        m1, m2 = cent[k1], cent[k2]
        vals = []
        if m1 and m2:
            count = max(0, min(int(round(bc - period(d, k1))), len(m1), len(m2)))
            vals = [(2 * m2[i] if twice else m2[i]) - m1[i] for i in range(count)]
        expect(tag + name, col[name], vals, MARK)

if errors:
    print('\n'.join(errors[:40]))
    sys.exit(1)
print('ok')
)PY";

struct Scenario {
    int grado;
    double durata;
    double barreCalcolo;
    int modo;
    QString utente1;
    QString utente2;
};

QString interprete()
{
    for (const QString &candidato : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(candidato, {QStringLiteral("-c"), QStringLiteral("import pandas")});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return candidato;
    }
    return {};
}

}  // namespace

class ConfrontoPandasTest : public QObject {
    Q_OBJECT

private slots:
    void medieComePandas()
    {
        const QString python = interprete();
        if (python.isEmpty())
            QSKIP("python3 with pandas is not installed");

        QTemporaryDir cartella;
        QVERIFY(cartella.isValid());
        auto stato = prova::NuovoStato();
        stato->shell.Blocco_Grafici = true;
        MotoreIndicatori motore(stato->shell, stato->archivio, stato->mercato, stato->cicli, stato->indicatori);

        const QList<Scenario> scenari{
            {0, 2600.0, 2600.0, 1, QStringLiteral("200"), QStringLiteral("1000")},  // daily, N = B - p
            {6, 1000.7, 3584.0, 0, QStringLiteral("7"), QStringLiteral("4999")},    // 15-minute, standard mode
            {11, 84.0, 336.5, 1, QStringLiteral("1"), QString()},                   // 5-minute, rounded N
            {4, 3584.0, 1200.0, 1, QStringLiteral("33,9"), QStringLiteral("0")},     // hourly, N = Barre_Calcolo
        };
        const StatoIndicatori &o = stato->indicatori;
        const QList<QPair<QString, const ArrayIndicatore *>> colonne{
            {"Ind_Media_C2", &o.Ind_Media_C2}, {"Ind_Media_C4", &o.Ind_Media_C4},
            {"Ind_Media_C8", &o.Ind_Media_C8}, {"Ind_Media_C16", &o.Ind_Media_C16},
            {"Ind_Media_Utente_1", &o.Ind_Media_Utente_1}, {"Ind_Media_Utente_2", &o.Ind_Media_Utente_2},
            {"Ind_Stoc_Dist_Min", &o.Ind_Stoc_Dist_Min}, {"Ind_Stoc_Dist_Min_Media", &o.Ind_Stoc_Dist_Min_Media},
            {"Ind_Stoc_Dist_Max", &o.Ind_Stoc_Dist_Max}, {"Ind_Stoc_Dist_Max_Media", &o.Ind_Stoc_Dist_Max_Media},
            {"Ind_Velocita_C2", &o.Ind_Velocita_C2}, {"Ind_Velocita_C2_Media", &o.Ind_Velocita_C2_Media},
            {"Ind_Velocita_C4", &o.Ind_Velocita_C4}, {"Ind_Velocita_C4_Media", &o.Ind_Velocita_C4_Media},
            {"Ind_Velocita_C8", &o.Ind_Velocita_C8}, {"Ind_Velocita_C8_Media", &o.Ind_Velocita_C8_Media},
            {"Ind_Centrata_C2", &o.Ind_Centrata_C2}, {"Ind_Centrata_C4", &o.Ind_Centrata_C4},
            {"Ind_Centrata_C8", &o.Ind_Centrata_C8}, {"Ind_Centrata_C16", &o.Ind_Centrata_C16},
            {"Ind_Velocita_Centrata", &o.Ind_Velocita_Centrata},
            {"Ind_Velocita_Centrata_Media", &o.Ind_Velocita_Centrata_Media},
            {"Ind_Osc_C4_C2", &o.Ind_Osc_C4_C2}, {"Ind_Osc_C8_C4", &o.Ind_Osc_C8_C4},
            {"Ind_Osc_C16_C8", &o.Ind_Osc_C16_C8}, {"Ind_Osc_C8_C2", &o.Ind_Osc_C8_C2},
        };

        QStringList file;
        for (const Scenario &s : scenari) {
            const auto g = size_t(s.grado);
            prova::Cammino(*stato, s.grado, quint32(100 + s.grado));
            stato->cicli.Durata[g] = s.modo ? s.durata : s.durata * 3.0;
            stato->cicli.Durata_Standard[g] = s.modo ? s.durata * 3.0 : s.durata;
            stato->cicli.Barre_Calcolo[g] = s.barreCalcolo;
            stato->indicatori.Modo_Adattivo[g] = s.modo;
            stato->indicatori.Periodo_Utente_1[g] = s.utente1;
            stato->indicatori.Periodo_Utente_2[g] = s.utente2;
            for (int k = 0; k < 19; ++k)
                stato->indicatori.Ind_Attivo[g][size_t(k)] = 1;
            stato->cicli.Conf_Grafici[0] = {1, s.grado, 0};
            motore.Aggiorna_Indicatori(0);

            const SerieStorico &serie = posizione::SerieDelGrado(stato->mercato, s.grado);
            const QString nome = cartella.filePath(QStringLiteral("grado%1.csv").arg(s.grado));
            QFile csv(nome);
            QVERIFY(csv.open(QIODevice::WriteOnly | QIODevice::Text));
            QTextStream t(&csv);
            t.setRealNumberPrecision(17);
            t << "chiusura";
            for (const auto &c : colonne)
                t << ',' << c.first;
            t << '\n';
            for (int i = 0; i <= indicatori::Ultima_Cella; ++i) {
                t << (i >= 1 && i <= serie.capacita() ? serie.barra(i).chiusura : 0.0);
                for (const auto &c : colonne)
                    t << ',' << (*c.second)(s.grado, i);
                t << '\n';
            }
            csv.close();
            QFile par(nome + QStringLiteral(".par"));
            QVERIFY(par.open(QIODevice::WriteOnly | QIODevice::Text));
            QTextStream(&par) << s.grado << ';' << serie.capacita() << ';' << QString::number(s.durata, 'g', 17)
                              << ';' << QString::number(s.barreCalcolo, 'g', 17) << ';' << s.utente1 << ';'
                              << s.utente2;
            file << nome;
        }

        const QString script = cartella.filePath(QStringLiteral("verifica.py"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Verifica);
        f.close();
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(python, QStringList{script} + file);
        QVERIFY(p.waitForFinished(120000));
        const QString uscita = QString::fromUtf8(p.readAll());
        QVERIFY2(p.exitCode() == 0, qPrintable(uscita));
        QCOMPARE(uscita.trimmed(), QStringLiteral("ok"));
    }
};

QTEST_GUILESS_MAIN(ConfrontoPandasTest)
#include "ConfrontoPandasTest.moc"
