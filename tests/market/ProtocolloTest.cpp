#include "market/Protocollo.h"
#include "platform/Codec1252.h"

#include <QtTest>

using protocollo::Decodificatore;
using protocollo::Messaggio;

namespace {

QByteArray Byte(const QString &codice, const QStringList &campi)
{
    return codec1252::Codifica(protocollo::Componi(codice, campi));
}

QStringList Descrivi(const std::vector<Messaggio> &ms)
{
    QStringList r;
    for (const Messaggio &m : ms)
        r << (m.Completo ? QString() : QStringLiteral("corto:")) + m.Codice + QLatin1Char('|') +
                 m.Campi().join(QLatin1Char('|'));
    return r;
}

QStringList Campi37()
{
    QStringList c;
    for (int k = 0; k < 8; ++k)
        c << QStringLiteral("0%1/12/25").arg(k + 1) << QStringLiteral("17:%1").arg(10 + k)
          << QStringLiteral("20.150,5") << QString::number(k);
    return c;
}

// A conversation with every kind of server message, chat text holding other codes.
QByteArray Conversazione()
{
    QByteArray b;
    b += Byte(QStringLiteral("COMM12"), {QStringLiteral("1001"), QStringLiteral("Mario"), QStringLiteral("Ros\u00E8")});
    b += Byte(QStringLiteral("COMM35"), {});
    b += Byte(QStringLiteral("COMM37"), Campi37());
    b += Byte(QStringLiteral("COMM25"), {QStringLiteral("vedi COMM31 e COMM5 \u20AC")});
    b += Byte(QStringLiteral("COMM31"), {QStringLiteral("17/03/2012 15:30:05"), QStringLiteral("20.150,50"),
                                         QStringLiteral("0,25"), QStringLiteral("1.234")});
    b += Byte(QStringLiteral("COMM13"), {});
    return b;
}

QStringList Attesi()
{
    return {QStringLiteral("COMM12|1001|Mario|Ros\u00E8"), QStringLiteral("COMM35|"),
            QStringLiteral("COMM37|") + Campi37().join(QLatin1Char('|')),
            QStringLiteral("COMM25|vedi COMM31 e COMM5 \u20AC"),
            QStringLiteral("COMM31|17/03/2012 15:30:05|20.150,50|0,25|1.234"), QStringLiteral("COMM13|")};
}

}  // namespace

class ProtocolloTest : public QObject {
    Q_OBJECT
private slots:
    void componi()
    {
        QCOMPARE(protocollo::Componi(QStringLiteral("COMM11"), {QStringLiteral("mario"), QStringLiteral("Pw"),
                                                               QStringLiteral("2.52")}),
                 QStringLiteral("COMM11\u00D8mario\u00D8Pw\u00D82.52\u00D8"));
        QCOMPARE(protocollo::Componi(QStringLiteral("COMM18")), QStringLiteral("COMM18\u00D8"));
        QCOMPARE(Byte(QStringLiteral("COMM18"), {}), QByteArray("COMM18\xD8"));
    }

    // However TCP cuts or joins the bytes, the same messages come out in order.
    void consegne_data()
    {
        QTest::addColumn<int>("pezzo");
        QTest::newRow("intero") << 0;
        QTest::newRow("byte per byte") << 1;
        QTest::newRow("pezzi di 5") << 5;
        QTest::newRow("pezzi di 7") << 7;
        QTest::newRow("pezzi di 64") << 64;
    }
    void consegne()
    {
        QFETCH(int, pezzo);
        const QByteArray tutto = Conversazione();
        Decodificatore d;
        std::vector<Messaggio> uscita;
        const int passo = pezzo ? pezzo : int(tutto.size());
        for (qsizetype i = 0; i < tutto.size(); i += passo) {
            auto ms = d.Aggiungi(tutto.mid(i, passo));
            uscita.insert(uscita.end(), ms.begin(), ms.end());
        }
        QCOMPARE(Descrivi(uscita), Attesi());
        QCOMPARE(d.InAttesa(), qsizetype(0));
    }

    void messaggio_spezzato_attende_il_resto()
    {
        Decodificatore d;
        const QByteArray b = Byte(QStringLiteral("COMM20"), {QStringLiteral("ciao")});
        QVERIFY(d.Aggiungi(b.left(9)).empty());
        QVERIFY(d.InAttesa() > 0);
        QCOMPARE(Descrivi(d.Aggiungi(b.mid(9))), QStringList{QStringLiteral("COMM20|ciao")});
    }

    // A message with too few fields is cut where the next one begins and marked short.
    void messaggi_corti_data()
    {
        QTest::addColumn<QByteArray>("byte");
        QTest::addColumn<QStringList>("attesi");
        QTest::newRow("tick con tre campi")
            << QByteArray("COMM31\xD8" "17/03/2012 15:30:05\xD8" "1,5\xD8" "0,1\xD8" "COMM20\xD8" "ok\xD8")
            << QStringList{QStringLiteral("corto:COMM31|17/03/2012 15:30:05|1,5|0,1"), QStringLiteral("COMM20|ok")};
        QTest::newRow("ultime barre senza campi")
            << QByteArray("COMM37\xD8" "COMM35\xD8")
            << QStringList{QStringLiteral("corto:COMM37|"), QStringLiteral("COMM35|")};
        QTest::newRow("codice sconosciuto saltato")
            << QByteArray("COMM99\xD8" "x\xD8" "COMM13\xD8")
            << QStringList{QStringLiteral("COMM13|")};
        QTest::newRow("byte estranei saltati")
            << QByteArray("garbage\r\nCOMMxx\xD8" "COMM25\xD8" "hi\xD8")
            << QStringList{QStringLiteral("COMM25|hi")};
        QTest::newRow("campo vuoto")
            << QByteArray("COMM17\xD8\xD8" "testo\xD8")
            << QStringList{QStringLiteral("COMM17||testo")};
    }
    void messaggi_corti()
    {
        QFETCH(QByteArray, byte);
        QFETCH(QStringList, attesi);
        Decodificatore d;
        QCOMPARE(Descrivi(d.Aggiungi(byte)), attesi);
        // The same bytes one at a time give the same result.
        Decodificatore d2;
        std::vector<Messaggio> uscita;
        for (char c : byte) {
            auto ms = d2.Aggiungi(QByteArray(1, c));
            uscita.insert(uscita.end(), ms.begin(), ms.end());
        }
        QCOMPARE(Descrivi(uscita), attesi);
    }

    // However the bytes are cut, each is examined a bounded number of times: a long
    // field arriving in small reads is not searched again from its start.
    void lettura_lineare_data()
    {
        QTest::addColumn<QByteArray>("byte");
        QTest::addColumn<int>("pezzo");
        QTest::addColumn<int>("messaggi");
        const QByteArray lungo(900 * 1024, 'x');
        const QByteArray chat = "COMM25\xD8" + lungo + "\xD8";
        QTest::newRow("campo lungo a pezzi di 1 KiB") << chat << 1024 << 1;
        QTest::newRow("campo lungo a pezzi di 7") << chat << 7 << 1;
        QTest::newRow("campo di 64 KiB byte per byte") << "COMM20\xD8" + QByteArray(65536, 'y') + "\xD8" << 1 << 1;
        QByteArray campi = "COMM37\xD8";
        for (int k = 0; k < 32; ++k)
            campi += QByteArray(20000, char('a' + k % 26)) + "\xD8";
        QTest::newRow("32 campi lunghi a pezzi di 100") << campi << 100 << 1;
        QByteArray estranei;
        for (int k = 0; k < 20000; ++k)
            estranei += "COMMxx COM CO C COMM99\xD8 ";
        QTest::newRow("byte estranei a pezzi di 3") << estranei + "COMM13\xD8" << 3 << 1;
        QTest::newRow("byte estranei a pezzi di 1 KiB") << estranei + "COMM13\xD8" << 1024 << 1;
    }
    void lettura_lineare()
    {
        QFETCH(QByteArray, byte);
        QFETCH(int, pezzo);
        QFETCH(int, messaggi);
        Decodificatore d;
        std::vector<Messaggio> uscita;
        qint64 pezzi = 0;
        for (qsizetype i = 0; i < byte.size(); i += pezzo, ++pezzi) {
            auto ms = d.Aggiungi(byte.mid(i, pezzo));
            uscita.insert(uscita.end(), ms.begin(), ms.end());
        }
        QCOMPARE(int(uscita.size()), messaggi);
        QVERIFY(uscita.back().Completo);
        QCOMPARE(d.InAttesa(), qsizetype(0));
        const qint64 limite = 2 * byte.size() + 8 * pezzi;
        QVERIFY2(d.ByteEsaminati() <= limite,
                 qPrintable(QStringLiteral("%1 esaminati, al piu %2").arg(d.ByteEsaminati()).arg(limite)));
        if (uscita.back().Codice == QLatin1String("COMM25"))
            QCOMPARE(uscita.back().Campo(1).size(), 900 * 1024);
    }

    // A message may take Limite_Messaggio bytes; one more and the decoder gives up,
    // lets go of what it held and decodes nothing more until it is reset.
    void limite_del_messaggio_data()
    {
        QTest::addColumn<QByteArray>("byte");
        QTest::addColumn<int>("pezzo");
        QTest::addColumn<QStringList>("attesi");
        QTest::addColumn<bool>("traboccato");
        const qsizetype testo = protocollo::Limite_Messaggio - 8;  // code, terminators
        const QByteArray alLimite = "COMM25\xD8" + QByteArray(testo, 'x') + "\xD8";
        const QByteArray oltre = "COMM25\xD8" + QByteArray(testo + 1, 'x') + "\xD8";
        const QByteArray tick = Byte(QStringLiteral("COMM31"), {QStringLiteral("a"), QStringLiteral("1"),
                                                                QStringLiteral("2"), QStringLiteral("3")});
        const QStringList chat{QStringLiteral("COMM25|") + QString(testo, QLatin1Char('x'))};
        QTest::newRow("al limite, intero") << alLimite << 0 << chat << false;
        QTest::newRow("al limite, a pezzi") << alLimite << 1000 << chat << false;
        QTest::newRow("un byte oltre, intero") << oltre << 0 << QStringList() << true;
        QTest::newRow("un byte oltre, a pezzi") << oltre << 1000 << QStringList() << true;
        QTest::newRow("senza fine") << "COMM20\xD8" + QByteArray(3 * protocollo::Limite_Messaggio, 'z') << 4096
                                    << QStringList() << true;
        QTest::newRow("secondo campo oltre il limite")
            << "COMM17\xD8" "1\xD8" + QByteArray(protocollo::Limite_Messaggio, 'w') + "\xD8" << 0 << QStringList() << true;
        QTest::newRow("prima un tick intero") << tick + oltre << 0
                                              << QStringList{QStringLiteral("COMM31|a|1|2|3")} << true;
    }
    void limite_del_messaggio()
    {
        QFETCH(QByteArray, byte);
        QFETCH(int, pezzo);
        QFETCH(QStringList, attesi);
        QFETCH(bool, traboccato);
        Decodificatore d;
        std::vector<Messaggio> uscita;
        const int passo = pezzo ? pezzo : int(byte.size());
        for (qsizetype i = 0; i < byte.size(); i += passo) {
            auto ms = d.Aggiungi(byte.mid(i, passo));
            uscita.insert(uscita.end(), ms.begin(), ms.end());
            QVERIFY(d.InAttesa() <= protocollo::Limite_Messaggio);
        }
        QCOMPARE(Descrivi(uscita), attesi);
        QCOMPARE(d.Traboccato(), traboccato);
        QCOMPARE(d.InAttesa(), qsizetype(0));
        const QByteArray dopo = Byte(QStringLiteral("COMM13"), {});
        QCOMPARE(Descrivi(d.Aggiungi(dopo)), traboccato ? QStringList() : QStringList{QStringLiteral("COMM13|")});
        d.Azzera();
        QVERIFY(!d.Traboccato());
        QCOMPARE(Descrivi(d.Aggiungi(dopo)), QStringList{QStringLiteral("COMM13|")});
    }

    void messaggi_del_client()
    {
        Decodificatore d(protocollo::Verso::DalClient);
        const QByteArray b = Byte(QStringLiteral("COMM11"), {QStringLiteral("mario"), QStringLiteral("x"),
                                                             QStringLiteral("2.52")}) +
                             Byte(QStringLiteral("COMM18"), {});
        QCOMPARE(Descrivi(d.Aggiungi(b)),
                 (QStringList{QStringLiteral("COMM11|mario|x|2.52"), QStringLiteral("COMM18|")}));
        // A server code means nothing to the server's decoder.
        QVERIFY(d.Aggiungi(Byte(QStringLiteral("COMM12"), {QStringLiteral("a"), QStringLiteral("b"),
                                                          QStringLiteral("c")}))
                    .empty());
    }

    void testo_ricostruito()
    {
        Decodificatore d;
        const auto ms = d.Aggiungi(Byte(QStringLiteral("COMM19"), {QStringLiteral("1"), QStringLiteral("x"),
                                                                  QStringLiteral("Arrivederci")}));
        QCOMPARE(ms.size(), size_t(1));
        QCOMPARE(ms[0].Testo(), QStringLiteral("COMM19\u00D81\u00D8x\u00D8Arrivederci\u00D8"));
        QCOMPARE(ms[0].Campo(3), QStringLiteral("Arrivederci"));
        QCOMPARE(ms[0].Campo(4), QString());
    }
};

QTEST_GUILESS_MAIN(ProtocolloTest)
#include "ProtocolloTest.moc"
