#include "../GraficoProva.h"
#include "Confronto.h"

#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "platform/Schermo.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace prova;

// The chart widget painted for real: background, series, degenerate ranges,
// labels in sight, mouse and key events in chart units, picture export.
class GraficoWidgetTest : public QObject {
    Q_OBJECT

    static QColor pixel(const QImage &img, QPointF p) { return img.pixelColor(p.toPoint()); }
    static QImage mostra(GraficoWidget &w)
    {
        w.Ridisegna_Grafico();
        return w.Immagine();
    }

private slots:
    void sfondoELineaDelPrezzo()
    {
        GraficoWidget w;
        w.resize(400, 300);
        prepara(w, 100, 200);
        linea(w, 2, 0, 150, 100, 150, Verde);
        const QImage img = mostra(w);
        const auto &d = w.disposizione();
        QCOMPARE(pixel(img, d.piano.topLeft() + QPointF(20, 20)), QColor(Qt::black));
        const QPointF centro = render_grafico::InPixel(d, 1, 2, QPointF(50, 150));
        QCOMPARE_FUZZY(centro.y(), d.piano.center().y());
        QCOMPARE(pixel(img, centro), QColor(Qt::green));
        QCOMPARE(pixel(img, centro + QPointF(0, 6)), QColor(Qt::black));
    }

    void intervalliDegeneri_data()
    {
        QTest::addColumn<int>("asse");
        QTest::addColumn<double>("minimo");
        QTest::addColumn<double>("massimo");
        QTest::addColumn<bool>("visibile");
        QTest::newRow("prezzo piatto al centro") << 2 << 150.0 << 150.0 << true;
        QTest::newRow("riquadro piatto") << 3 << 0.0 << 0.0 << false;
        QTest::newRow("riquadro rovesciato") << 4 << 1e7 << -1.5e7 << false;
        QTest::newRow("non finito") << 5 << 0.0 << qInf() << false;
    }
    void intervalliDegeneri()
    {
        QFETCH(int, asse);
        QFETCH(double, minimo);
        QFETCH(double, massimo);
        QFETCH(bool, visibile);
        GraficoWidget w;
        w.resize(400, 300);
        prepara(w, 150, 150);
        for (int n = 3; n <= 7; ++n)
            w.Aggiungi_Asse_Y();
        w.Seleziona_Asse_Y(asse);
        w.Scala_Fissa_Asse(1);
        w.Minimo_Asse(minimo);
        w.Massimo_Asse(massimo);
        linea(w, asse, 0, minimo, 100, minimo, Rosso);
        // Read-back gives what was set, whatever the painting makes of it.
        QCOMPARE(w.Massimo_Asse(), massimo);
        const QImage img = mostra(w);
        const QRectF &r = w.disposizione().piano;
        int rossi = 0;
        for (int y = int(r.top()) + 1; y < int(r.bottom()); ++y)
            rossi += pixel(img, QPointF(r.center().x(), y)) == QColor(Qt::red);
        QCOMPARE(rossi > 0, visibile);
        if (visibile)
            QCOMPARE(pixel(img, r.center()), QColor(Qt::red));
    }

    void puntiNonFinitiScartati()
    {
        GraficoWidget w;
        w.resize(300, 200);
        prepara(w, 0, 10);
        w.Seleziona_Asse_Y(2);
        w.Nuova_Serie(QString());
        w.Stile_Serie(Rosso, 1, 1);
        w.Aggiungi_Punto(10, 5);
        w.Aggiungi_Punto(qQNaN(), 5);
        w.Aggiungi_Punto(20, qInf());
        w.Aggiungi_Punto(1e300, -1e300);  // finite but far away: clipped by hand
        w.Aggiungi_Punto(90, 5);
        QCOMPARE(w.serie().back().puntiScartati, 2);
        QCOMPARE(int(w.serie().back().punti.size()), 3);
        const QImage img = mostra(w);
        QVERIFY(!img.isNull());
    }

    void testoInPercentoInAltoAlCentro()
    {
        GraficoWidget w;
        w.resize(400, 300);
        prepara(w, 0, 10);
        w.Aggiungi_Testo(QStringLiteral("WWWW\r\nWWWW"), 50, 95, 1, QStringLiteral("Font=arial|14|bold|"), Rosso, 0, 1);
        const QImage img = mostra(w);
        const QRectF &r = w.disposizione().piano;
        int sopra = 0, sotto = 0;
        for (int y = int(r.top()); y < int(r.bottom()); ++y)
            for (int x = int(r.left()); x < int(r.right()); ++x)
                if (img.pixelColor(x, y).red() > 200 && img.pixelColor(x, y).green() < 60)
                    (y < r.center().y() ? sopra : sotto) += 1;
        QVERIFY(sopra > 20);
        QCOMPARE(sotto, 0);
    }

    // Edges hidden or covered by other controls: the plot and every label keep
    // clear of them; the title takes the top strip when it fits there.
    void etichetteNellaParteInVista_data()
    {
        QTest::addColumn<QMarginsF>("coperta");
        QTest::addColumn<QMarginsF>("testata");
        QTest::addColumn<bool>("titoloInTestata");
        QTest::newRow("tutto in vista") << QMarginsF() << QMarginsF() << false;
        QTest::newRow("bordi coperti, titolo in testata") << QMarginsF(2, 29, 55, 41) << QMarginsF(135, 2, 51, 0) << true;
        QTest::newRow("testata troppo stretta") << QMarginsF(2, 29, 55, 41) << QMarginsF(135, 2, 300, 0) << false;
        QTest::newRow("testata troppo bassa") << QMarginsF(2, 8, 55, 41) << QMarginsF(135, 2, 51, 0) << false;
    }
    void etichetteNellaParteInVista()
    {
        QFETCH(QMarginsF, coperta);
        QFETCH(QMarginsF, testata);
        QFETCH(bool, titoloInTestata);
        GraficoWidget w;
        w.resize(460, 300);
        prepara(w, 18000, 23500);
        w.Titolo_Grafico(QStringLiteral("Dax  Kalvo +2  Future 15m"), QStringLiteral("Font=Arial|9|bold|"), Verde, -7, 1, 1);
        w.Seleziona_Asse_Y(2);
        w.Font_Asse(QStringLiteral("Font=Arial|8|bold|"));
        w.Aggiungi_Asse_X(2);
        w.Etichette_Asse_X(0, 100, 99, 0, 2, QStringLiteral("01/12/25\r\n10:00 PM") + QString(98, QLatin1Char(','))
                                                 + QStringLiteral("05/12/25\r\n10:00 PM"));
        w.Seleziona_Asse_X(1);
        w.Seleziona_Asse_Y(1);
        w.Aggiungi_Testo(QStringLiteral(" Data Inizio Ciclo: 12/08/26 10:00 AM"), 0, 28, 0, QString(), Rosso, 0, 0);
        w.Aggiungi_Testo(QStringLiteral("Termine al Ciclo: -7g 1h 45m"), 100, 26.5, 2, QString(), Rosso, 0, 0);
        w.Imposta_Vista({coperta, testata});
        mostra(w);
        const auto &d = w.disposizione();
        const QRectF inVista = QRectF(w.rect()).marginsRemoved(coperta);
        QCOMPARE(d.visibile, inVista);
        QVERIFY(inVista.contains(d.piano));
        QMap<render_grafico::Etichetta::Tipo, int> quante;
        for (const render_grafico::Etichetta &e : render_grafico::Etichette(w, d)) {
            ++quante[e.tipo];
            if (e.tipo != render_grafico::Etichetta::Tipo::Titolo)
                QVERIFY2(inVista.contains(e.rettangolo), qPrintable(e.testo()));
            else if (titoloInTestata)
                QVERIFY(e.rettangolo.bottom() <= inVista.top() && e.rettangolo.left() >= testata.left()
                        && e.rettangolo.right() <= w.width() - testata.right() && e.rettangolo.top() >= testata.top());
            else
                QVERIFY(inVista.contains(e.rettangolo) && e.rettangolo.bottom() <= d.piano.top());
        }
        QCOMPARE(quante[render_grafico::Etichetta::Tipo::Titolo], 1);
        QCOMPARE(quante[render_grafico::Etichetta::Tipo::AsseX], 2);
        QCOMPARE(quante[render_grafico::Etichetta::Tipo::Testo], 2);
        QVERIFY(quante[render_grafico::Etichetta::Tipo::Prezzo] >= 3);
        // Nothing but the background where the controls cover the chart.
        const QImage img = w.Immagine();
        for (int x = 0; x < img.width(); ++x)
            for (int y : {0, img.height() - 1})
                QCOMPARE(img.pixelColor(x, y), QColor(Qt::black));
    }

    void mouseInUnitaDegliAssi1()
    {
        GraficoWidget w;
        w.resize(400, 300);
        prepara(w, 0, 10);
        double ux = -1, uy = -1;
        int mosse = 0;
        connect(&w, &GraficoWidget::MouseMove, this, [&](double x, double y) {
            ux = x;
            uy = y;
            ++mosse;
        });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.Ridisegna_Subito();
        const auto &d = w.disposizione();
        QTest::mouseMove(&w, render_grafico::InPixel(d, 1, 1, QPointF(25, 7)).toPoint());
        QVERIFY(mosse > 0);
        QVERIFY(std::fabs(ux - 25) < 0.6);
        QVERIFY(std::fabs(uy - 7) < 0.2);
        // Left of and below the plot the values run on past the ends.
        QTest::mouseMove(&w, QPoint(1, w.height() - 1));
        QVERIFY(ux < 0);
        QVERIFY(uy < 0);
        // Pointer mode paints over the cached chart without rebuilding it.
        w.Modo_Puntatore(1);
        const int complete = w.dipinture_complete();
        QTest::mouseMove(&w, d.piano.center().toPoint());
        QTest::mouseMove(&w, d.piano.center().toPoint() + QPoint(10, 5));
        QCoreApplication::processEvents();
        QCOMPARE(w.dipinture_complete(), complete);
        // The cross-hair runs through the mouse over the whole plot, and goes with the mode.
        const QPoint mouse = d.piano.center().toPoint() + QPoint(10, 5);
        auto croce = [&] {
            const QImage schermo = w.grab().toImage();
            int chiari = 0;
            for (int x = int(d.piano.left()) + 2; x < int(d.piano.right()) - 2; x += 5)
                chiari += schermo.pixelColor(x, mouse.y()).lightness() > 20;
            return chiari;
        };
        QVERIFY(croce() > int(d.piano.width() / 5) - 4);
        w.Modo_Puntatore(0);
        QCOMPARE(croce(), 0);
    }

    // Keys go to the receiver with their codes; with none they reach the parent.
    void tastiConICodiciAttesi_data()
    {
        QTest::addColumn<bool>("ricevente");
        QTest::newRow("ricevente") << true;
        QTest::newRow("senza ricevente") << false;
    }
    void tastiConICodiciAttesi()
    {
        QFETCH(bool, ricevente);
        struct Genitore : QWidget {
            int tasti = 0;
            void keyPressEvent(QKeyEvent *) override { ++tasti; }
        } genitore;
        auto *w = new GraficoWidget(&genitore);
        w->resize(200, 150);
        QList<int> codici;
        if (ricevente)
            connect(w, &GraficoWidget::KeyDown, this, [&](int codice, double, double) { codici << codice; });
        QTest::keyClick(w, Qt::Key_Escape);
        QTest::keyClick(w, Qt::Key_Backspace);
        QCOMPARE(codici, ricevente ? (QList<int>{27, 8}) : QList<int>());
        QCOMPARE(genitore.tasti, ricevente ? 0 : 2);
    }

    void aggiuntaDipintaSenzaRifare()
    {
        GraficoWidget w;
        w.resize(400, 300);
        prepara(w, 0, 10);
        linea(w, 2, 0, 2, 100, 2, Verde);
        mostra(w);
        const int complete = w.dipinture_complete();
        linea(w, 1, 0, 21, 100, 21, Rosso);
        w.Ridisegna_Grafico();
        QCOMPARE(w.dipinture_complete(), complete);
        // The cached picture now holds both, exactly as a full painting would.
        QImage cache(w.size(), QImage::Format_RGB32);
        w.render(&cache);
        const QImage completa = w.Immagine();
        const QPointF p = render_grafico::InPixel(w.disposizione(), 1, 1, QPointF(50, 21));
        QCOMPARE(pixel(cache, p), QColor(Qt::red));
        QCOMPARE(pixel(completa, p), QColor(Qt::red));
    }

    void salvaBmp()
    {
        QTemporaryDir cartella;
        GraficoWidget w;
        w.resize(320, 200);
        prepara(w, 0, 10);
        linea(w, 2, 0, 5, 100, 5, Verde);
        w.Imposta_Vista({QMarginsF(2, 29, 55, 41), QMarginsF()});
        w.Ridisegna_Grafico();
        const QString file = cartella.filePath(QStringLiteral("05.12.25 10.30 Dax"));  // no extension
        QVERIFY(w.Salva_Immagine(file));
        QImage letta(file, "BMP");
        QCOMPARE(letta.size(), QSize(320, 200));
        // Nothing covers the file: the chart is laid out over all of it.
        QCOMPARE(letta.convertToFormat(QImage::Format_RGB32), w.Immagine(render_grafico::Vista{}));
        QVERIFY(letta.convertToFormat(QImage::Format_RGB32) != w.Immagine());
        QVERIFY(!w.Salva_Immagine(cartella.filePath(QStringLiteral("manca/dentro.bmp"))));
        QVERIFY(!w.Salva_Immagine(QString()));
    }
};

QTEST_MAIN(GraficoWidgetTest)
#include "GraficoWidgetTest.moc"
