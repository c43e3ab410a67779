#include "Stato.h"
#include "shell/FormatiLocali.h"
#include "shell/Messaggi.h"
#include "shell/Variabili.h"
#include "platform/Schermo.h"

#include <QtTest>

using messaggi::Azione;
using messaggi::Bottone;

Q_DECLARE_METATYPE(messaggi::Azione)
Q_DECLARE_METATYPE(messaggi::Bottone)

class AvvioTest : public QObject {
    Q_OBJECT
private slots:
    void formatiLocali_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("ora");
        QTest::addColumn<QString>("oraSecondi");
        QTest::newRow("it comma") << QLocale(QLocale::Italian, QLocale::Italy) << "UE" << "DD/MM/YY" << "h:mm" << "h:mm:ss";
        QTest::newRow("de comma, year-month-day dates") << QLocale(QLocale::German, QLocale::Germany) << "UE" << "DD/MM/YY" << "h:mm" << "h:mm:ss";
        QTest::newRow("us point") << QLocale(QLocale::English, QLocale::UnitedStates) << "US" << "MM/DD/YY"
                                  << "h:mm AM/PM" << "h:mm:ss AM/PM";
        QTest::newRow("uk point, day first") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "US" << "MM/DD/YY"
                                             << "h:mm AM/PM" << "h:mm:ss AM/PM";
        QTest::newRow("C") << QLocale::c() << "US" << "MM/DD/YY" << "h:mm AM/PM" << "h:mm:ss AM/PM";
        QTest::newRow("other separator") << QLocale(QLocale::Arabic, QLocale::Egypt) << "US" << "MM/DD/YY"
                                         << "h:mm AM/PM" << "h:mm:ss AM/PM";
    }
    void formatiLocali()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, codice);
        QFETCH(QString, data);
        QFETCH(QString, ora);
        QFETCH(QString, oraSecondi);
        StatoShell s;
        finestra::Imposta_Formati_Locali(s, locale);
        QCOMPARE(s.Formato_Locale, codice);
        QCOMPARE(s.Formato_Data, data);
        QCOMPARE(s.Formato_Ora, ora);
        QCOMPARE(s.Formato_Ora_Secondi, oraSecondi);
    }

    void variabiliRipartonoDaZero()
    {
        auto s = std::make_unique<Stato>();
        s->shell.Blocco_Grafici = false;
        s->indicatori.Ind_Attivo[12][20] = 1;
        s->indicatori.Ind_Media_C2(0, 0) = 3.5;
        s->indicatori.Ind_Osc_C8_C2(12, 5000) = -1.0;
        s->indicatori.Ind_Velocita_Centrata_Media(6, 1) = 2.0;
        s->cicli.Tempi_Futuri[4].resize(10);
        finestra::Inizializza_Variabili(*s);
        QVERIFY(s->shell.Blocco_Grafici);
        for (const auto &riga : s->indicatori.Ind_Attivo)
            for (int v : riga)
                QCOMPARE(v, 0);
        QCOMPARE(s->indicatori.Ind_Media_C2(0, 0), 0.0);
        QCOMPARE(s->indicatori.Ind_Osc_C8_C2(12, 5000), 0.0);
        QCOMPARE(s->indicatori.Ind_Velocita_Centrata_Media(6, 1), 0.0);
        QVERIFY(s->cicli.Tempi_Futuri[4].empty());
    }

    void testiDeiMessaggi_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        const QString cr = QStringLiteral("\r\n");
        QTest::newRow("1") << 1 << "x" << QStringLiteral("E' stato raggiunto il limite massimo di Linee inseribili.") + cr + cr
                                                + QStringLiteral("Per inserire una nuova Linea bisogna prima cancellarne almeno una.");
        QTest::newRow("2") << 2 << "" << QStringLiteral("E' stato raggiunto il limite massimo di Testi inseribili.") + cr + cr
                                               + QStringLiteral("Per inserire un nuovo Testoa bisogna prima cancellarne almeno uno.");
        QTest::newRow("3") << 3 << "" << QStringLiteral("E' stato raggiunto il limite massimo di Distanze inseribili.") + cr + cr
                                               + QStringLiteral("Per inserire una nuova Distanza bisogna prima cancellarne almeno una.");
        QTest::newRow("4") << 4 << "" << cr + QStringLiteral("Confermi la chiusura di Wavelore ®") + cr + cr
                                               + QStringLiteral("Premere SI per chiudere, NO per annullare.");
        QTest::newRow("5 as given") << 5 << "  <b>Ciao</b> " << "  <b>Ciao</b> ";
        QTest::newRow("6 fourth field") << 6 << QStringLiteral("COMM19Ø1Ø0ØSessione chiusaØ") << "Sessione chiusa";
        QTest::newRow("6 extra fields") << 6 << QStringLiteral("COMM19Ø1ØaØbØcØ") << "b";
        QTest::newRow("6 too short") << 6 << QStringLiteral("COMM19Ø1Ø") << "";
        QTest::newRow("6 lower-case separator is text") << 6 << QStringLiteral("COMM19ø1ø0øtesto") << "";
        QTest::newRow("unknown type as text") << 9 << "testo" << "testo";
    }
    void testiDeiMessaggi()
    {
        QFETCH(int, tipo);
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        QCOMPARE(messaggi::Prepara_Messaggio(tipo, testo).testo, atteso);
    }

    void aspettoDeiMessaggi_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("tipoMessaggio");
        QTest::addColumn<bool>("domanda");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("siNo");
        QTest::addColumn<quint32>("colore");
        const quint32 oro = schermo::Rgb(255, 215, 0);
        QTest::newRow("1") << 1 << "1" << false << true << false << oro;
        QTest::newRow("3") << 3 << "3" << false << true << false << oro;
        QTest::newRow("4") << 4 << "4" << true << false << true << quint32(schermo::Rgb(0, 191, 255));
        QTest::newRow("5") << 5 << "5" << false << true << false << oro;
        QTest::newRow("6") << 6 << "6" << false << false << true << oro;
        QTest::newRow("0 never without buttons") << 0 << "5" << false << true << false << oro;
    }
    void aspettoDeiMessaggi()
    {
        QFETCH(int, tipo);
        QFETCH(QString, tipoMessaggio);
        QFETCH(bool, domanda);
        QFETCH(bool, ok);
        QFETCH(bool, siNo);
        QFETCH(quint32, colore);
        const auto p = messaggi::Prepara_Messaggio(tipo, QStringLiteral("COMM19Ø1Ø0ØtØ"));
        QCOMPARE(p.Tipo_Messaggio, tipoMessaggio);
        QCOMPARE(p.domanda, domanda);
        QCOMPARE(p.ok, ok);
        QCOMPARE(p.si, siNo);
        QCOMPARE(p.no, siNo);
        QCOMPARE(quint32(p.colore), colore);
    }

    void bottoni_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<Bottone>("bottone");
        QTest::addColumn<Azione>("azione");
        for (int t : {1, 2, 3, 5})
            QTest::addRow("OK on %d", t) << t << Bottone::Ok << Azione::Chiudi;
        QTest::newRow("OK on 4") << 4 << Bottone::Ok << Azione::Nessuna;
        QTest::newRow("OK on 6") << 6 << Bottone::Ok << Azione::Nessuna;
        QTest::newRow("SI on 4 ends") << 4 << Bottone::Si << Azione::Chiudi_Programma;
        QTest::newRow("NO on 4 cancels") << 4 << Bottone::No << Azione::Chiudi;
        QTest::newRow("SI on 6 ends") << 6 << Bottone::Si << Azione::Chiudi_Programma;
        QTest::newRow("NO on 6 ends") << 6 << Bottone::No << Azione::Chiudi_Programma;
        QTest::newRow("SI on 1") << 1 << Bottone::Si << Azione::Nessuna;
        QTest::newRow("NO on 5") << 5 << Bottone::No << Azione::Nessuna;
    }
    void bottoni()
    {
        QFETCH(int, tipo);
        QFETCH(Bottone, bottone);
        QFETCH(Azione, azione);
        QCOMPARE(messaggi::Azione_Bottone(tipo, bottone), azione);
    }

    void codaTrentaInOrdine()
    {
        QStringList coda;
        for (int i = 1; i <= 30; ++i)
            QVERIFY(messaggi::Accoda(coda, QStringLiteral("t%1").arg(i)));
        QVERIFY(!messaggi::Accoda(coda, QStringLiteral("t31")));
        QCOMPARE(coda.size(), 30);
        QCOMPARE(*messaggi::Estrai(coda), QStringLiteral("t1"));
        // The freed slot 1 takes the new text, which comes out before slot 2.
        QVERIFY(messaggi::Accoda(coda, QStringLiteral("nuovo")));
        QVERIFY(!messaggi::Accoda(coda, QStringLiteral("perso")));
        QCOMPARE(*messaggi::Estrai(coda), QStringLiteral("nuovo"));
        QCOMPARE(*messaggi::Estrai(coda), QStringLiteral("t2"));
        QCOMPARE(*messaggi::Estrai(coda), QStringLiteral("t3"));
        // Two free slots below the taken ones: the lower is filled first.
        QVERIFY(messaggi::Accoda(coda, QStringLiteral("a")));
        QVERIFY(messaggi::Accoda(coda, QStringLiteral("b")));
        QCOMPARE(*messaggi::Estrai(coda), QStringLiteral("a"));
        QCOMPARE(*messaggi::Estrai(coda), QStringLiteral("b"));
        for (int i = 4; i <= 30; ++i)
            QCOMPARE(*messaggi::Estrai(coda), QStringLiteral("t%1").arg(i));
        QVERIFY(!messaggi::Estrai(coda));
        QVERIFY(coda.isEmpty());
    }
};

QTEST_GUILESS_MAIN(AvvioTest)
#include "AvvioTest.moc"
