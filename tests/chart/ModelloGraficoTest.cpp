#include "chart/ModelloGrafico.h"

#include <QtTest>

// The chart's content without a window: axes added, emptied and chosen.
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
};

QTEST_GUILESS_MAIN(ModelloGraficoTest)
#include "ModelloGraficoTest.moc"
