// The chart panels' own buttons in the real working window after an OFFLINE
// start: the picture button saves its own slot's chart through the save dialog,
// and the move button carries a panel into another quadrant of the grid, which
// the archive keeps across a restart.

#include "ArchivioProva.h"
#include "FinestraProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "cycle/ImmagineGrafico.h"
#include "chart/DisposizioneGrafico.h"
#include "chart/ModelloGrafico.h"
#include "platform/Percorsi.h"
#include "platform/Schermo.h"
#include "chart/ui/GraficoWidget.h"
#include "shell/SpostaPannello.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormMsg.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/GestoreMessaggi.h"
#include "shell/ui/PannelliFinestra.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <memory>

class PannelliFinestraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FinestraProva> m_prova;
    PannelliFinestra *m_pannelli = nullptr;
    QStringList m_errori;

    Stato &stato() const { return m_prova->form->S(); }
    AreaGrafici *area() const { return m_prova->op->Area(); }

    // A start in a fresh folder, or a restart in the same one.
    bool avvia()
    {
        if (!(m_prova ? m_prova->Riavvia() : (m_prova = std::make_unique<FinestraProva>(QList<int>{2}))->AvviaOffline()))
            return false;
        m_pannelli = m_prova->form->findChild<PannelliFinestra *>(QStringLiteral("PannelliFinestra"));
        if (!m_pannelli)
            return false;
        // Qt's own save dialog, which the test can drive; failures are recorded.
        struct Dialoghi : DialoghiPannelliUtente {
            QStringList &errori;
            Dialoghi(QWidget *finestra, QStringList &e) : DialoghiPannelliUtente(finestra, false), errori(e) {}
            void Errore(const QString &t) override { errori << t; }
        };
        m_pannelli->Imposta_Dialoghi(std::make_unique<Dialoghi>(m_prova->form.get(), m_errori));
        return true;
    }

    // A point of the plot near its corner (top left or bottom right) where no label
    // of `g` laid out as `d` is painted, whatever the fonts make the texts' sizes.
    static QPoint AngoloLibero(const GraficoWidget *g, const render_grafico::Disposizione &d, bool basso)
    {
        const auto etichette = render_grafico::Etichette(*g, d);
        const QRect piano = d.piano.toRect().adjusted(3, 3, -3, -3);
        for (int j = 0; j < piano.height() / 2; j += 3)
            for (int i = 0; i < piano.width() / 2; i += 3) {
                const QPoint p = basso ? piano.bottomRight() - QPoint(i, j) : piano.topLeft() + QPoint(i, j);
                if (std::none_of(etichette.begin(), etichette.end(), [&](const auto &e) {
                        return e.rettangolo.adjusted(-2, -2, 2, 2).contains(QPointF(p));
                    }))
                    return p;
            }
        return piano.center();
    }

    // How many of the price line's points, taken every few bars, are painted in
    // the line's colour (within a pixel) in `immagine` laid out as `d`; points
    // outside the plot or under a control lying over the chart do not count.
    static std::pair<int, int> PuntiDelPrezzo(const QImage &immagine, const render_grafico::Disposizione &d,
                                              const SerieGrafico &prezzo, const QList<QRect> &coperti)
    {
        const QRgb colore = schermo::ColoreWin(*prezzo.colore).rgb() & 0xFFFFFF;
        int visti = 0, trovati = 0;
        for (size_t i = 0; i < prezzo.punti.size(); i += 3) {
            const QPoint p = render_grafico::InPixel(d, prezzo.asseX, prezzo.asseY, prezzo.punti[i]).toPoint();
            if (!d.piano.adjusted(2, 2, -2, -2).contains(p) ||
                std::any_of(coperti.begin(), coperti.end(), [&](const QRect &r) { return r.contains(p); }))
                continue;
            ++visti;
            bool c = false;
            for (int dy = -1; dy <= 1 && !c; ++dy)
                for (int dx = -1; dx <= 1 && !c; ++dx)
                    c = (immagine.pixel(p + QPoint(dx, dy)) & 0xFFFFFF) == colore;
            trovati += c ? 1 : 0;
        }
        return {visti, trovati};
    }

    // Slot holding grid position p.
    int slotIn(int p) const
    {
        for (int s = 0; s < 4; ++s)
            if (stato().cicli.Conf_Grafici[size_t(s)].posizione == p)
                return s;
        return -1;
    }

    // Moves the mouse over the chart frame so that the moving panel's top-left
    // corner ends at `meta`, through the edges that keep the grab offset.
    // The moves go to the frame as the mouse grab sends them (the offscreen
    // screen is smaller than the window, so the pointer cannot reach every point).
    void trascina(RiquadroGrafico *r, QPoint presa, QPoint meta)
    {
        QRect g = r->geometry();
        if (meta.x() != g.left())
            MuoviMouse(area(), QPoint(meta.x() < g.left() ? meta.x() : meta.x() + g.width(), g.top() + presa.y()));
        g = r->geometry();
        if (meta.y() != g.top())
            MuoviMouse(area(), QPoint(g.left() + presa.x(), meta.y() < g.top() ? meta.y() : meta.y() + g.height()));
    }

private slots:
    void init()
    {
        m_errori.clear();
        QVERIFY(avvia());
    }

    void cleanup()
    {
        m_pannelli = nullptr;
        m_prova.reset();
    }

    void nomeProposto_data()
    {
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("cartella") << "/dati/wl" << "/dati/wl/Immagini/07.12.26 14.05 Dax";
        QTest::newRow("separatore finale") << "/dati/wl/" << "/dati/wl/Immagini/07.12.26 14.05 Dax";
        QTest::newRow("radice") << "C:\\" << "C:/Immagini/07.12.26 14.05 Dax";
    }
    void nomeProposto()
    {
        QFETCH(QString, cartella);
        QFETCH(QString, atteso);
        StatoProgramma programma;
        programma.Cartella_Programma = cartella;
        const QDateTime alle = QDateTime(QDate(2026, 12, 7), QTime(14, 5, 59));
        QCOMPARE(ciclo::Nome_Immagine_Proposto(programma, alle, QStringLiteral("Dax")), atteso);
        // Two saves in the same minute propose the same name.
        QCOMPARE(ciclo::Nome_Immagine_Proposto(programma, alle.addSecs(-59), QStringLiteral("Dax")), atteso);
    }

    // The picture button of a slot that is not the current one saves that slot's
    // chart, with the product line in its title while the dialog is open; the title
    // comes back whatever the user does, and only an accepted name is written.
    void fotoDelRiquadro_data()
    {
        // Relative to the temporary folder; "" cancels, "proposto" keeps the proposed name.
        QTest::addColumn<QString>("scelta");
        QTest::addColumn<QString>("atteso");  // the file written, "" none
        QTest::addColumn<QString>("motivo");  // what the error message says, "" no message
        QTest::newRow("salvata") << "Immagini/grafico.bmp" << "Immagini/grafico.bmp" << "";
        QTest::newRow("senza estensione") << "Immagini/grafico" << "Immagini/grafico.bmp" << "";
        QTest::newRow("altra estensione") << "Immagini/grafico.png" << "Immagini/grafico.png.bmp" << "";
        QTest::newRow("nome proposto") << "proposto" << "proposto.bmp" << "";
        QTest::newRow("annullata") << "" << "" << "";
        QTest::newRow("percorso su un file") << "non_cartella/grafico.bmp" << "" << "non \u00E8 una cartella";
        QTest::newRow("cartella mancante") << "manca/grafico" << "" << "non esiste";
    }
    void fotoDelRiquadro()
    {
        QFETCH(QString, scelta);
        QFETCH(QString, atteso);
        QFETCH(QString, motivo);
        const int slot = stato().cicli.Grafico_Corrente == 2 ? 1 : 2;
        QVERIFY(stato().cicli.Conf_Grafici[size_t(slot)].in_uso == 1);
        const int corrente = stato().cicli.Grafico_Corrente;
        const QString immagini = percorsi::CartellaProgramma() + QStringLiteral("/Immagini");
        QVERIFY(QDir(immagini).removeRecursively());
        QFile nonCartella(m_prova->cartella->percorso() + QStringLiteral("/non_cartella"));
        QVERIFY(nonCartella.open(QIODevice::WriteOnly));
        nonCartella.close();
        GraficoWidget *g = area()->Frm_Graf[size_t(slot)]->Graf_Battleplan;
        const QString titolo = stato().cicli.Titoli_Grafici[size_t(slot)];
        const QString file = scelta.isEmpty() || scelta == QLatin1String("proposto")
                                 ? scelta
                                 : m_prova->cartella->percorso() + QLatin1Char('/') + scelta;
        const bool scritto = !atteso.isEmpty();

        QString proposto, titoloNelDialogo, tipoNelDialogo;
        QImage mostrata;
        render_grafico::Disposizione dMostrata, dFile;
        SerieGrafico prezzo;
        QList<QRect> coperti;
        bool visto = false;
        QTimer guardia;
        connect(&guardia, &QTimer::timeout, this, [&] {
            auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!d || visto)
                return;
            visto = true;
            proposto = d->selectedFiles().value(0);
            titoloNelDialogo = g->titolo().testo;
            tipoNelDialogo = d->labelText(QFileDialog::FileType);
            // The chart as the user sees it behind the dialog, and where its parts
            // go in a picture of the whole control.
            mostrata = g->grab().toImage().convertToFormat(QImage::Format_RGB32);
            dMostrata = g->disposizione();
            dFile = render_grafico::Calcola(*g, QRectF(QPointF(0, 0), QSizeF(g->size())));
            for (const SerieGrafico &serie : g->serie())
                if (serie.nome == QLatin1String("Sottostante"))
                    prezzo = serie;
            for (QWidget *w : g->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                if (w->isVisible())
                    coperti << w->geometry();
            if (file.isEmpty()) {
                d->reject();
            } else if (file == QLatin1String("proposto")) {
                static_cast<QDialog *>(d)->accept();
            } else {
                // Typed into the name box, as the user does (a whole path is taken as typed).
                if (auto *nome = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    nome->setText(file);
                else
                    d->selectFile(file);
                static_cast<QDialog *>(d)->accept();  // as the dialog's Save button does
            }
        });
        // Redraws still due from the start would change the chart while the dialog is open.
        QTRY_VERIFY(!m_prova->op->Ridisegno().Timer_Disegno.isActive() && !m_prova->op->Ridisegno().Timer_Indicatori.isActive());
        guardia.start(10);
        QTest::mouseClick(area()->Frm_Graf[size_t(slot)]->Cmd_Foto, Qt::LeftButton);
        QVERIFY(visto);

        QVERIFY(QFileInfo(immagini).isDir());
        QCOMPARE(QFileInfo(proposto).absolutePath(), QFileInfo(immagini).absoluteFilePath());
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d\\.\\d\\d ") +
                                    QRegularExpression::escape(stato().cicli.Sottostante) + QLatin1Char('$'))
                     .match(QFileInfo(proposto).fileName())
                     .hasMatch(),
                 qPrintable(proposto));
        QCOMPARE(titoloNelDialogo, ciclo::Titolo_Con_Marchio(titolo));
        QVERIFY2(tipoNelDialogo.contains(QStringLiteral("BMP")), qPrintable(tipoNelDialogo));
        QVERIFY(titoloNelDialogo.endsWith(QStringLiteral("\r\nWavelore \u00AE - www.wavelore.example")));
        QCOMPARE(g->titolo().testo, titolo);
        QCOMPARE(stato().cicli.Grafico_Corrente, corrente);

        const QString scrittoIn = atteso == QLatin1String("proposto.bmp") ? proposto + QStringLiteral(".bmp")
                                : scritto ? m_prova->cartella->percorso() + QLatin1Char('/') + atteso : QString();
        QVERIFY2(!scritto || QFileInfo(scrittoIn).isFile(), qPrintable(scrittoIn));
        // Nothing else is left behind, not even a half-written file.
        const bool inImmagini = scritto && QFileInfo(scrittoIn).absolutePath() == QFileInfo(immagini).absoluteFilePath();
        QCOMPARE(QDir(immagini).entryList(QDir::Files).size(), inImmagini ? 1 : 0);
        QVERIFY(!QFileInfo::exists(m_prova->cartella->percorso() + QStringLiteral("/manca")));
        if (scritto) {
            // The file holds the chart as it was shown, product line included, spread
            // over the whole picture since no control lies over a file.
            const QImage salvata = QImage(scrittoIn, "BMP").convertToFormat(QImage::Format_RGB32);
            QVERIFY(!salvata.isNull());
            QCOMPARE(salvata.size(), mostrata.size());
            const QRgb sfondo = schermo::ColoreWin(stato().cicli.Colori[80]).rgb();
            for (const auto &[immagine, d] : {std::pair{mostrata, dMostrata}, std::pair{salvata, dFile}}) {
                QCOMPARE(immagine.pixel(AngoloLibero(g, d, false)), sfondo);
                QCOMPARE(immagine.pixel(AngoloLibero(g, d, true)), sfondo);
            }
            QVERIFY(dFile.piano.width() > dMostrata.piano.width() || dFile.piano.height() > dMostrata.piano.height());
            // The same price line in both, each where its own layout puts it.
            QVERIFY2(prezzo.colore && prezzo.punti.size() > 20, qPrintable(prezzo.nome));
            const auto [vistiMostrata, nellaMostrata] = PuntiDelPrezzo(mostrata, dMostrata, prezzo, coperti);
            const auto [vistiFile, nelFile] = PuntiDelPrezzo(salvata, dFile, prezzo, {});
            QVERIFY2(vistiMostrata > 10 && nellaMostrata >= vistiMostrata * 9 / 10,
                     qPrintable(QStringLiteral("%1 / %2").arg(nellaMostrata).arg(vistiMostrata)));
            QVERIFY2(vistiFile >= vistiMostrata && nelFile >= vistiFile * 9 / 10,
                     qPrintable(QStringLiteral("%1 / %2").arg(nelFile).arg(vistiFile)));
            // The title's two lines, the product line under the slot's own title.
            const auto titoloFile = std::find_if(dFile.etichette.begin(), dFile.etichette.end(), [](const auto &e) {
                return e.tipo == render_grafico::Etichetta::Tipo::Titolo;
            });
            QVERIFY(titoloFile != dFile.etichette.end());
            QCOMPARE(titoloFile->righe.size(), size_t(2));
            QCOMPARE(titoloFile->righe[1].testo, QStringLiteral("Wavelore \u00AE - www.wavelore.example"));
            const QRect r = titoloFile->rettangolo.toAlignedRect() & salvata.rect();
            const auto scritta = [&](const QRect &parte) {
                for (int y = parte.top(); y <= parte.bottom(); ++y)
                    for (int x = parte.left(); x <= parte.right(); ++x)
                        if (salvata.pixel(x, y) != sfondo)
                            return true;
                return false;
            };
            QVERIFY(scritta(QRect(r.left(), r.top(), r.width(), r.height() / 2)));
            QVERIFY(scritta(QRect(r.left(), r.top() + r.height() / 2, r.width(), r.height() - r.height() / 2)));
        }
        QCOMPARE(m_errori.size(), motivo.isEmpty() ? 0 : 1);
        if (!m_errori.isEmpty())
            QVERIFY2(m_errori.first().contains(QStringLiteral("grafico.bmp")) && m_errori.first().contains(motivo),
                     qPrintable(m_errori.join(QLatin1Char(';'))));
    }

    // Every button of this work can be clicked in the real window: shown, enabled,
    // inside the window and on top of whatever else lies there.
    void pulsantiRaggiungibili_data()
    {
        QTest::addColumn<bool>("grande");
        QTest::newRow("quattro grafici") << false;
        QTest::newRow("grafico ingrandito") << true;
    }
    void pulsantiRaggiungibili()
    {
        QFETCH(bool, grande);
        QList<QWidget *> pulsanti;
        if (grande) {
            QVERIFY(m_prova->Ingrandisci(1));
            pulsanti << area()->Frm_Graf[1]->Cmd_Foto;
            for (const char *nome : {"Cmd_Griglia_Graf_0", "Cmd_Griglia_Graf_1", "Cmd_Linea_Stor"})
                pulsanti << area()->Frm_Strumenti->findChild<QWidget *>(QLatin1String(nome));
        } else {
            for (RiquadroGrafico *r : area()->Frm_Graf)
                if (stato().cicli.Conf_Grafici[size_t(r->slot())].in_uso == 1)
                    pulsanti << r->Cmd_Foto << r->Cmd_Sposta;
            QVERIFY(pulsanti.size() >= 4);
        }
        for (QWidget *b : pulsanti) {
            QVERIFY(b);
            QWidget *finestra = b->window();
            const QPoint centro = b->mapTo(finestra, b->rect().center());
            QVERIFY2(b->isVisible() && b->isEnabled() && finestra->rect().contains(centro), qPrintable(b->objectName()));
            QCOMPARE(finestra->childAt(centro), b);
        }
    }

    // The panel follows the mouse along its nearest edge or corner, keeping the
    // grab offset along that edge; over the panel itself it stays put.
    void segueIlMouse_data()
    {
        QTest::addColumn<QPoint>("mouse");
        QTest::addColumn<QPoint>("atteso");  // new left, top; (-1, -1) for no move
        // Panel at left 100, top 50, 200 x 100; grabbed at (30, 20).
        QTest::newRow("sopra") << QPoint(150, 40) << QPoint(120, 40);
        QTest::newRow("sotto") << QPoint(150, 170) << QPoint(120, 70);
        QTest::newRow("sinistra") << QPoint(90, 80) << QPoint(90, 60);
        QTest::newRow("destra") << QPoint(310, 80) << QPoint(110, 60);
        QTest::newRow("sopra a sinistra") << QPoint(90, 40) << QPoint(90, 40);
        QTest::newRow("sopra a destra") << QPoint(310, 40) << QPoint(110, 40);
        QTest::newRow("sotto a sinistra") << QPoint(90, 160) << QPoint(90, 60);
        QTest::newRow("sotto a destra") << QPoint(310, 160) << QPoint(110, 60);
        QTest::newRow("sul pannello") << QPoint(150, 80) << QPoint(-1, -1);
    }
    void segueIlMouse()
    {
        QFETCH(QPoint, mouse);
        QFETCH(QPoint, atteso);
        const auto p = layout::Segui_Mouse(mouse.x(), mouse.y(), 50, 100, 200, 100, 30, 20);
        QCOMPARE(p.has_value(), atteso.x() >= 0);
        if (p)
            QCOMPARE(QPoint(int(p->x), int(p->y)), atteso);
    }

    void quadrante_data()
    {
        QTest::addColumn<QPoint>("angolo");  // left, top in a 1000 x 600 frame
        QTest::addColumn<int>("posizione");
        QTest::newRow("in alto a sinistra") << QPoint(10, 10) << 0;
        QTest::newRow("in alto a destra") << QPoint(510, 10) << 1;
        QTest::newRow("in basso a sinistra") << QPoint(10, 310) << 2;
        QTest::newRow("in basso a destra") << QPoint(510, 310) << 3;
        // The centre lines belong to the lower and right quadrants: every drop lands.
        QTest::newRow("sulla linea orizzontale") << QPoint(10, 300) << 2;
        QTest::newRow("sulla linea verticale") << QPoint(500, 10) << 1;
        QTest::newRow("nel centro") << QPoint(500, 300) << 3;
        QTest::newRow("fuori a sinistra") << QPoint(-40, -5) << 0;
    }
    void quadrante()
    {
        QFETCH(QPoint, angolo);
        QFETCH(int, posizione);
        QCOMPARE(layout::Quadrante(angolo.y(), angolo.x(), 600, 1000), posizione);
    }

    // A panel carried into each quadrant swaps places with the panel there; the
    // archive keeps the arrangement and a restart shows it; carried back, all is
    // as before.
    void spostaPannello_data()
    {
        QTest::addColumn<int>("verso");
        for (int p = 0; p < 4; ++p)
            QTest::newRow(qPrintable(QStringLiteral("nel quadrante %1").arg(p))) << p;
    }
    void spostaPannello()
    {
        QFETCH(int, verso);
        const int slot = slotIn(0);
        const int altro = slotIn(verso);
        QVERIFY(slot >= 0 && altro >= 0);
        const auto prima = stato().cicli.Conf_Grafici;
        std::array<QRect, 4> riquadri{};
        for (int p = 0; p < 4; ++p)
            riquadri[size_t(p)] = area()->Frm_Graf[size_t(slotIn(p))]->geometry();

        const auto porta = [&](int s, int p) {
            RiquadroGrafico *r = area()->Frm_Graf[size_t(s)];
            QTest::mouseClick(r->Cmd_Sposta, Qt::LeftButton);
            QCOMPARE(m_pannelli->Pannello_Spostato(), s + 1);
            QCOMPARE(m_prova->form->cursor().shape(), Qt::SizeAllCursor);
            for (RiquadroGrafico *o : area()->Frm_Graf)
                QCOMPARE(o->isEnabled(), o == r);
            QVERIFY(!r->Pic_Graf->isEnabled());
            const QPoint presa(r->width() / 2, r->height() / 2);
            QTest::mouseClick(area(), Qt::LeftButton, {}, r->pos() + presa);
            QCOMPARE(QWidget::mouseGrabber(), area());
            // Over another panel's chart the moving panel still follows.
            const bool inAlto = r->y() < area()->height() / 2;
            const QPoint fuori(r->x() + presa.x(), inAlto ? r->geometry().bottom() + 40 : r->y() - 40);
            QVERIFY(qobject_cast<GraficoWidget *>(area()->childAt(fuori)));
            QTest::mouseMove(area(), r->pos() + presa);  // the pointer must really move
            QTest::mouseMove(area(), fuori);
            QCOMPARE(inAlto ? r->y() + r->height() : r->y(), fuori.y());
            const QPoint meta((p % 2 == 1 ? area()->width() / 2 : 0) + 4, (p >= 2 ? area()->height() / 2 : 0) + 4);
            trascina(r, presa, meta);
            QCOMPARE(r->geometry().topLeft(), meta);
            QTest::mouseClick(area(), Qt::LeftButton, {}, r->Cmd_Sposta->mapTo(area(), r->Cmd_Sposta->rect().center()));
            QCOMPARE(QWidget::mouseGrabber(), nullptr);
            QCOMPARE(m_pannelli->Pannello_Spostato(), 0);
            QCOMPARE(m_prova->form->cursor().shape(), Qt::ArrowCursor);
            for (RiquadroGrafico *o : area()->Frm_Graf)
                QVERIFY(o->isEnabled() && o->Pic_Graf->isEnabled());
        };
        const auto posizioniSalvate = [] {
            QList<int> v;
            for (int s = 0; s < 4; ++s)
                v << ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TABGRAF"),
                                    QStringLiteral("C%1").arg(9 + s), 2)
                         .toInt();
            return v;
        };
        const auto verifica = [&](int s, int p) {
            QCOMPARE(stato().cicli.Conf_Grafici[size_t(s)].posizione, p);
            QCOMPARE(area()->Frm_Graf[size_t(s)]->geometry(), riquadri[size_t(p)]);
        };

        porta(slot, verso);
        if (QTest::currentTestFailed())
            return;
        verifica(slot, verso);
        verifica(altro, 0);
        QList<int> attese;
        for (int s = 0; s < 4; ++s)
            attese << stato().cicli.Conf_Grafici[size_t(s)].posizione;
        QCOMPARE(posizioniSalvate(), attese);

        // A restart shows the same arrangement.
        QVERIFY(avvia());
        verifica(slot, verso);
        verifica(altro, 0);

        porta(slot, 0);
        if (QTest::currentTestFailed())
            return;
        for (int s = 0; s < 4; ++s)
            QCOMPARE(stato().cicli.Conf_Grafici[size_t(s)].posizione, prima[size_t(s)].posizione);
        verifica(slot, 0);
        QCOMPARE(posizioniSalvate().at(slot), 0);
        QVERIFY(m_errori.isEmpty());
    }

    // A close request while a panel is moving: the exit question takes a click on
    // "NO" come through the window system, the window stays, and the move goes on
    // until its own button drops the panel.
    void chiusuraDuranteLoSpostamento()
    {
        const int slot = slotIn(0);
        RiquadroGrafico *r = area()->Frm_Graf[size_t(slot)];
        QTest::mouseClick(r->Cmd_Sposta, Qt::LeftButton);
        QCOMPARE(QWidget::mouseGrabber(), area());
        bool vista = false, no = false;
        connect(&m_prova->form->Messaggi(), &GestoreMessaggi::Mostrato, this, [&](FormMsg *m) {
            vista = m->Tipo() == 4;
            connect(m->Cmd_No, &QPushButton::clicked, this, [&no] { no = true; });
            QTimer::singleShot(0, m, [m] {
                QTest::mouseClick(m->windowHandle(), Qt::LeftButton, {}, m->Cmd_No->mapTo(m, m->Cmd_No->rect().center()));
            });
            // A question that took no click is closed anyway, so the test goes on.
            QTimer::singleShot(3000, m, [m] { m->done(QDialog::Rejected); });
        });
        QVERIFY(!m_prova->form->close());
        QVERIFY(vista);
        QVERIFY(no);
        QVERIFY(m_prova->form->isVisible());
        QCOMPARE(m_pannelli->Pannello_Spostato(), slot + 1);
        QCOMPARE(QWidget::mouseGrabber(), area());
        QTest::mouseClick(area(), Qt::LeftButton, {}, r->Cmd_Sposta->mapTo(area(), r->Cmd_Sposta->rect().center()));
        QCOMPARE(m_pannelli->Pannello_Spostato(), 0);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QCOMPARE(stato().cicli.Conf_Grafici[size_t(slot)].posizione, 0);
    }
};

QTEST_MAIN(PannelliFinestraTest)
#include "PannelliFinestraTest.moc"
