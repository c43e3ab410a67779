// The real-time chart switch, the last-price redraw, clearing and drawing all
// four slots, and the red last-price segment of the short-term charts.

#include "GraficoRegistratore.h"
#include "InterfacceVuote.h"
#include "SlotGraficoProva.h"
#include "StatoProva.h"

#include "Stato.h"
#include "cycle/BarreGrafico.h"
#include "cycle/GraficoTempoReale.h"
#include "cycle/SezioniGrafico.h"
#include "platform/Schermo.h"
#include "shell/DisegnaGrafico.h"

#include <QPainter>
#include <QtTest>
#include <memory>

namespace {

using Slot = QPair<int, int>;  // (slot, degree) passed to Disegna_Grafico

// The window side as a recording: what was asked, shown, redrawn and saved.
struct Finestra : AmbienteGraficoRT {
    const Stato *stato = nullptr;
    bool risposta = false;
    bool salvataggioRiuscito = true;
    QStringList eventi;  // "beep", "domanda", "colore <index>", "salva <value>"
    QString titolo;
    QString testo;
    QList<Slot> ridisegnati;
    std::array<GraficoRegistratore, 4> grafici;

    Finestra &ambiente() { return *this; }
    void Beep() override { eventi << QStringLiteral("beep"); }
    bool Domanda(const QString &t, const QString &x) override
    {
        eventi << QStringLiteral("domanda");
        titolo = t;
        testo = x;
        return risposta;
    }
    void Colore_Cmd_Graf_RT(ColoreWin c) override
    {
        const auto &colori = stato->cicli.Colori;
        const auto it = std::find(colori.begin(), colori.end(), c);
        eventi << QStringLiteral("colore %1").arg(it == colori.end() ? -1 : int(it - colori.begin()));
    }
    void Disegna_Grafico(int s, int g) override { ridisegnati << Slot{s, g}; }
    bool Salva_Grafico_RT() override
    {
        eventi << QStringLiteral("salva %1").arg(stato->archivio.Grafico_RT);
        return salvataggioRiuscito;
    }
    GraficoControllo *Graf_Battleplan(int s) override { return s >= 0 && s < 4 ? &grafici[size_t(s)] : nullptr; }
};

// Draws each slot asked for into memory controls, recording the order.
struct DisegnoInMemoria : AmbienteGraficoRTVuoto {
    Stato &stato;
    ControlliMemoria &controlli;
    QList<Slot> disegnati;
    DisegnoInMemoria(Stato &s, ControlliMemoria &c) : stato(s), controlli(c) {}
    void Disegna_Grafico(int s, int g) override
    {
        disegnati << Slot{s, g};
        finestra::Disegna_Grafico(stato, controlli, s, g);
    }
};

std::unique_ptr<Stato> statoConGradi(const QList<int> &gradi)
{
    auto s = prova::NuovoStato();
    for (int i = 0; i < 4; ++i)
        s->cicli.Conf_Grafici[size_t(i)].grado = gradi.value(i);
    // Distinct colours so the button colour names its index.
    for (int i = 0; i < costanti::Num_Colori; ++i)
        s->cicli.Colori[size_t(i)] = ColoreWin(0x100000u + std::uint32_t(i));
    return s;
}

}  // namespace

class GraficoTempoRealeTest : public QObject {
    Q_OBJECT

private slots:
    void pulsante_rt_data()
    {
        QTest::addColumn<int>("prima");
        QTest::addColumn<bool>("risposta");
        QTest::addColumn<QList<int>>("gradi");
        QTest::addColumn<int>("dopo");
        QTest::addColumn<QStringList>("eventi");
        QTest::addColumn<QList<Slot>>("ridisegnati");
        const QList<Slot> tre{{1, 8}, {2, 10}, {3, 12}};
        QTest::newRow("acceso con Si") << 0 << true << QList<int>{2, 8, 10, 12} << 1
                                       << QStringList{"beep", "domanda", "colore 42", "salva 1"} << tre;
        QTest::newRow("No lascia 0 ma ridisegna e salva") << 0 << false << QList<int>{2, 8, 10, 12} << 0
                                                          << QStringList{"beep", "domanda", "salva 0"} << tre;
        QTest::newRow("spento senza domanda") << 1 << true << QList<int>{2, 8, 10, 12} << 0
                                              << QStringList{"colore 41", "salva 0"} << tre;
        QTest::newRow("valore fuori misura vale spento") << 5 << true << QList<int>{9, 11, 0, 0} << 1
                                                         << QStringList{"beep", "domanda", "colore 42", "salva 1"}
                                                         << QList<Slot>{{0, 9}, {1, 11}};
        QTest::newRow("solo gradi lunghi") << 1 << false << QList<int>{0, 5, 6, 7} << 0
                                           << QStringList{"colore 41", "salva 0"} << QList<Slot>{};
    }
    void pulsante_rt()
    {
        QFETCH(int, prima);
        QFETCH(bool, risposta);
        QFETCH(QList<int>, gradi);
        auto s = statoConGradi(gradi);
        s->archivio.Grafico_RT = prima;
        Finestra f;
        f.stato = s.get();
        f.risposta = risposta;

        QVERIFY(ciclo::Cmd_Graf_RT_Click(s->archivio, s->cicli, f.ambiente()));

        QTEST(s->archivio.Grafico_RT, "dopo");
        QTEST(f.eventi, "eventi");
        QTEST(f.ridisegnati, "ridisegnati");
        if (f.eventi.contains(QStringLiteral("domanda"))) {
            QCOMPARE(f.titolo, QStringLiteral("- Attivazione Grafici Real Time -"));
            QCOMPARE(f.testo,
                     QStringLiteral("Si desidera attivare L'aggiornamento Grafico in Realtime  di Wavelore ?    \r\n"
                                    "\r\n"
                                    "L'attivazione di questo servizio potrebbe rallentare Wavelore \r\n"
                                    "se non si dispone di una configurazione adeguata del Vostro computer.\r\n"
                                    "\r\n"
                                    "Premere Si per attivare, No per non attivare"));
        }
    }

    void salvataggio_fallito_riferito()
    {
        auto s = statoConGradi({8, 0, 0, 0});
        Finestra f;
        f.stato = s.get();
        f.risposta = true;
        f.salvataggioRiuscito = false;
        QVERIFY(!ciclo::Cmd_Graf_RT_Click(s->archivio, s->cicli, f.ambiente()));
        // The choice holds for this session even though it could not be written.
        QCOMPARE(s->archivio.Grafico_RT, 1);
        QCOMPARE(f.ridisegnati, (QList<Slot>{{0, 8}}));
    }

    void ultimo_prezzo_cambiato_data()
    {
        QTest::addColumn<int>("rt");
        QTest::addColumn<bool>("bloccoGrafici");
        QTest::addColumn<bool>("bloccoAggiornamento");
        QTest::addColumn<QList<Slot>>("ridisegnati");
        const QList<Slot> tre{{1, 8}, {2, 10}, {3, 12}};
        QTest::newRow("acceso") << 1 << false << false << tre;
        QTest::newRow("spento") << 0 << false << false << QList<Slot>{};
        QTest::newRow("durante il caricamento") << 1 << true << false << QList<Slot>{};
        QTest::newRow("durante un cambio da codice") << 1 << false << true << QList<Slot>{};
    }
    void ultimo_prezzo_cambiato()
    {
        QFETCH(int, rt);
        QFETCH(bool, bloccoGrafici);
        QFETCH(bool, bloccoAggiornamento);
        auto s = statoConGradi({2, 8, 10, 12});
        s->archivio.Grafico_RT = rt;
        s->shell.Blocco_Grafici = bloccoGrafici;
        s->shell.Blocco_Aggiornamento = bloccoAggiornamento;
        Finestra f;
        f.stato = s.get();
        ciclo::Text_Last_Change(s->shell, s->archivio, s->cicli, f.ambiente());
        QTEST(f.ridisegnati, "ridisegnati");
        QVERIFY(f.eventi.isEmpty());
    }

    void cancella_grafici_nasconde_e_svuota()
    {
        auto s = statoConGradi({8, 8, 8, 8});
        Finestra f;
        f.stato = s.get();
        for (GraficoRegistratore &g : f.grafici) {
            g.Nuova_Serie(QStringLiteral("Sottostante"));
            g.Aggiungi_Punto(1, 2);
            g.Visibile(true);
            g.chiamate.clear();
        }
        ciclo::Cancella_Grafici(f.ambiente());
        for (const GraficoRegistratore &g : f.grafici) {
            QCOMPARE(g.chiamate, (QStringList{"Visibile(0)", "Svuota_Grafico()", "Ridisegna_Grafico()"}));
            QVERIFY(!g.Visibile());
            QVERIFY(g.serie().empty());
        }
        // A window without some chart controls is not a fault.
        AmbienteGraficoRTVuoto vuoto;
        ciclo::Cancella_Grafici(vuoto);
    }

    void disegna_grafici_nasconde_slot_non_usato()
    {
        Stato stato;
        for (int slot = 0; slot < 4; ++slot)
            PreparaStatoGrafico(stato, slot, 3 * slot);
        stato.cicli.Conf_Grafici[2].in_uso = 0;
        ControlliMemoria controlli;
        for (GraficoRegistratore &g : controlli.grafici)
            g.Visibile(true);
        DisegnoInMemoria a(stato, controlli);
        ciclo::Disegna_Grafici(stato.cicli, a);
        QCOMPARE(a.disegnati, (QList<Slot>{{0, 0}, {1, 3}, {2, 6}, {3, 9}}));
        for (int slot = 0; slot < 4; ++slot)
            QCOMPARE(controlli.grafici[size_t(slot)].Visibile(), slot != 2);
        QCOMPARE(controlli.grafici[2].conta(QStringLiteral("Aggiungi_Punto")), 0);
        QVERIFY(controlli.grafici[3].conta(QStringLiteral("Aggiungi_Punto")) > 0);
    }

    void segmento_ultimo_prezzo_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("rt");
        QTest::addColumn<QString>("modalita");
        QTest::addColumn<double>("ultimo");  // NaN: no price yet
        QTest::addColumn<int>("barre");
        QTest::addColumn<bool>("segmento");
        QTest::addColumn<double>("yUltimo");
        const double nessuno = std::nan("");
        QTest::newRow("grado 6") << 6 << 1 << "ONLINE" << 150.0 << 100 << false << 0.0;
        QTest::newRow("grado 7") << 7 << 1 << "ONLINE" << 150.0 << 100 << false << 0.0;
        for (int g = 8; g <= 12; ++g)
            QTest::addRow("grado %d", g) << g << 1 << "ONLINE" << 150.0 << 100 << true << 150.0;
        QTest::newRow("migliaia e decimali") << 10 << 1 << "ONLINE" << 12345.25 << 100 << true << 12345.25;
        QTest::newRow("OFFLINE") << 10 << 1 << "OFFLINE" << 150.0 << 100 << false << 0.0;
        QTest::newRow("nessun prezzo") << 10 << 1 << "ONLINE" << nessuno << 100 << false << 0.0;
        QTest::newRow("grafici RT spenti") << 10 << 0 << "ONLINE" << 150.0 << 100 << false << 0.0;
        QTest::newRow("infinito") << 8 << 1 << "ONLINE" << qInf() << 100 << false << 0.0;
        QTest::newRow("Barre_Ciclo 0") << 12 << 1 << "ONLINE" << 150.0 << 0 << true << 150.0;
    }
    void segmento_ultimo_prezzo()
    {
        QFETCH(int, grado);
        QFETCH(int, rt);
        QFETCH(QString, modalita);
        QFETCH(double, ultimo);
        QFETCH(int, barre);
        QFETCH(bool, segmento);
        QFETCH(double, yUltimo);
        auto s = prova::NuovoStato();
        s->archivio.Grafico_RT = rt;
        s->shell.Modalita = modalita;
        s->cicli.Barre_Ciclo[size_t(grado)] = barre;
        // Newest close of the degree's series.
        const double chiusura = (grado <= 9 ? s->mercato.Storico_15M : s->mercato.Storico_5M).barra(1).chiusura;
        s->mercato.Storico_5M.barra(1).chiusura = 97.5;  // the two intraday series differ
        const double chiusuraGrado = grado <= 9 ? chiusura : 97.5;

        GraficoRegistratore g;
        ContestoGrafico c{s->shell, s->archivio, s->mercato, s->cicli, g, 0, grado};
        if (!std::isnan(ultimo))
            s->mercato.Ultimo_Prezzo = ultimo;
        ciclo::Disegna_Ultimo_Prezzo(c);

        if (!segmento) {
            QVERIFY2(g.chiamate.isEmpty(), qPrintable(g.chiamate.join(' ')));
            return;
        }
        auto n = [](double v) { return QString::number(v, 'g', 12); };
        QCOMPARE(g.chiamate, (QStringList{"Nuova_Serie()", "Stile_Serie(0x0000ff,2,1)", "Tipo_Punto_Serie(0)",
                                          "Aggiungi_Punto(" + n(barre) + "," + n(chiusuraGrado) + ")",
                                          "Aggiungi_Punto(" + n(barre + 1) + "," + n(yUltimo) + ")"}));
    }

    // The whole drawing: the segment follows the price points directly and only for degrees 8..12.
    void segmento_nel_disegno_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<bool>("segmento");
        QTest::newRow("grado 6") << 6 << false;
        QTest::newRow("grado 7") << 7 << false;
        QTest::newRow("grado 8") << 8 << true;
        QTest::newRow("grado 12") << 12 << true;
    }
    void segmento_nel_disegno()
    {
        QFETCH(int, grado);
        QFETCH(bool, segmento);
        Stato stato;
        PreparaStatoGrafico(stato, 1, grado);
        stato.archivio.Grafico_RT = 1;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        ControlliMemoria controlli;
        stato.mercato.Ultimo_Prezzo = 23456.0;
        finestra::Disegna_Grafico(stato, controlli, 1, grado);
        const GraficoRegistratore &g = controlli.grafici[1];
        const int rosso = g.indice(QStringLiteral("Stile_Serie(0x0000ff,2,1)"));
        QCOMPARE(rosso >= 0, segmento);
        if (!segmento)
            return;
        const int barre = stato.cicli.Barre_Ciclo[size_t(grado)];
        QCOMPARE(g.chiamate.at(rosso - 1), QStringLiteral("Nuova_Serie()"));
        QVERIFY(g.chiamate.at(rosso - 2).startsWith(QStringLiteral("Aggiungi_Punto(%1,").arg(barre)));
        QCOMPARE(g.chiamate.at(rosso + 3), QStringLiteral("Aggiungi_Punto(%1,23456)").arg(barre + 1));
        const auto serie = g.serieDi(QString());
        const bool trovata = std::any_of(serie.begin(), serie.end(), [&](const SerieGrafico *sg) {
            return sg->colore == ColoreWin(255) && sg->punti.size() == 2 && sg->asseX == 2 && sg->asseY == 2
                   && sg->punti[1] == QPointF(barre + 1, 23456);
        });
        QVERIFY(trovata);
    }

    // Painted: the segment adds red pixels, none when the quote box is empty.
    void segmento_rosso_nell_immagine()
    {
        std::array<int, 2> rossi{};
        for (const bool conPrezzo : {false, true}) {
            Stato stato;
            PreparaStatoGrafico(stato, 0, 10);
            stato.archivio.Grafico_RT = 1;
            stato.shell.Modalita = QStringLiteral("ONLINE");
            const double chiusura = stato.mercato.Storico_5M.barra(1).chiusura;
            if (conPrezzo)
                stato.mercato.Ultimo_Prezzo = chiusura + 5;
            ControlliMemoria controlli;
            ciclo::Imposta_Barre_Grafico(stato.shell, stato.cicli, controlli, 0, 10);
            finestra::Disegna_Grafico(stato, controlli, 0, 10);
            QImage img(900, 520, QImage::Format_RGB32);
            img.fill(Qt::magenta);
            QPainter p(&img);
            render_grafico::Disegna(controlli.grafici[0], p, QRectF(img.rect()), nullptr);
            p.end();
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    n += (img.pixel(x, y) & 0xffffff) == 0xff0000;
            rossi[conPrezzo ? 1 : 0] = n;
        }
        QVERIFY2(rossi[1] > rossi[0] + 10, qPrintable(QStringLiteral("%1 %2").arg(rossi[0]).arg(rossi[1])));
    }
};

QTEST_MAIN(GraficoTempoRealeTest)
#include "GraficoTempoRealeTest.moc"
