#include "indicators/SommeFinestra.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cstring>
#include <vector>

using namespace indicatori;

// The vectorised window means must match the one-window-at-a-time loop bit for
// bit: any reordering of a sum would show up here as a last-bit difference.
class SommeFinestraTest : public QObject {
    Q_OBJECT

private slots:
    void medieIdenticheAlCicloSemplice_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("p");
        QTest::newRow("una cella") << 1 << 1;
        QTest::newRow("meno di un blocco") << 7 << 3;
        QTest::newRow("blocco esatto avx") << 32 << 5;
        QTest::newRow("blocco piu resto") << 45 << 17;
        QTest::newRow("periodo lungo") << 1300 << 1792;
        QTest::newRow("molte celle") << 4776 << 224;
    }
    void medieIdenticheAlCicloSemplice()
    {
        QFETCH(int, n);
        QFETCH(int, p);
        QRandomGenerator gen(quint32(n * 7919 + p));
        std::vector<double> x(size_t(n + p));
        double prezzo = 21345.678;
        for (double &v : x) {
            prezzo += gen.generateDouble() * 3.0 - 1.5;
            v = prezzo;
        }
        std::vector<double> veloce(size_t(n), -1.0), sse2(size_t(n), -3.0), semplice(size_t(n), -2.0);
        MedieFinestra(x.data(), n, p, veloce.data());
        MedieFinestraSse2(x.data(), n, p, sse2.data());
        MedieFinestraSemplice(x.data(), n, p, semplice.data());
        QVERIFY(std::memcmp(veloce.data(), semplice.data(), sizeof(double) * size_t(n)) == 0);
        QVERIFY(std::memcmp(sse2.data(), semplice.data(), sizeof(double) * size_t(n)) == 0);
    }

    void medieValoriNoti()
    {
        const std::vector<double> x{1, 2, 3, 4, 5, 6};
        std::vector<double> out(4);
        MedieFinestra(x.data(), 4, 3, out.data());
        QCOMPARE(out, (std::vector<double>{2, 3, 4, 5}));
    }

    void estremiComeScansione_data()
    {
        QTest::addColumn<int>("p");
        QTest::newRow("p 0 vale 1") << 0;
        QTest::newRow("p 1") << 1;
        QTest::newRow("p 3") << 3;
        QTest::newRow("p 50") << 50;
    }
    void estremiComeScansione()
    {
        QFETCH(int, p);
        QRandomGenerator gen(42);
        const int n = 300;
        const int finestra = std::max(p, 1);
        std::vector<double> x(size_t(n + finestra));
        for (double &v : x)
            v = double(gen.bounded(20));  // many ties
        std::vector<double> lo(static_cast<size_t>(n)), hi(static_cast<size_t>(n));
        EstremiFinestra(x.data(), n, p, lo.data(), hi.data());
        for (int i = 0; i < n; ++i) {
            double attesoLo = x[size_t(i)], attesoHi = x[size_t(i)];
            for (int j = 1; j < finestra; ++j) {
                attesoLo = std::min(attesoLo, x[size_t(i + j)]);
                attesoHi = std::max(attesoHi, x[size_t(i + j)]);
            }
            QCOMPARE(lo[size_t(i)], attesoLo);
            QCOMPARE(hi[size_t(i)], attesoHi);
        }
    }
};

QTEST_GUILESS_MAIN(SommeFinestraTest)
#include "SommeFinestraTest.moc"
