#include "CartellaTemporanea.h"
#include "InterfacceVuoteUi.h"
#include "SlotGraficoProva.h"
#include "StatoProva.h"
#include "archive/CreaArchivi.h"
#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/ControlliGrafici.h"
#include "drawing/GraficoOggetti.h"
#include "drawing/ui/BandaOverlay.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "platform/Schermo.h"
#include "shell/Messaggi.h"

#include <QToolButton>
#include <QtTest>

// Four real chart widgets driven with real mouse and key events.
class ControlliWidget : public ControlliGrafici {
public:
    std::array<GraficoWidget *, 4> grafici{};
    std::array<BarraValori, 4> hsc, hscY;
    GraficoControllo *Graf_Battleplan(int s) override { return s >= 0 && s < 4 ? grafici[size_t(s)] : nullptr; }
    BarraScorrimento *Hsc_Graf(int s) override { return s >= 0 && s < 4 ? &hsc[size_t(s)] : nullptr; }
    BarraScorrimento *Hsc_Graf_Y(int s) override { return s >= 0 && s < 4 ? &hscY[size_t(s)] : nullptr; }
    void Mostra_Comandi_Slot(int, bool) override {}
    int Sld_Zoom_Max() const override { return 10; }
};

// The window's side: messages and saved degrees recorded, a redraw 5 ms later, no error.
class ServiziProva : public ServiziStrumentiVuoti {
public:
    QList<int> messaggi, parametri;
    int ridisegni = 0;
    std::function<void()> ridisegna;
    void Mostra_Messaggio(int tipo) override { messaggi << tipo; }
    void Mostra_Errore(const QString &testo) override { QFAIL(qPrintable(testo)); }
    void Avvia_Timer_Disegno() override
    {
        ++ridisegni;
        QTimer::singleShot(5, ridisegna);
    }
    bool Salva_Parametro(archivio::Codice_Modifica, int grado, QString &) override
    {
        parametri << grado;
        return true;
    }
};

class StrumentiWidgetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaTemporanea> cartella;
    std::unique_ptr<Stato> stato;
    std::unique_ptr<QWidget> finestra;
    ControlliWidget controlli;
    std::unique_ptr<StrumentiFinestra> strumenti;
    PulsantiStrumenti *pulsanti = nullptr;
    ServiziProva *servizi = nullptr;

    static constexpr int grado = 7;
    GraficoWidget *grafico() { return controlli.grafici[0]; }

    // The chart as the drawing leaves it: X 0..160, Y axis 1 0..28, prices 100..128
    // on Y axis 2, and the user's lines on X 2 / Y 2.
    void disegna(int slot)
    {
        GraficoWidget *g = controlli.grafici[size_t(slot)];
        g->Svuota_Grafico();
        g->Colore_Sfondo_Grafico(0);
        g->Seleziona_Asse_X(1);
        g->Scala_Fissa_Asse(1);
        g->Minimo_Asse(0);
        g->Massimo_Asse(160);
        g->Seleziona_Asse_Y(1);
        g->Scala_Fissa_Asse(1);
        g->Minimo_Asse(0);
        g->Massimo_Asse(28);
        g->Aggiungi_Asse_Y(2);
        g->Scala_Fissa_Asse(1);
        g->Minimo_Asse(100);
        g->Massimo_Asse(128);
        g->Aggiungi_Asse_X(2);
        g->Seleziona_Asse_X(2);
        const int grado = stato->cicli.Conf_Grafici[size_t(slot)].grado;
        ContestoGrafico c{stato->shell, stato->archivio, stato->mercato, stato->cicli, *g, slot, grado};
        disegno::Disegna_Linee_Utente(c, stato->disegno);
        g->Seleziona_Asse_X(1);
        g->Seleziona_Asse_Y(1);
        g->Ridisegna_Grafico();
    }

    QPoint pixel(double x, double y)
    {
        return render_grafico::InPixel(grafico()->disposizione(), 1, 1, QPointF(x, y)).toPoint();
    }
    void muovi(double x, double y) { QTest::mouseMove(grafico(), pixel(x, y)); }
    void clic(double x, double y)
    {
        muovi(x, y);
        QTest::mouseClick(grafico(), Qt::LeftButton, {}, pixel(x, y));
    }
    QString colonnaC0(int id)
    {
        archivio::Connessione c(archivio::FileArchivio::Sistema1);
        return c.LeggiTabella(QStringLiteral("Dati_Linee_S3"))[id].at(QStringLiteral("C0"));
    }

private slots:
    void init()
    {
        cartella = std::make_unique<CartellaTemporanea>();
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema1).ok);
        stato = prova::NuovoStato();
        stato->cicli.Conf_Grafici[0] = SlotGrafico{1, grado, 0};
        stato->cicli.Grafico_Corrente = 1;
        stato->cicli.Grado_Corrente = 6;
        stato->cicli.Colori[30] = 0x0000FF;    // red
        stato->cicli.Colori[34] = 0xFFFF00;    // cyan
        stato->cicli.Colori[0] = 0;

        finestra = std::make_unique<QWidget>();
        finestra->resize(900, 700);
        for (int s = 0; s < 4; ++s) {
            controlli.grafici[size_t(s)] = new GraficoWidget(finestra.get());
            controlli.grafici[size_t(s)]->setGeometry(160 + (s % 2) * 370, (s / 2) * 340, 360, 330);
        }
        strumenti = std::make_unique<StrumentiFinestra>(
            StatoStrumenti{stato->shell, stato->archivio, stato->mercato, stato->cicli, stato->disegno}, controlli,
            controlli.grafici);
        auto nuovi = std::make_unique<ServiziProva>();
        servizi = nuovi.get();
        servizi->ridisegna = [this] { disegna(stato->cicli.Grafico_Corrente); };
        strumenti->Imposta_Servizi(std::move(nuovi));
        pulsanti = strumenti->Crea_Pulsanti(finestra.get());
        pulsanti->setGeometry(0, 0, 150, 200);
        finestra->show();
        QVERIFY(QTest::qWaitForWindowExposed(finestra.get()));
        for (int s = 0; s < 4; ++s)
            disegna(s);
    }
    void cleanup()
    {
        strumenti.reset();
        finestra.reset();
        stato.reset();
        cartella.reset();
    }

    void aggiungiECancellaUnaLinea()
    {
        QTest::mouseClick(pulsanti->Cmd_Line[1], Qt::LeftButton);
        QCOMPARE(stato->disegno.Modo_Disegno, QStringLiteral("LINEA34"));

        muovi(20, 4);
        QCOMPARE(stato->cicli.Grafico_Corrente, 0);  // the slot under the mouse
        QCOMPARE(stato->cicli.Grado_Corrente, grado);
        QCOMPARE(grafico()->cursor().shape(), Qt::BitmapCursor);
        clic(20.5, 4);
        QVERIFY(stato->disegno.Primo_Punto_Attivo);

        // The band follows the mouse over the chart, and the chart itself is not rebuilt for it.
        const int complete = grafico()->dipinture_complete();
        for (int x = 30; x <= 120; x += 10)
            muovi(x, 4 + x / 10.0);
        QVERIFY(strumenti->Banda(0)->Attiva());
        QVERIFY(ContieneColore(grafico()->grab().toImage(), qRgb(0, 255, 255)));
        QCOMPARE(grafico()->dipinture_complete(), complete);

        clic(120.5, 16);
        const Linea &l = stato->disegno.Linee[grado][1];
        QVERIFY(l.in_uso && l.trovata);
        QCOMPARE(l.barra_inizio, 20);
        QCOMPARE(l.barra_fine, 120);
        QVERIFY(std::abs(l.prezzo_inizio - 104) < 0.2);
        QVERIFY(std::abs(l.prezzo_fine - 116) < 0.2);
        QCOMPARE(colonnaC0(grado * 15 + 1), QStringLiteral("1"));
        QVERIFY(!strumenti->Banda(0)->Attiva());
        QCOMPARE(servizi->ridisegni, 1);
        QTRY_VERIFY(ContieneColore(grafico()->Immagine(), qRgb(0, 255, 255)));
        muovi(60, 10);
        QCOMPARE(grafico()->cursor().shape(), Qt::ArrowCursor);

        QTest::mouseClick(pulsanti->Cmd_Cancella_Linea, Qt::LeftButton);
        clic(140, 2);  // empty space: nothing happens
        QVERIFY(l.in_uso);
        clic(70.5, 10);  // on the line
        QVERIFY(!l.in_uso);
        QCOMPARE(colonnaC0(grado * 15 + 1), QStringLiteral("0"));
        QCOMPARE(stato->disegno.Modo_Disegno, QString());
        QTRY_VERIFY(!ContieneColore(grafico()->Immagine(), qRgb(0, 255, 255)));
    }

    // Esc drops the first point of a line or a distance, and its band leaves the screen.
    void escAnnulla_data()
    {
        QTest::addColumn<bool>("distanza");
        QTest::newRow("linea") << false;
        QTest::newRow("distanza") << true;
    }
    void escAnnulla()
    {
        QFETCH(bool, distanza);
        QTest::mouseClick((distanza ? pulsanti->Cmd_Distanza : pulsanti->Cmd_Line)[0], Qt::LeftButton);
        const QRgb rosso = schermo::ColoreWin(stato->cicli.Colori[30]).rgb();
        QVERIFY(!ContieneColore(grafico()->grab().toImage(), rosso));
        clic(20, 4);
        muovi(60, 10);
        QVERIFY(strumenti->Banda(0)->Attiva());
        QVERIFY(ContieneColore(grafico()->grab().toImage(), rosso));
        QTest::keyClick(grafico(), Qt::Key_Escape);
        QVERIFY(!strumenti->Banda(0)->Attiva());
        QVERIFY(!ContieneColore(grafico()->grab().toImage(), rosso));
        QVERIFY(!stato->disegno.Primo_Punto_Attivo);
        QCOMPARE(stato->disegno.Modo_Disegno, QString());
        clic(80, 12);
        QVERIFY(!stato->disegno.Linee[grado][1].in_uso);
        QVERIFY(!stato->disegno.Distanze[grado][1].in_uso);
    }

    void tabellaPienaMostraIlMessaggio()
    {
        for (int s = 1; s <= 15; ++s)
            stato->disegno.Linee[grado][size_t(s)] = Linea{true, true, s, 101, s + 2, 102, 30};
        QTest::mouseClick(pulsanti->Cmd_Line[0], Qt::LeftButton);
        clic(30, 5);
        QCOMPARE(servizi->messaggi, QList<int>{1});
        QCOMPARE(messaggi::Prepara_Messaggio(1, QString()).testo,
                 QStringLiteral("E' stato raggiunto il limite massimo di Linee inseribili.\r\n\r\n"
                                "Per inserire una nuova Linea bisogna prima cancellarne almeno una."));
        QVERIFY(!stato->disegno.Primo_Punto_Attivo);
    }

    void pulsanteMirino()
    {
        stato->cicli.Grafico_Corrente = 0;
        stato->cicli.Grado_Corrente = grado;
        stato->cicli.Modo_Mouse_Grado[grado] = 1;
        QTest::mouseClick(pulsanti->Cmd_Punt_Graf, Qt::LeftButton);
        QCOMPARE(stato->cicli.Modo_Mouse_Grado[grado], 0);
        QCOMPARE(grafico()->puntatore(), false);
        QTest::mouseClick(pulsanti->Cmd_Punt_Graf, Qt::LeftButton);
        QCOMPARE(grafico()->puntatore(), true);
        QCOMPARE(servizi->parametri, (QList<int>{grado, grado}));
    }

    // The window may delete its charts before the tools, as it does when it closes.
    void graficiChiusiPrimaDegliStrumenti()
    {
        delete controlli.grafici[1];
        controlli.grafici[1] = nullptr;
        QVERIFY(!strumenti->Banda(1));
        strumenti->Imposta_Puntatore(1, 3);
        strumenti->Mostra_Banda(1, BandaElastica{});
        QVERIFY(strumenti->Banda(0));
        finestra.reset();
        controlli.grafici = {};
        pulsanti = nullptr;
        QVERIFY(!strumenti->Banda(0));
        strumenti.reset();
    }
};

QTEST_MAIN(StrumentiWidgetTest)
#include "StrumentiWidgetTest.moc"
