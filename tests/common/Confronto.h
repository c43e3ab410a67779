#pragma once

#include <QtTest>
#include <cmath>

// Relative-tolerance compare for doubles, shared by every numeric test.
inline bool quasiUguali(double a, double b, double tolleranza = 1e-9)
{
    if (a == b)
        return true;
    const double scala = std::max({1.0, std::fabs(a), std::fabs(b)});
    return std::fabs(a - b) <= tolleranza * scala;
}

#define QCOMPARE_FUZZY(a, b)                                                                 \
    QVERIFY2(quasiUguali((a), (b)), qPrintable(QStringLiteral("%1 != %2").arg((a), 0, 'g', 17) \
                                                   .arg((b), 0, 'g', 17)))
