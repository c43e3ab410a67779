#include "Bench.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

double MisuraMediana(const QString &nome, const std::function<void()> &lavoro, int ripetizioni,
                     int riscaldamento)
{
    for (int i = 0; i < riscaldamento; ++i)
        lavoro();
    std::vector<double> tempi;
    for (int i = 0; i < ripetizioni; ++i) {
        QElapsedTimer t;
        t.start();
        lavoro();
        tempi.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(tempi.begin(), tempi.end());
    const double mediana = tempi[tempi.size() / 2];
    StampaBench(nome, mediana, QStringLiteral("ms"));
    return mediana;
}

void StampaBench(const QString &nome, double valore, const QString &unita)
{
    std::printf("BENCH %s %.3f %s\n", qPrintable(nome), valore, qPrintable(unita));
    std::fflush(stdout);
}
