#include "GraficoProva.h"

#include "chart/GeometriaSerie.h"
#include "chart/ModelloGrafico.h"
#include "chart/RenderGrafico.h"
#include "chart/RiduzioneColonne.h"
#include "chart/TracciaSerie.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QtTest>
#include <cmath>

using namespace prova;

// The chart painted onto an image without a window: dense and vertical lines,
// the two ways a line reaches the pixels, fonts named as the drawing names them.
class RenderGraficoTest : public QObject {
    Q_OBJECT

private slots:
    // Far more points than columns: written column by column, every point's
    // pixel is still set and nothing strays from the line.
    void serieDensaSenzaBuchi_data()
    {
        QTest::addColumn<qreal>("rapporto");
        QTest::addColumn<int>("spessore");
        QTest::newRow("1x sottile") << qreal(1) << 1;
        QTest::newRow("1x spessa") << qreal(1) << 3;
        QTest::newRow("2x sottile") << qreal(2) << 1;
    }

    void serieDensaSenzaBuchi()
    {
        QFETCH(qreal, rapporto);
        QFETCH(int, spessore);
        ModelloGrafico m;
        prepara(m, -1.2, 1.2);
        m.Seleziona_Asse_Y(2);
        m.Nuova_Serie(QString());
        m.Stile_Serie(Rosso, spessore, 1);
        for (int i = 0; i <= 3000; ++i)
            m.Aggiungi_Punto(i / 30.0, std::sin(i / 90.0));
        QImage img(QSize(300, 200) * rapporto, QImage::Format_RGB32);
        img.setDevicePixelRatio(rapporto);
        render_grafico::Disposizione d;
        {
            QPainter p(&img);
            render_grafico::Disegna(m, p, QRectF(0, 0, 300, 200), &d);
        }
        const QRect piano = QRectF(d.piano.topLeft() * rapporto, d.piano.bottomRight() * rapporto).toAlignedRect();
        for (int i = 0; i <= 3000; i += 7) {
            const QPointF q = render_grafico::InPixel(d, 1, 2, QPointF(i / 30.0, std::sin(i / 90.0))) * rapporto;
            const QPoint px(int(std::floor(q.x())), int(std::floor(q.y())));
            if (!piano.adjusted(1, 1, -1, -1).contains(px))
                continue;
            bool vicino = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    vicino = vicino || img.pixelColor(px + QPoint(dx, dy)) == QColor(Qt::red);
            QVERIFY2(vicino, qPrintable(QStringLiteral("point %1").arg(i)));
        }
        // Every column of the plot holds the line, and only near the curve.
        for (int x = piano.left() + 1; x < piano.right() - 1; ++x) {
            // The curve's extent over the column, from its two edges.
            auto riga = [&](double colonna) {
                const double valore =
                    std::sin((colonna / rapporto - d.piano.left()) / d.piano.width() * 100.0 * 30.0 / 90.0);
                return render_grafico::InPixel(d, 1, 2, QPointF(0, valore)).y() * rapporto;
            };
            // A thick line also covers the curve of the columns beside it.
            const double largo = spessore * rapporto > 1 ? spessore * rapporto : 0;
            double alto = 1e9, basso = -1e9;
            for (double c = x - largo; c <= x + 1 + largo; c += 0.25) {
                alto = std::min(alto, riga(c));
                basso = std::max(basso, riga(c));
            }
            int rossi = 0;
            for (int y = piano.top(); y <= piano.bottom(); ++y)
                if (img.pixelColor(x, y) == QColor(Qt::red)) {
                    ++rossi;
                    QVERIFY2(y >= alto - 2 - spessore * rapporto && y <= basso + 2 + spessore * rapporto,
                             qPrintable(QStringLiteral("column %1 row %2 expected %3..%4)").arg(x).arg(y).arg(alto).arg(basso)));
                }
            QVERIFY2(rossi > 0, qPrintable(QStringLiteral("column %1 empty").arg(x)));
        }
    }

    void lineeVerticali_data()
    {
        QTest::addColumn<int>("stile");
        QTest::addColumn<qreal>("rapporto");
        QTest::newRow("continua") << 1 << qreal(1);
        QTest::newRow("tratteggiata") << 2 << qreal(1);
        QTest::newRow("tratteggiata 2x") << 2 << qreal(2);
    }

    void lineeVerticali()
    {
        QFETCH(int, stile);
        QFETCH(qreal, rapporto);
        ModelloGrafico m;
        prepara(m, 0, 10);
        m.Seleziona_Asse_Y(1);
        m.Nuova_Serie(QString());
        m.Stile_Serie(Rosso, 1, stile);
        m.Aggiungi_Punto(40, 0);
        m.Aggiungi_Punto(40, 28);
        QImage img(QSize(300, 200) * rapporto, QImage::Format_RGB32);
        img.setDevicePixelRatio(rapporto);
        render_grafico::Disposizione d;
        {
            QPainter p(&img);
            render_grafico::Disegna(m, p, QRectF(0, 0, 300, 200), &d);
        }
        const int x = int(std::floor(render_grafico::InPixel(d, 1, 1, QPointF(40, 0)).x() * rapporto));
        int rossi = 0, righe = 0;
        for (int y = int(d.piano.top() * rapporto) + 2; y < int(d.piano.bottom() * rapporto) - 2; ++y, ++righe)
            rossi += img.pixelColor(x, y) == QColor(Qt::red);
        if (stile == 1)
            QCOMPARE(rossi, righe);
        else
            QVERIFY(rossi > righe / 2 && rossi < righe * 5 / 6);
        // Nothing beside the line.
        QVERIFY(img.pixelColor(x + int(3 * rapporto), int(d.piano.center().y() * rapporto)) != QColor(Qt::red));
    }

    void font_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("famiglia");
        QTest::addColumn<double>("punti");
        QTest::addColumn<bool>("grassetto");
        // Arial is the program's own face, with its metrics.
        QTest::newRow("completo") << "Font=Arial|9|bold|" << "liberation sans" << 9.0 << true;
        QTest::newRow("minuscolo") << "Font=arial|14|bold|" << "liberation sans" << 14.0 << true;
        QTest::newRow("senza peso") << "Font=Arial|8||" << "liberation sans" << 8.0 << false;
        QTest::newRow("solo peso") << "bold" << "liberation sans" << 8.0 << true;
        QTest::newRow("vuoto") << "" << "liberation sans" << 8.0 << false;
        QTest::newRow("dimensione assurda") << "Font=Arial|x|bold|" << "liberation sans" << 8.0 << true;
        QTest::newRow("altra famiglia") << "Font=Verdana|10||" << "verdana" << 10.0 << false;
    }

    void font()
    {
        QFETCH(QString, testo);
        QFETCH(QString, famiglia);
        QFETCH(double, punti);
        QFETCH(bool, grassetto);
        const QFont f = render_grafico::FontDaTesto(testo);
        QCOMPARE(f.family().toLower(), famiglia);
        QCOMPARE(f.pointSizeF(), punti);
        QCOMPARE(f.bold(), grassetto);
    }

    // A line written straight into the image and the same line painted by the
    // painter light the same columns of the plot.
    // An axis font taller than the chart: the price labels stay at its top
    // rather than being clamped between reversed bounds.
    void etichettePrezzoConFontEnorme()
    {
        ModelloGrafico m;
        prepara(m, 100, 200);
        m.Font_Asse(QStringLiteral("Font=Arial|200|bold|"));
        const render_grafico::Disposizione d = render_grafico::Calcola(m, QRectF(0, 0, 160, 60));
        for (const render_grafico::Etichetta &e : render_grafico::Etichette(m, d))
            QVERIFY(e.rettangolo.top() >= d.visibile.top());
    }

    void direttaComeIlPittore_data()
    {
        QTest::addColumn<QPolygonF>("punti");
        QTest::addColumn<qreal>("rapporto");
        QPolygonF piatta, ripida, buchi, fitta;
        for (int i = 0; i <= 10; ++i)
            piatta << QPointF(5 + i * 9, 14);
        ripida << QPointF(10, 1) << QPointF(40, 2) << QPointF(40.2, 27) << QPointF(41, 3) << QPointF(41.1, 26)
               << QPointF(70, 20);
        for (int i = 0; i <= 60; ++i) {
            const double x = 3 + i * 1.5;
            if (i == 20 || i == 21)
                buchi << QPointF(x, qQNaN()) << QPointF(qInf(), 5);
            else if (i < 30 || i > 40)  // nothing at all in between
                buchi << QPointF(x, 14 + 10 * std::sin(i / 4.0));
        }
        for (int i = 0; i <= 3000; ++i)
            fitta << QPointF(i / 30.0, 14 + 12 * std::sin(i / 90.0) + 1.5 * std::sin(i * 1.7));
        QTest::newRow("piatta") << piatta << qreal(1);
        QTest::newRow("ripida") << ripida << qreal(1);
        QTest::newRow("buchi e punti non finiti") << buchi << qreal(1);
        QTest::newRow("piu punti che pixel") << fitta << qreal(1);
        QTest::newRow("piu punti che pixel 2x") << fitta << qreal(2);
    }
    void direttaComeIlPittore()
    {
        QFETCH(QPolygonF, punti);
        QFETCH(qreal, rapporto);
        ModelloGrafico m;
        prepara(m, 0, 10);
        m.Seleziona_Asse_Y(1);
        m.Nuova_Serie(QString());
        m.Stile_Serie(Rosso, 1, 1);
        for (const QPointF &q : punti)
            m.Aggiungi_Punto(q.x(), q.y());
        const SerieGrafico &s = m.serie().back();
        const QSize dimensione(300, 200);
        const render_grafico::Disposizione d = render_grafico::Calcola(m, QRectF(QPointF(0, 0), QSizeF(dimensione)));
        std::vector<QPointF> v;
        const bool perColonna = render_grafico::Densa(s.punti.size(), d.piano.width(), rapporto)
                                && render_grafico::Monotona(s.punti);
        render_grafico::MappaPunti(s.punti, render_grafico::Mappa(d, 1, 1), rapporto, perColonna, v);
        QCOMPARE(perColonna, punti.size() > 1000);

        const QRect piano =
            QRectF(d.piano.topLeft() * rapporto, d.piano.bottomRight() * rapporto).toAlignedRect();
        auto colonne = [&](render_grafico::Percorso percorso) {
            QImage img(dimensione * rapporto, QImage::Format_RGB32);
            img.setDevicePixelRatio(rapporto);
            img.fill(Qt::black);
            {
                QPainter p(&img);
                p.setClipRect(d.piano);
                QPen penna(QColor(Qt::red), rapporto > 1 ? 1 : 0);
                penna.setCapStyle(Qt::FlatCap);
                render_grafico::Traccia(p, percorso, v, penna, 1, d.piano);
            }
            QList<int> accese;
            for (int x = piano.left(); x <= piano.right(); ++x)
                for (int y = piano.top(); y <= piano.bottom(); ++y)
                    if (img.pixelColor(x, y) == QColor(Qt::red)) {
                        accese << x;
                        break;
                    }
            return accese;
        };
        const QList<int> diretta = colonne(render_grafico::Percorso::ColonneDirette);
        QVERIFY(diretta.size() > 1);
        // The painter lights a column once the line passes its centre, the direct
        // writer once the line enters it: the end columns may differ, nothing else.
        QList<int> attese = colonne(render_grafico::Percorso::Polilinea);
        for (const QPointF &estremo : {v.front(), v.back()}) {
            const int x = render_grafico::ColonnaDi(estremo.x() * rapporto);
            if (x >= piano.left() && x <= piano.right() && !attese.contains(x))
                attese << x;
        }
        std::sort(attese.begin(), attese.end());
        QCOMPARE(diretta, attese);
    }
};

QTEST_MAIN(RenderGraficoTest)
#include "RenderGraficoTest.moc"
