#include "CartellaTemporanea.h"
#include "drawing/Puntatori.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace puntatori;

class PuntatoriTest : public QObject {
    Q_OBJECT

private slots:
    void nomiFile_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("nome");
        QTest::newRow("1") << 1 << "line1.CUR";
        QTest::newRow("4") << 4 << "line4.CUR";
        QTest::newRow("5") << 5 << "c_line.CUR";
        QTest::newRow("6") << 6 << "abc1.CUR";
        QTest::newRow("10") << 10 << "c_abc.CUR";
        QTest::newRow("13") << 13 << "dist3.CUR";
        QTest::newRow("15") << 15 << "c_dist.CUR";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("16") << 16 << "";
    }
    void nomiFile()
    {
        QFETCH(int, numero);
        QFETCH(QString, nome);
        QCOMPARE(NomeFile(numero), nome);
    }

    void percorso_data()
    {
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("senza separatore") << "/opt/wavelore" << "/opt/wavelore/Sistema/dist2.CUR";
        QTest::newRow("con separatore") << "/opt/wavelore/" << "/opt/wavelore/Sistema/dist2.CUR";
        QTest::newRow("radice di un'unita'") << "C:\\" << "C:/Sistema/dist2.CUR";
        QTest::newRow("radice") << "/" << "/Sistema/dist2.CUR";
        QTest::newRow("cartella con barra rovescia") << "C:\\Wavelore\\" << "C:\\Wavelore/Sistema/dist2.CUR";
    }
    void percorso()
    {
        QFETCH(QString, cartella);
        QFETCH(QString, atteso);
        QCOMPARE(Percorso(cartella, QStringLiteral("Sistema"), 12), atteso);
    }

    void curAndataERitorno()
    {
        for (int n = 1; n <= Numero_Puntatori; ++n) {
            QPoint punto;
            const QImage immagine = Immagine(n, punto);
            QCOMPARE(immagine.size(), QSize(32, 32));
            const QByteArray dati = ScriviCur(immagine, punto);
            QCOMPARE(quint8(dati[2]), quint8(2));  // a cursor, not an icon
            QPoint letto;
            const QImage riletta = LeggiCur(dati, letto);
            QCOMPARE(letto, punto);
            QCOMPARE(riletta.convertToFormat(QImage::Format_ARGB32), immagine.convertToFormat(QImage::Format_ARGB32));
        }
    }

    void ogniStrumentoHaLaSuaImmagine()
    {
        QPoint p;
        for (int a = 1; a <= Numero_Puntatori; ++a)
            for (int b = a + 1; b <= Numero_Puntatori; ++b)
                QVERIFY2(Immagine(a, p) != Immagine(b, p), qPrintable(QStringLiteral("%1 = %2").arg(a).arg(b)));
        // The red line pointer carries the tool's red.
        const QImage linea = Immagine(1, p);
        bool rosso = false;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                rosso |= linea.pixel(x, y) == qRgb(255, 0, 0);
        QVERIFY(rosso);
    }

    void datiNonValidi_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QPoint p;
        const QByteArray buono = ScriviCur(Immagine(3, p), p);
        QByteArray tipo = buono;
        tipo[2] = 7;
        QByteArray fuori = buono;
        fuori[18] = char(0x7f);  // image offset far past the end
        QTest::newRow("vuoti") << QByteArray();
        QTest::newRow("testo") << QByteArray("non e' un puntatore, ma un testo abbastanza lungo da leggere oltre");
        QTest::newRow("troncati") << buono.left(200);
        QTest::newRow("tipo sbagliato") << tipo;
        QTest::newRow("immagine oltre la fine") << fuori;
    }
    void datiNonValidi()
    {
        QFETCH(QByteArray, dati);
        QPoint p;
        QVERIFY(LeggiCur(dati, p).isNull());
    }

    void fileScrittiSoloSeMancano()
    {
        CartellaTemporanea cartella;
        const QString sistema = cartella.sistema();
        QFile proprio(sistema + QStringLiteral("/line1.CUR"));
        QVERIFY(proprio.open(QIODevice::WriteOnly));
        proprio.write("del mio utente");
        proprio.close();

        QCOMPARE(Crea_File_Puntatori(cartella.percorso(), QStringLiteral("Sistema")), 0);
        QCOMPARE(QDir(sistema).entryList({QStringLiteral("*.CUR")}, QDir::Files).size(), 15);
        QVERIFY(proprio.open(QIODevice::ReadOnly));
        QCOMPARE(proprio.readAll(), QByteArray("del mio utente"));
        proprio.close();

        QFile c(sistema + QStringLiteral("/c_dist.CUR"));
        QVERIFY(c.open(QIODevice::ReadOnly));
        QPoint punto;
        QVERIFY(!LeggiCur(c.readAll(), punto).isNull());
        QCOMPARE(punto, QPoint(8, 8));
    }
};

QTEST_GUILESS_MAIN(PuntatoriTest)
#include "PuntatoriTest.moc"
