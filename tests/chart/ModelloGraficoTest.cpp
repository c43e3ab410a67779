#include "chart/ModelloGrafico.h"

#include <QtTest>

// The chart's content without a window: axes added, emptied and chosen, calls refused.
class ModelloGraficoTest : public QObject {
    Q_OBJECT

private slots:
    void svuotaTieneGliAssi1()
    {
        ModelloGrafico m;
        QCOMPARE(m.Aggiungi_Asse_Y(2), 2);
        QCOMPARE(m.Aggiungi_Asse_X(3), 3);
        QCOMPARE(m.Aggiungi_Asse_X(), 2);  // the lowest free number
        QCOMPARE(m.Aggiungi_Asse_X(), 0);  // none left
        for (int atteso = 3; atteso <= 7; ++atteso)
            QCOMPARE(m.Aggiungi_Asse_Y(), atteso);
        QCOMPARE(m.Aggiungi_Asse_Y(), 0);
        m.Nuova_Serie(QStringLiteral("Sottostante"));
        m.Svuota_Grafico();
        QVERIFY(m.serie().empty());
        QVERIFY(m.asseX(1).esiste && m.asseY(1).esiste);
        QVERIFY(!m.asseY(2).esiste && !m.asseX(2).esiste);
        m.Seleziona_Asse_Y(5);  // gone: Y 1 stays current
        QCOMPARE(m.asseYCorrente(), 1);
    }

    void attributiAllUltimoAsseScelto()
    {
        ModelloGrafico m;
        m.Aggiungi_Asse_Y(2);
        m.Seleziona_Asse_X(1);
        m.Massimo_Asse(250);
        m.Seleziona_Asse_Y(2);
        m.Massimo_Asse(99);
        QCOMPARE(m.asseX(1).massimo, 250.0);
        QCOMPARE(m.asseY(2).massimo, 99.0);
        QCOMPARE(m.Massimo_Asse(), 99.0);
    }

    // A call the chart cannot carry out says so and leaves the content as it was.
    void chiamateRifiutate()
    {
        ModelloGrafico m;
        QVERIFY(!m.Stile_Serie(0x0000FF, 2, 1));  // no series yet
        QVERIFY(!m.Aggiungi_Punto(1, 2));
        QVERIFY(!m.Tipo_Punto_Serie(3));
        QVERIFY(!m.Seleziona_Asse_Y(3));  // never added
        QVERIFY(!m.Seleziona_Asse_X(4));  // no such axis
        QCOMPARE(m.asseYCorrente(), 1);
        m.Nuova_Serie(QString());
        QVERIFY(m.Stile_Serie(0x0000FF, 2, 1));
        QVERIFY(!m.Aggiungi_Punto(qQNaN(), 1));
        QVERIFY(!m.Dimensione_Marcatore_Serie(qInf()));
        QVERIFY(m.Aggiungi_Punto(1, 2));
        QVERIFY(!m.Aggiungi_Testo(QStringLiteral("a"), qInf(), 0, 0, QString(), 0, 0, 0));
        QVERIFY(m.Aggiungi_Testo(QStringLiteral("a"), 1, 0, 0, QString(), 0, 0, 0));
        QCOMPARE(int(m.serie().back().punti.size()), 1);
        QCOMPARE(m.serie().back().puntiScartati, 1);
        QCOMPARE(m.serie().back().dimensioneMarcatore, 0.0);
        QCOMPARE(int(m.testi().size()), 1);
    }
};

QTEST_GUILESS_MAIN(ModelloGraficoTest)
#include "ModelloGraficoTest.moc"
