// The chart panels' own buttons in the real working window after an OFFLINE
// start: the picture button saves its own slot's chart through the save dialog,
// and the move button carries a panel into another quadrant of the grid, which
// the archive keeps across a restart.

#include "ArchivioProva.h"
#include "CartellaTemporanea.h"
#include "FinestraProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "cycle/ImmagineGrafico.h"
#include "platform/Percorsi.h"
#include "platform/ui/GraficoWidget.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelliFinestra.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QtTest>
#include <memory>

class PannelliFinestraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaTemporanea> m_cartella;
    std::unique_ptr<FinestraProva> m_prova;
    PannelliFinestra *m_pannelli = nullptr;
    QStringList m_errori;

    Stato &stato() const { return m_prova->form->S(); }
    AreaGrafici *area() const { return m_prova->op->Area(); }

    bool avvia()
    {
        m_prova = std::make_unique<FinestraProva>();
        if (!m_prova->AvviaOffline())
            return false;
        m_pannelli = m_prova->form->findChild<PannelliFinestra *>(QStringLiteral("PannelliFinestra"));
        if (!m_pannelli)
            return false;
        m_pannelli->Dialogo_Nativo = false;
        m_pannelli->Errore = [this](const QString &t) { m_errori << t; };
        return true;
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
    void trascina(RiquadroGrafico *r, QPoint presa, QPoint meta)
    {
        QRect g = r->geometry();
        if (meta.x() != g.left()) {
            const int x = meta.x() < g.left() ? meta.x() : meta.x() + g.width();
            QTest::mouseMove(area(), QPoint(x, g.top() + presa.y()));
        }
        g = r->geometry();
        if (meta.y() != g.top()) {
            const int y = meta.y() < g.top() ? meta.y() : meta.y() + g.height();
            QTest::mouseMove(area(), QPoint(g.left() + presa.x(), y));
        }
    }

private slots:
    void initTestCase() { qputenv("WAVELORE_AVVISI_AUTOMATICI", "1"); }

    void init()
    {
        m_cartella = std::make_unique<CartellaTemporanea>();
        QVERIFY(archivio::Crea_Archivi().ok);
        QVERIFY(GeneraStoricoLocale(2));
        m_errori.clear();
        QVERIFY(avvia());
    }

    void cleanup()
    {
        m_pannelli = nullptr;
        m_prova.reset();
        m_cartella.reset();
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
        const QDateTime alle = QDateTime(QDate(2026, 12, 7), QTime(14, 5, 59));
        QCOMPARE(ciclo::Nome_Immagine_Proposto(cartella, alle, QStringLiteral("Dax")), atteso);
        // Two saves in the same minute propose the same name.
        QCOMPARE(ciclo::Nome_Immagine_Proposto(cartella, alle.addSecs(-59), QStringLiteral("Dax")), atteso);
    }

    // The picture button of a slot that is not the current one saves that slot's
    // chart, with the product line in its title while the dialog is open; the title
    // comes back whatever the user does, and only an accepted name is written.
    void fotoDelRiquadro_data()
    {
        QTest::addColumn<QString>("scelta");  // "" cancels; relative to the temporary folder
        QTest::addColumn<bool>("scritto");
        QTest::newRow("salvata") << "Immagini/grafico.bmp" << true;
        QTest::newRow("annullata") << "" << false;
        QTest::newRow("cartella non scrivibile") << "non_cartella/grafico.bmp" << false;
    }
    void fotoDelRiquadro()
    {
        QFETCH(QString, scelta);
        QFETCH(bool, scritto);
        const int slot = stato().cicli.Grafico_Corrente == 2 ? 1 : 2;
        QVERIFY(stato().cicli.Conf_Grafici[size_t(slot)].in_uso == 1);
        const int corrente = stato().cicli.Grafico_Corrente;
        const QString immagini = percorsi::CartellaProgramma() + QStringLiteral("/Immagini");
        QVERIFY(QDir(immagini).removeRecursively());
        QFile nonCartella(m_cartella->percorso() + QStringLiteral("/non_cartella"));
        QVERIFY(nonCartella.open(QIODevice::WriteOnly));
        nonCartella.close();
        GraficoWidget *g = area()->Frm_Graf[size_t(slot)]->Graf_Battleplan;
        const QString titolo = stato().cicli.Titoli_Grafici[size_t(slot)];
        const QString file = scelta.isEmpty() ? QString() : m_cartella->percorso() + QLatin1Char('/') + scelta;

        QString proposto, titoloNelDialogo;
        QImage mostrata;
        bool visto = false;
        QTimer guardia;
        connect(&guardia, &QTimer::timeout, this, [&] {
            auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!d || visto)
                return;
            visto = true;
            proposto = d->selectedFiles().value(0);
            titoloNelDialogo = g->titolo().testo;
            mostrata = g->Immagine();
            if (file.isEmpty()) {
                d->reject();
            } else {
                d->selectFile(file);
                static_cast<QDialog *>(d)->accept();  // as the dialog's Save button does
            }
        });
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
        QVERIFY(titoloNelDialogo.endsWith(QStringLiteral("\r\nWavelore \u00AE - www.wavelore.example")));
        QCOMPARE(g->titolo().testo, titolo);
        QCOMPARE(stato().cicli.Grafico_Corrente, corrente);

        QCOMPARE(!file.isEmpty() && QFile::exists(file), scritto);
        QCOMPARE(QDir(immagini).entryList(QDir::Files).size(), scritto ? 1 : 0);
        if (scritto) {
            // The file holds the chart as it was shown, product line included.
            QImage salvata(file, "BMP");
            QCOMPARE(salvata.size(), mostrata.size());
            QVERIFY(salvata.convertToFormat(QImage::Format_RGB32) == mostrata.convertToFormat(QImage::Format_RGB32));
        }
        QCOMPARE(m_errori.size(), !file.isEmpty() && !scritto ? 1 : 0);
        if (!m_errori.isEmpty())
            QVERIFY(m_errori.first().contains(QStringLiteral("grafico.bmp")));
    }
};

QTEST_MAIN(PannelliFinestraTest)
#include "PannelliFinestraTest.moc"
