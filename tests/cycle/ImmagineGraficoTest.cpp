#include "CartellaTemporanea.h"
#include "SlotGraficoProva.h"

#include "Stato.h"
#include "cycle/ImmagineGrafico.h"
#include "cycle/PosizioneBarra.h"
#include "platform/Schermo.h"
#include "shell/DisegnaGrafico.h"

#include <QScopeGuard>
#include <QtTest>
#include <memory>

// A whole chart slot drawn from the session and painted offscreen, in both
// colour schemes: the background and the price line where they belong.
class ImmagineGraficoTest : public QObject {
    Q_OBJECT

private slots:
    void sfondoEPrezzo_data()
    {
        QTest::addColumn<int>("aspetto");
        QTest::addColumn<int>("grado");
        QTest::newRow("scuro giornaliero") << 0 << 1;
        QTest::newRow("scuro 15 minuti") << 0 << 8;
        QTest::newRow("chiaro giornaliero") << 1 << 1;
        QTest::newRow("chiaro 5 minuti") << 1 << 11;
    }
    void sfondoEPrezzo()
    {
        QFETCH(int, aspetto);
        QFETCH(int, grado);
        auto stato = std::make_unique<Stato>();
        PreparaStatoGrafico(*stato, 0, grado, aspetto);
        stato->cicli.Griglia_1[size_t(grado)] = 0;
        stato->cicli.Griglia_2[size_t(grado)] = 0;
        stato->cicli.Modo_Linea_Storico[size_t(grado)] = 2;  // 3-pixel line, no dots
        render_grafico::Disposizione d;
        const QImage img = DisegnaSlotInImmagine(*stato, 0, grado, QSize(900, 520), &d);
        const QColor sfondo = schermo::ColoreWin(stato->cicli.Colori[80]);
        const QColor prezzo = schermo::ColoreWin(stato->cicli.Colori[83]);

        // Bottom left of the plot holds nothing but the background.
        QCOMPARE(img.pixelColor(d.piano.bottomLeft().toPoint() + QPoint(8, -8)), sfondo);
        QCOMPARE(img.pixelColor(QPoint(2, img.height() / 2)), sfondo);

        // The newest close and one from the middle of the cycle, on X axis 2 / Y axis 2.
        const int barre = stato->cicli.Barre_Ciclo[size_t(grado)];
        const SerieStorico &serie = posizione::SerieDelGrado(stato->mercato, grado);
        for (int x : {barre / 2, barre - 1}) {
            const double chiusura = serie.barra(barre + 1 - x).chiusura;
            const QPoint p = render_grafico::InPixel(d, 2, 2, QPointF(x, chiusura)).toPoint();
            QVERIFY(d.piano.contains(p));
            QCOMPARE(img.pixelColor(p), prezzo);
        }
        // Right of the newest bar the future holds no price.
        const QPoint futuro =
            render_grafico::InPixel(d, 2, 2, QPointF(barre + 30, serie.barra(1).chiusura)).toPoint();
        QVERIFY(img.pixelColor(futuro) != prezzo);
    }

    void estensione_data()
    {
        QTest::addColumn<QString>("scelto");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("senza") << "/a/grafico" << "/a/grafico.bmp";
        QTest::newRow("nome proposto") << "/a/07.12.25 14.05 Dax" << "/a/07.12.25 14.05 Dax.bmp";
        QTest::newRow("solo cifre dopo il punto") << "/a/07.12.25" << "/a/07.12.25.bmp";
        QTest::newRow("punto nella cartella") << "/a.b/grafico" << "/a.b/grafico.bmp";
        QTest::newRow("bmp") << "/a/grafico.BMP" << "/a/grafico.BMP";
        QTest::newRow("un'altra, tenuta") << "/a/grafico.png" << "/a/grafico.png.bmp";
        QTest::newRow("punto finale") << "/a/grafico." << "/a/grafico.bmp";
        QTest::newRow("annullato") << "" << "";
    }
    void estensione()
    {
        QFETCH(QString, scelto);
        QFETCH(QString, atteso);
        QCOMPARE(ciclo::Nome_Con_Estensione(scelto), atteso);
    }

    // A picture the disk does not take is reported with its reason and leaves no file.
    void fileNonScritto_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("cartella mancante") << "manca/grafico" << "non esiste";
        QTest::newRow("cartella in sola lettura") << "sola_lettura/grafico" << "in sola lettura";
        QTest::newRow("disco pieno") << "pieno.bmp" << "disco pieno";
    }
    void fileNonScritto()
    {
        QFETCH(QString, nome);
        QFETCH(QString, motivo);
        CartellaTemporanea cartella;
        const QString solaLettura = cartella.percorso() + QStringLiteral("/sola_lettura");
        QVERIFY(QDir().mkpath(solaLettura));
        QVERIFY(QFile::setPermissions(solaLettura, QFile::ReadOwner | QFile::ExeOwner));
        const auto ripristina = qScopeGuard([&] {
            QFile::setPermissions(solaLettura, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (nome.startsWith(QLatin1String("sola_lettura")) && QFile(solaLettura + QStringLiteral("/x")).open(QIODevice::WriteOnly))
            QSKIP("this user writes into a read-only folder");
        // The name stands for the device that is always full.
        if (nome == QLatin1String("pieno.bmp") &&
            !QFile::link(QStringLiteral("/dev/full"), cartella.percorso() + QLatin1Char('/') + nome))
            QSKIP("no always-full device here");

        auto stato = std::make_unique<Stato>();
        PreparaStatoGrafico(*stato, 0, 8);
        ControlliMemoria controlli;
        finestra::Disegna_Grafico(*stato, controlli, 0, 8);
        const QString file = cartella.percorso() + QLatin1Char('/') + nome;
        const ciclo::EsitoImmagine e = ciclo::Salva_Immagine_Grafico(
            stato->shell, stato->cicli, controlli, 0, QDateTime::currentDateTime(), [&](const QString &) { return file; });
        QVERIFY(!e.scritto);
        QCOMPARE(e.file, ciclo::Nome_Con_Estensione(file));
        QVERIFY2(e.errore.contains(QDir::toNativeSeparators(e.file)) && e.errore.contains(motivo), qPrintable(e.errore));
        QVERIFY(!QFileInfo(e.file).isFile());
        QCOMPARE(QDir(solaLettura).entryList(QDir::Files).size(), 0);
    }

    void prezzoPiattoSenzaDivisioniPerZero()
    {
        auto stato = std::make_unique<Stato>();
        PreparaStatoGrafico(*stato, 0, 8);
        for (BarraStorico &b : stato->mercato.Storico_15M.barre())
            b.chiusura = 20000;
        stato->cicli.Modo_Linea_Storico[8] = 2;
        render_grafico::Disposizione d;
        const QImage img = DisegnaSlotInImmagine(*stato, 0, 8, QSize(600, 400), &d);
        // The flat line runs through the middle of the plot.
        QVERIFY(d.y[1].valido && d.y[1].massimo > d.y[1].minimo);
        const int y = int(d.piano.center().y());
        const QPoint p = render_grafico::InPixel(d, 2, 2, QPointF(75, 20000)).toPoint();
        QVERIFY(std::abs(p.y() - y) <= 1);
        QCOMPARE(img.pixelColor(p), schermo::ColoreWin(stato->cicli.Colori[83]));
    }
};

QTEST_MAIN(ImmagineGraficoTest)
#include "ImmagineGraficoTest.moc"
