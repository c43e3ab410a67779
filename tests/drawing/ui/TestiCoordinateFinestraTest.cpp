// Texts, the coordinate readout and the objects panel in the real working window
// after an OFFLINE start: what the mouse and the buttons do, what the archive file
// holds afterwards and what the chart shows.

#include "ArchivioProva.h"
#include "FinestraProva.h"
#include "StatoProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "cycle/PosizioneBarra.h"
#include "drawing/Coordinate.h"
#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "indicators/ui/PannelloIndicatori.h"
#include "platform/DataOra.h"
#include "chart/RenderGrafico.h"
#include "platform/Schermo.h"
#include "chart/ui/GraficoWidget.h"
#include "shell/FormatiLocali.h"
#include "shell/Messaggi.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormMsg.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/GestoreMessaggi.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/ServiziFinestra.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QString colonnaTesto(const Stato &s, const QString &colonna, int grado, int slot)
{
    return ValoreArchivio(archivio::FileArchivio::Sistema1,
                          QStringLiteral("Dati_Testo_S%1").arg(s.archivio.Sottostante_Corrente), colonna,
                          grado * 15 + slot);
}

// Typing as the keyboard delivers it, any character included.
void digita(QWidget *w, const QString &testo)
{
    for (QChar c : testo) {
        QKeyEvent premuto(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &premuto);
        QKeyEvent rilasciato(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &rilasciato);
    }
}

bool graficoMostra(GraficoWidget *g, const QString &testo)
{
    for (const TestoGrafico &t : g->testi())
        if (t.testo == testo)
            return true;
    return false;
}

// The window's own answers to the tools, save the limit messages, which are recorded.
class MessaggiRegistrati : public ServiziStrumentiFinestra {
public:
    MessaggiRegistrati(FinestraOperativa &f, QList<int> &messaggi) : ServiziStrumentiFinestra(f), m_messaggi(messaggi) {}
    void Mostra_Messaggio(int tipo) override { m_messaggi << tipo; }

private:
    QList<int> &m_messaggi;
};

}  // namespace

class TestiCoordinateFinestraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FinestraProva> prova;
    StrumentiFinestra *strumenti = nullptr;
    QList<int> messaggi;

    Stato &s() { return prova->form->S(); }
    GraficoWidget *grafico(int slot) { return prova->op->Area()->Frm_Graf[size_t(slot)]->Graf_Battleplan; }
    QPoint pixel(int slot, double x, double y)
    {
        return render_grafico::InPixel(grafico(slot)->disposizione(), 1, 1, QPointF(x, y)).toPoint();
    }
    // The chart X the mouse really reports at the pixel nearest to x.
    double xSotto(int slot, double x, double y)
    {
        return render_grafico::InUnita(grafico(slot)->disposizione(), pixel(slot, x, y)).x();
    }
    // Through a neighbouring pixel first: a move to where the pointer already is
    // (the last test's window) would not reach the chart.
    void muovi(int slot, double x, double y)
    {
        QTest::mouseMove(grafico(slot), pixel(slot, x, y) + QPoint(3, 3));
        QTest::mouseMove(grafico(slot), pixel(slot, x, y));
    }
    void clic(int slot, double x, double y)
    {
        muovi(slot, x, y);
        QTest::mouseClick(grafico(slot), Qt::LeftButton, {}, pixel(slot, x, y));
    }
    // A slot of the four showing a daily (or an intraday) degree; the first slot is
    // given daily degree 2 when none shows one.
    int slotDi(bool giornaliero)
    {
        for (int slot = 0; slot < 4; ++slot) {
            const SlotGrafico &c = s().cicli.Conf_Grafici[size_t(slot)];
            if (c.in_uso == 1 && posizione::GradoGiornaliero(c.grado) == giornaliero)
                return slot;
        }
        if (!giornaliero)
            return -1;
        s().cicli.Conf_Grafici[0].grado = 2;
        prova->op->Ridisegno().Disegna_Grafico(0, 2);
        return 0;
    }
    // Opens the text box with a click and writes `testo` as the user types it.
    void scriviTesto(int slot, double x, double y, const QString &testo)
    {
        strumenti->Strumenti().Cmd_Testo_Click(1);
        clic(slot, x, y);
        QVERIFY(strumenti->Text_Scritte_Graf->isVisible());
        digita(strumenti->Text_Scritte_Graf, testo);
        QTest::mouseClick(strumenti->Cmd_Scrivi_Text_Graf, Qt::LeftButton);
    }

private slots:
    void init()
    {
        prova = std::make_unique<FinestraProva>(QList<int>{2, 5});
        QVERIFY(prova->AvviaOffline());
        strumenti = prova->op->Strumenti();
        QVERIFY(strumenti);
        messaggi.clear();
        strumenti->Imposta_Servizi(std::make_unique<MessaggiRegistrati>(*prova->op, messaggi));
    }
    void cleanup() { prova.reset(); }

    void testoPiazzatoRicaricatoCancellato_data()
    {
        QTest::addColumn<bool>("giornaliero");
        QTest::newRow("grado intraday") << false;
        QTest::newRow("grado giornaliero") << true;
    }
    void testoPiazzatoRicaricatoCancellato()
    {
        QFETCH(bool, giornaliero);
        const int slot = slotDi(giornaliero);
        QVERIFY(slot >= 0);
        const int grado = s().cicli.Conf_Grafici[size_t(slot)].grado;
        const int b = s().cicli.Barre_Ciclo[size_t(grado)];
        // Far enough right that the delete window (-2 % .. +5 % of X) spans several pixels.
        const double x = std::max(60.0, b - 3.5);

        scriviTesto(slot, x, 14, QStringLiteral("Nota"));
        QVERIFY(!strumenti->Text_Scritte_Graf->isVisible());
        QVERIFY(prova->form->Frm_Battleplan->isEnabled());
        QVERIFY(!s().shell.Blocco_Aggiornamento);
        const Testo t = s().disegno.Testi[size_t(grado)][1];
        QVERIFY(t.in_uso && t.trovata);
        QCOMPARE(t.testo, QStringLiteral("Nota"));
        QCOMPARE(t.barra, int(std::floor(xSotto(slot, x, 14))));
        QCOMPARE(t.colore, 34);
        QCOMPARE(colonnaTesto(s(), QStringLiteral("C4"), grado, 1), QStringLiteral("Nota"));
        QVERIFY(graficoMostra(grafico(slot), QStringLiteral("Nota")));
        QCOMPARE(s().disegno.Modo_Disegno, QString());

        // Another underlying and back: the text comes back on its bar.
        auto *q = prova->op->Quotazioni();
        QTest::mouseClick(q->Opt_Sott_Off[4], Qt::LeftButton);
        QVERIFY(!s().disegno.Testi[size_t(grado)][1].in_uso);
        QTest::mouseClick(q->Opt_Sott_Off[1], Qt::LeftButton);
        QVERIFY(prova->fallimenti.isEmpty());
        const Testo r = s().disegno.Testi[size_t(grado)][1];
        QVERIFY(r.in_uso && r.trovata);
        QCOMPARE(r.barra - s().cicli.Barre_Ciclo[size_t(grado)], t.barra - b);
        QCOMPARE(r.testo, t.testo);
        QCOMPARE(r.prezzo, t.prezzo);

        // Deleted with the delete tool on its anchor: row freed, chart redrawn without it.
        QCOMPARE(slotDi(giornaliero), slot);
        QCOMPARE(s().cicli.Conf_Grafici[size_t(slot)].grado, grado);
        strumenti->Strumenti().Cmd_Cancella_Testo_Click();
        disegno::AssiGrafico assi;
        QVERIFY(strumenti->Strumenti().LeggiAssi(slot, assi));
        const double y = (r.prezzo - assi.lo2) / (assi.hi2 - assi.lo2) * (assi.hi1 - assi.lo1) + assi.lo1;
        // A little below the anchor: the window reaches 5 % above the click but only 0.1 % below.
        clic(slot, r.barra + 0.5, y - 0.3);
        QVERIFY(!s().disegno.Testi[size_t(grado)][1].in_uso);
        QCOMPARE(colonnaTesto(s(), QStringLiteral("C4"), grado, 1), QStringLiteral("@"));
        QCOMPARE(colonnaTesto(s(), QStringLiteral("C0"), grado, 1), QStringLiteral("0"));
        QTRY_VERIFY(!prova->op->Ridisegno().Timer_Disegno.isActive());
        QVERIFY(!graficoMostra(grafico(slot), QStringLiteral("Nota")));
    }

    // Whatever the user types comes back from the archive file as typed.
    void caratteriDifficili_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::newRow("apostrofo") << QStringLiteral("l'alba dell'euro");
        QTest::newRow("virgolette") << QStringLiteral("\"su\" 'giù'");
        QTest::newRow("punto e virgola") << QStringLiteral("a;b;;c; DROP");
        QTest::newRow("barra verticale") << QStringLiteral("a|b||c|");
        QTest::newRow("accenti") << QStringLiteral("àèéìòù ÀÈÉÌÒÙ ç");
        // Every character of Windows-1252 above 0x7F, twenty at a time.
        const QString cp1252 = QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
        QString alti;
        for (char16_t c = 0xA0; c <= 0xFF; ++c)
            alti += QChar(c);
        const QString tutti = cp1252 + alti;
        for (qsizetype i = 0; i < tutti.size(); i += 20)
            QTest::addRow("windows-1252 da %d", int(i)) << tutti.mid(i, 20);
    }
    void caratteriDifficili()
    {
        QFETCH(QString, testo);
        const int slot = slotDi(false);
        QVERIFY(slot >= 0);
        const int grado = s().cicli.Conf_Grafici[size_t(slot)].grado;
        scriviTesto(slot, s().cicli.Barre_Ciclo[size_t(grado)] - 2.5, 10, testo);
        QCOMPARE(s().disegno.Testi[size_t(grado)][1].testo, testo);
        QCOMPARE(colonnaTesto(s(), QStringLiteral("C4"), grado, 1), testo);
        QVERIFY(graficoMostra(grafico(slot), testo));
    }

    void casellaELimiti()
    {
        const int slot = slotDi(false);
        QVERIFY(slot >= 0);
        const int grado = s().cicli.Conf_Grafici[size_t(slot)].grado;
        const double x = s().cicli.Barre_Ciclo[size_t(grado)] - 2.5;
        strumenti->Strumenti().Cmd_Testo_Click(0);
        clic(slot, x, 12);
        QLineEdit *box = strumenti->Text_Scritte_Graf;
        QVERIFY(box->isVisible() && box->hasFocus());
        QVERIFY(!prova->form->Frm_Battleplan->isEnabled());
        QVERIFY(!prova->form->Frm_Dati_Sot->isEnabled());
        QVERIFY(s().shell.Blocco_Aggiornamento);
        digita(box, QStringLiteral("12345678901234567890"));
        digita(box, QStringLiteral("X"));  // the 21st character
        QCOMPARE(box->text(), QStringLiteral("12345678901234567890"));
        box->clear();
        digita(box, QStringLiteral("ab@"));
        QCOMPARE(box->text(), QStringLiteral("ab"));
        box->setCursorPosition(1);
        digita(box, QStringLiteral("@"));
        QCOMPARE(box->text(), QStringLiteral("a@b"));
        box->insert(QStringLiteral("una frase incollata troppo lunga"));  // a paste is refused whole
        QCOMPARE(box->text(), QStringLiteral("a@b"));

        // Closing writes nothing and gives the window back.
        QTest::mouseClick(strumenti->Cmd_Chiudi_Text_Graf, Qt::LeftButton);
        QVERIFY(!box->isVisible());
        QCOMPARE(box->text(), QString());
        QVERIFY(prova->form->Frm_Battleplan->isEnabled());
        QVERIFY(!s().disegno.Testi[size_t(grado)][1].in_uso);

        // Writing an empty box stores nothing.
        scriviTesto(slot, x, 12, QString());
        QVERIFY(!s().disegno.Testi[size_t(grado)][1].in_uso);

        // Fifteen texts: every further click shows the texts' limit message, the box stays shut.
        for (int k = 1; k <= 15; ++k)
            s().disegno.Testi[size_t(grado)][size_t(k)] = Testo{true, true, 5, 100, 30, QStringLiteral("t")};
        strumenti->Strumenti().Cmd_Testo_Click(2);
        clic(slot, x, 12);
        clic(slot, x, 13);
        QCOMPARE(messaggi, (QList<int>{2, 2}));
        QVERIFY(!box->isVisible());
        QCOMPARE(s().disegno.Modo_Disegno, QStringLiteral("TESTO32"));
        QVERIFY(messaggi::Prepara_Messaggio(2, QString())
                    .testo.contains(QStringLiteral("Per inserire un nuovo Testoa bisogna prima cancellarne almeno uno.")));
    }

    void coordinate_data()
    {
        QTest::addColumn<bool>("futuro");
        QTest::addColumn<bool>("ue");
        QTest::newRow("storico UE") << false << true;
        QTest::newRow("storico US") << false << false;
        QTest::newRow("futuro UE") << true << true;
        QTest::newRow("futuro US") << true << false;
    }
    void coordinate()
    {
        QFETCH(bool, futuro);
        QFETCH(bool, ue);
        finestra::Imposta_Formati_Locali(s().shell, ue ? QLocale(QLocale::Italian, QLocale::Italy)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        const int slot = slotDi(false);
        QVERIFY(slot >= 0);
        const int grado = s().cicli.Conf_Grafici[size_t(slot)].grado;
        const int b = s().cicli.Barre_Ciclo[size_t(grado)];
        const double xVoluto = futuro ? b + 3.5 : b - 4.5;
        GraficoWidget *g = grafico(slot);
        const int complete = g->dipinture_complete();
        muovi(slot, xVoluto, 9);

        const int x = int(std::floor(xSotto(slot, xVoluto, 9)));
        const posizione::Barra barra = posizione::DaX(s().cicli, s().mercato, grado, x);
        QCOMPARE(barra.dove, futuro ? posizione::Dove::Futuro : posizione::Dove::Storico);
        QDate data;
        int minuti = 0;
        QVERIFY(posizione::TempoDaX(s().cicli, s().mercato, grado, x, data, minuti));
        disegno::AssiGrafico assi;
        QVERIFY(strumenti->Strumenti().LeggiAssi(slot, assi));
        const double y = render_grafico::InUnita(g->disposizione(), pixel(slot, xVoluto, 9)).y();
        const QString prezzo = disegno::TestoPrezzo(s().shell, s().mercato, *disegno::PrezzoDaY(assi, y));
        QVERIFY(prezzo.contains(ue ? QLatin1Char(',') : QLatin1Char('.')));
        const QString atteso = dataora::ScriviData(data, s().shell.Formato_Data) + QLatin1Char(' ') +
                               dataora::ScriviOra(minuti, s().shell.Formato_Ora) + QStringLiteral("  ") + prezzo;
        QLineEdit *fisso = prova->op->Area()->Text_Coord_Graf;
        QVERIFY(fisso->isVisible());
        QCOMPARE(fisso->text(), atteso);
        const auto &colori = s().cicli.Colori;
        QCOMPARE(fisso->palette().color(QPalette::Text),
                 schermo::ColoreWin(futuro ? colori[13] : colori[12]));
        QVERIFY(!strumenti->Txt_Cord_Mob->isVisible());

        // The panel's switch: the moving box follows the mouse, in black on light yellow
        // for a future bar; the flag is stored as "I" of the degree.
        const int prima = s().cicli.Mostra_Coordinate[size_t(grado)];
        QTest::mouseClick(prova->op->Area()->Frm_Graf[size_t(slot)]->Cmd_Coord, Qt::LeftButton);
        QCOMPARE(s().cicli.Mostra_Coordinate[size_t(grado)], prima == 1 ? 0 : 1);
        if (s().cicli.Mostra_Coordinate[size_t(grado)] != 1)
            QTest::mouseClick(prova->op->Area()->Frm_Graf[size_t(slot)]->Cmd_Coord, Qt::LeftButton);
        muovi(slot, xVoluto + 1, 9);
        muovi(slot, xVoluto, 9);
        QVERIFY(strumenti->Txt_Cord_Mob->isVisible());
        QCOMPARE(strumenti->Txt_Cord_Mob->text(), atteso);
        QCOMPARE(strumenti->Txt_Cord_Mob->palette().color(QPalette::Text),
                 schermo::ColoreWin(futuro ? colori[10] : colori[12]));
        QCOMPARE(strumenti->Txt_Cord_Mob->width(),
                 schermo::TwipsInPixel(disegno::Larghezza_Txt_Cord_Mob(s().shell)));
        QCOMPARE(fisso->width(), schermo::TwipsInPixel(disegno::Larghezza_Text_Coord_Graf(s().shell)));
        QCoreApplication::processEvents();
        QCOMPARE(g->dipinture_complete(), complete);  // the moves never rebuilt the chart
        s().disegno.Mouse_X_Graf = -50;  // left of the chart: the box goes
        muovi(slot, -5, 9);
        QVERIFY(!strumenti->Txt_Cord_Mob->isVisible());

        // Nor does it keep a stale reading: it goes when the mouse leaves the chart,
        // and when the charts are laid out again under a still mouse ("Storico" from
        // the keyboard), never lying over the history grid.
        muovi(slot, xVoluto, 9);
        QVERIFY(strumenti->Txt_Cord_Mob->isVisible());
        QTest::mouseMove(prova->form.get(), QPoint(2, 2));
        QVERIFY(!strumenti->Txt_Cord_Mob->isVisible());
        muovi(slot, xVoluto, 9);
        QVERIFY(strumenti->Txt_Cord_Mob->isVisible());
        QTest::keyClick(prova->op->Quotazioni()->Cmd_Storico[1], Qt::Key_Space);
        QVERIFY(prova->form->Frm_Storico->isVisible());
        QVERIFY(!strumenti->Txt_Cord_Mob->isVisible());
    }

    // The three kinds listed with their dates on the degree of the enlarged chart,
    // each deleted from its grid: archive row freed, chart without it once closed. A
    // text its cell cannot show whole reads whole in the cell's tooltip.
    void pannelloOggetti_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("tagliato");
        QTest::newRow("short text") << QStringLiteral("nel pannello") << false;
        QTest::newRow("20 capitals") << QStringLiteral("MASSIMO CICLO LUNGHI") << true;
    }
    void pannelloOggetti()
    {
        QFETCH(QString, testo);
        QFETCH(bool, tagliato);
        const int slot = slotDi(false);
        QVERIFY(slot >= 0);
        QVERIFY(prova->Ingrandisci(slot));
        const int grado = s().cicli.Grado_Corrente;
        const int b = s().cicli.Barre_Ciclo[size_t(grado)];
        StatoDisegno &d = s().disegno;
        QString errore;
        d.Linee[size_t(grado)][3] = Linea{true, true, b - 5, 100, b + 4, 101, 30};
        d.Testi[size_t(grado)][2] = Testo{true, true, b, 100.5, 33, testo};
        d.Distanze[size_t(grado)][7] = Distanza{true, true, b - 6, 99, b + 2, 101, 32, b - 2, 100, QStringLiteral("8h")};
        QVERIFY(strumenti->Salva_Linea(grado, 3, errore));
        QVERIFY(strumenti->Salva_Testo(grado, 2, errore));
        QVERIFY(strumenti->Salva_Distanza(grado, 7, errore));
        prova->op->Ridisegno().Disegna_Grafico(slot, grado);
        QVERIFY(graficoMostra(grafico(slot), testo));

        auto *pulsanti = prova->op->Area()->Frm_Strumenti->findChild<PulsantiStrumenti *>();
        QVERIFY(pulsanti && pulsanti->Cmd_Oggetti_Graf->isVisible());
        QTest::mouseClick(pulsanti->Cmd_Oggetti_Graf, Qt::LeftButton);
        PannelloOggetti *p = strumenti->Frm_Ogg_Graf;
        QVERIFY(p->isVisible());
        QVERIFY(!prova->form->Frm_Dati_Sot->isEnabled());
        QVERIFY(!prova->form->Text_Chat->isEnabled());

        const auto data = [&](int x) {
            QDate dd;
            int m = 0;
            posizione::TempoDaX(s().cicli, s().mercato, grado, x, dd, m);
            return dataora::ScriviData(dd, s().shell.Formato_Data) + QLatin1Char('|') +
                   dataora::ScriviOra(m, s().shell.Formato_Ora);
        };
        const auto cella = [](QTableWidget *g, int r, int c) { return g->item(r, c)->text(); };
        QCOMPARE(cella(p->Msf_Linee, 1, 0), QStringLiteral("3"));
        QCOMPARE(cella(p->Msf_Linee, 1, 3) + QLatin1Char('|') + cella(p->Msf_Linee, 1, 4), data(b - 5));
        QCOMPARE(cella(p->Msf_Linee, 1, 7) + QLatin1Char('|') + cella(p->Msf_Linee, 1, 8), data(b + 4));
        QCOMPARE(p->Msf_Linee->item(1, 2)->background().color(), schermo::ColoreWin(s().cicli.Colori[30]));
        QCOMPARE(cella(p->Msf_Testi, 1, 0), QStringLiteral("2"));
        QCOMPARE(cella(p->Msf_Testi, 1, 3) + QLatin1Char('|') + cella(p->Msf_Testi, 1, 4), data(b));
        QCOMPARE(cella(p->Msf_Testi, 1, 6), testo);
        const QModelIndex celTesto = p->Msf_Testi->model()->index(1, 6);
        QCOMPARE(LarghezzaTesto(FontCella(p->Msf_Testi, celTesto), testo) > SpazioCella(p->Msf_Testi, celTesto),
                 tagliato);
        QCOMPARE(p->Msf_Testi->item(1, 6)->toolTip(), tagliato ? testo : QString());
        QCOMPARE(p->Msf_Testi->item(1, 3)->toolTip() + p->Msf_Linee->item(1, 4)->toolTip(), QString());
        QCOMPARE(cella(p->Msf_Dist, 1, 0), QStringLiteral("7"));
        QCOMPARE(cella(p->Msf_Dist, 1, 3) + QLatin1Char('|') + cella(p->Msf_Dist, 1, 4), data(b - 6));
        QCOMPARE(cella(p->Msf_Dist, 1, 7) + QLatin1Char('|') + cella(p->Msf_Dist, 1, 8), data(b + 2));
        QCOMPARE(cella(p->Msf_Dist, 1, 11), QStringLiteral("8h"));
        QVERIFY(p->Cmd_Canc_Linee[0]->isEnabled() && !p->Cmd_Canc_Linee[1]->isEnabled());

        const auto riga = [&](const char *tabella, int slotOggetto, const char *colonna) {
            return ValoreArchivio(archivio::FileArchivio::Sistema1,
                                  QStringLiteral("%1%2").arg(QLatin1String(tabella)).arg(s().archivio.Sottostante_Corrente),
                                  QLatin1String(colonna), grado * 15 + slotOggetto);
        };
        QTest::mouseClick(p->Cmd_Canc_Testi[0], Qt::LeftButton);
        QVERIFY(!d.Testi[size_t(grado)][2].in_uso);
        QCOMPARE(riga("Dati_Testo_S", 2, "C4"), QStringLiteral("@"));
        QCOMPARE(cella(p->Msf_Testi, 1, 0), QString());
        QVERIFY(!p->Cmd_Canc_Testi[0]->isEnabled());
        QTest::mouseClick(p->Cmd_Canc_Linee[0], Qt::LeftButton);
        QVERIFY(!d.Linee[size_t(grado)][3].in_uso);
        QCOMPARE(riga("Dati_Linee_S", 3, "C0"), QStringLiteral("0"));
        QTest::mouseClick(p->Cmd_Canc_Distanze[0], Qt::LeftButton);
        QVERIFY(!d.Distanze[size_t(grado)][7].in_uso);
        QCOMPARE(riga("Dati_Dista_S", 7, "C11"), QStringLiteral("@"));
        QVERIFY(graficoMostra(grafico(slot), testo));  // redrawn only on closing

        QTest::mouseClick(p->Cmd_Esci_Ogg_Graf, Qt::LeftButton);
        QVERIFY(!p->isVisible());
        QVERIFY(prova->form->Frm_Dati_Sot->isEnabled() && prova->form->Text_Chat->isEnabled());
        QVERIFY(!graficoMostra(grafico(slot), testo));
        QVERIFY(!graficoMostra(grafico(slot), QStringLiteral("8h")));
    }

    // Objects stored with bars out of reach wait: the panel lists them in grey with
    // the dates and prices of their rows and says whether they may come back, a new
    // line passes their slot by, the limit message counts them by sort, and the panel
    // deletes one, unless the archive refuses: then it says so and nothing changes.
    void pannelloOggettiInAttesa_data()
    {
        QTest::addColumn<QString>("data");  // of every point, ddmmyy; "": a holiday of the history
        QTest::addColumn<bool>("piuVecchio");  // never to come back
        QTest::newRow("older than the history") << QStringLiteral("020190") << true;
        QTest::newRow("beyond the last bar") << QStringLiteral("020245") << false;
        QTest::newRow("a holiday in the history") << QString() << true;
    }
    void pannelloOggettiInAttesa()
    {
        QFETCH(QString, data);
        QFETCH(bool, piuVecchio);
        const int slot = slotDi(false);
        QVERIFY(slot >= 0 && prova->Ingrandisci(slot));
        const int grado = s().cicli.Grado_Corrente, id = grado * 15 + 1;
        if (data.isEmpty()) {
            // A trading day halfway back in the history had no session after all.
            SerieStorico &serie = posizione::SerieDelGrado(s().mercato, grado);
            const QDate festivo = serie.barra(serie.capacita() / 2).data;
            QVERIFY(prova::TogliGiorno(serie, festivo) > 0);
            data = dataora::ScriviDataCompatta(festivo);
        }
        const auto tabella = [&](const char *prefisso) {
            return archivio::NomeTabellaOggetti(QLatin1String(prefisso), s().archivio.Sottostante_Corrente);
        };
        const QString linee = tabella("Dati_Linee_S");
        // Slot 1 of each kind long before the oldest bar, or long after the future axis.
        const std::pair<const char *, QStringList> righe[] = {
            {"Dati_Linee_S", {"1", data, "1000", "123.5", data, "1015", "124", "34"}},
            {"Dati_Testo_S", {"1", data, "1000", "123.5", "atteso", "33"}},
            {"Dati_Dista_S", {"1", data, "1000", "123.5", data, "1100", "124", "32", data, "1030", "123.75", "1h"}}};
        for (const auto &[prefisso, valori] : righe) {
            std::vector<std::pair<QString, QString>> colonne;
            for (int c = 0; c < valori.size(); ++c)
                colonne.emplace_back(QStringLiteral("C%1").arg(c), valori[c]);
            archivio::Connessione c(archivio::FileArchivio::Sistema1);
            QVERIFY(c.AggiornaRiga(tabella(prefisso), id, colonne));
        }
        StatoDisegno &d = s().disegno;
        QCOMPARE(disegno::Carica_Linee(s().archivio, s().mercato, s().cicli, d).non_collocati, 1);
        QCOMPARE(disegno::Carica_Testi(s().archivio, s().mercato, s().cicli, d).non_collocati, 1);
        QCOMPARE(disegno::Carica_Distanze(s().archivio, s().mercato, s().cicli, d).non_collocati, 1);

        auto *pulsanti = prova->op->Area()->Frm_Strumenti->findChild<PulsantiStrumenti *>();
        PannelloOggetti *p = strumenti->Frm_Ogg_Graf;
        QTest::mouseClick(pulsanti->Cmd_Oggetti_Graf, Qt::LeftButton);
        const auto cella = [](QTableWidget *g, int c) { return g->item(1, c)->text(); };
        const QStringList punto{dataora::ScriviData(*dataora::LeggiDataCompatta(data), s().shell.Formato_Data),
                                dataora::ScriviOra(600, s().shell.Formato_Ora),
                                disegno::TestoPrezzo(s().shell, s().mercato, 123.5)};
        for (QTableWidget *g : {p->Msf_Linee, p->Msf_Testi, p->Msf_Dist}) {
            QCOMPARE((QStringList{cella(g, 0), cella(g, 3), cella(g, 4), cella(g, 5)}), QStringList{"1"} + punto);
            QVERIFY(g->item(1, 3)->foreground().color() != g->item(0, 3)->foreground().color());
            QCOMPARE(g->item(1, 3)->toolTip().contains(QStringLiteral("In attesa")), !piuVecchio);
            QCOMPARE(g->item(1, 4)->toolTip().contains(QStringLiteral("non torner\u00E0 sul grafico")), piuVecchio);
        }
        QCOMPARE(p->Msf_Linee->item(1, 2)->background().color(), schermo::ColoreWin(s().cicli.Colori[34]));
        QCOMPARE(cella(p->Msf_Testi, 6) + cella(p->Msf_Dist, 11), QStringLiteral("atteso1h"));
        QTest::mouseClick(p->Cmd_Esci_Ogg_Graf, Qt::LeftButton);

        const int b = s().cicli.Barre_Ciclo[size_t(grado)];
        strumenti->Strumenti().Cmd_Line_Click(0);
        clic(slot, b / 2.0, 10);
        clic(slot, b - 2.5, 12);
        QVERIFY(d.Linee[size_t(grado)][2].in_uso && !d.Linee[size_t(grado)][1].in_uso);
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema1, linee, QStringLiteral("C1"), id), data);

        // The other slots taken: the message window says which sort holds the first.
        for (int k = 3; k <= 15; ++k)
            d.Linee[size_t(grado)][size_t(k)] = Linea{true, true, b / 2, 10, b - 3, 12, 30};
        QString limite;
        connect(&prova->form->Messaggi(), &GestoreMessaggi::Mostrato, this, [&limite](FormMsg *m) {
            limite = m->Text_Msg->toPlainText();
            QTimer::singleShot(0, m, [m] { QTest::mouseClick(m->Cmd_Ok, Qt::LeftButton); });
        });
        strumenti->Strumenti().Cmd_Line_Click(0);
        clic(slot, b / 2.0, 10);
        disconnect(&prova->form->Messaggi(), &GestoreMessaggi::Mostrato, this, nullptr);
        QCOMPARE(limite, disegno::Testo_Limite_In_Attesa(1, {piuVecchio ? 0 : 1, piuVecchio ? 1 : 0})
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(limite.contains(QStringLiteral("non torner\u00E0")), piuVecchio);
        for (int k = 3; k <= 15; ++k)
            d.Linee[size_t(grado)][size_t(k)] = Linea{};
        QTest::keyClick(grafico(slot), Qt::Key_Escape);

        QTest::mouseClick(pulsanti->Cmd_Oggetti_Graf, Qt::LeftButton);
        const QString archiviate = ContenutoTabella(archivio::FileArchivio::Sistema1, linee);
        {
            // Refused by the archive: the line goes as the trader asked, the window tells it
            // once, and the freed row waits in the writer until the file takes it.
            MessaggiCatturati avvisi;
            ConnessioneProva blocco(archivio::FileArchivio::Sistema1);
            QVERIFY(blocco.Esegui(QStringLiteral("CREATE TRIGGER rifiuto BEFORE UPDATE ON %1 BEGIN "
                                                 "SELECT RAISE(ABORT, 'bloccato'); END")
                                      .arg(linee)));
            QTest::mouseClick(p->Cmd_Canc_Linee[0], Qt::LeftButton);
            QTRY_COMPARE(avvisi.testi.size(), 1);
            QVERIFY2(avvisi.testi[0].contains(QStringLiteral("(Sistema1.dat): ")), qPrintable(avvisi.testi[0]));
            QCOMPARE(ContenutoTabella(archivio::FileArchivio::Sistema1, linee), archiviate);
            QVERIFY(d.Linee_In_Attesa[size_t(grado)][1].empty());
            QCOMPARE(cella(p->Msf_Linee, 0), QStringLiteral("2"));
            QVERIFY(blocco.Esegui(QStringLiteral("DROP TRIGGER rifiuto")));
            QTRY_VERIFY_WITH_TIMEOUT(ContenutoTabella(archivio::FileArchivio::Sistema1, linee) != archiviate, 20000);
            QCOMPARE(avvisi.testi.size(), 1);
        }
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema1, linee, QStringLiteral("C0"), id), QStringLiteral("0"));
        QCOMPARE(disegno::SlotLiberoLinee(d, grado), 1);
    }

    // Escape closes the panel as "Esci" does, wherever the focus is in the window;
    // a modal window and the chart text box keep their own Escape.
    void pannelloOggettiEsc_data()
    {
        QTest::addColumn<QString>("dove");
        QTest::addColumn<bool>("chiude");
        QTest::newRow("chart") << "grafico" << true;
        QTest::newRow("period box") << "periodo" << true;
        QTest::newRow("modal window") << "modale" << false;
        QTest::newRow("chart text box") << "testo" << false;
    }
    void pannelloOggettiEsc()
    {
        QFETCH(QString, dove);
        QFETCH(bool, chiude);
        const int slot = slotDi(false);
        QVERIFY(slot >= 0 && prova->Ingrandisci(slot));
        FormS1 *f = prova->form.get();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QTest::mouseClick(f->findChild<QAbstractButton *>(QStringLiteral("Cmd_Oggetti_Graf")), Qt::LeftButton);
        QWidget *fuoco = grafico(slot);
        if (dove == QLatin1String("periodo"))
            fuoco = prova->op->Area()->Pannello_Indicatori->Text_Val_Ind[0];
        if (dove == QLatin1String("testo")) {
            strumenti->Strumenti().Cmd_Testo_Click(1);
            clic(slot, s().cicli.Barre_Ciclo[size_t(s().cicli.Grado_Corrente)] - 2.5, 12);
            fuoco = strumenti->Text_Scritte_Graf;
        }
        QVERIFY(strumenti->Frm_Ogg_Graf->isVisible() && fuoco->isVisible());
        fuoco->setFocus();
        if (dove == QLatin1String("modale")) {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Wavelore"), QStringLiteral("?"),
                            QMessageBox::Ok, f);
            bool attiva = false;
            QTimer::singleShot(0, &box, [&] {
                attiva = QTest::qWaitForWindowActive(&box);
                QTest::keyClick(&box, Qt::Key_Escape);  // closes the box
            });
            box.exec();
            QVERIFY(attiva);
        } else {
            QTest::keyClick(fuoco, Qt::Key_Escape);
        }
        QCOMPARE(strumenti->Frm_Ogg_Graf->isVisible(), !chiude);
        QCOMPARE(f->Text_Chat->isEnabled(), chiude);
    }

    // Fifteen lines scroll the grid; whatever scrolled it, each delete button in
    // sight stands beside the row it deletes, and a click beside the last row in
    // sight frees that row's slot alone.
    void pannelloOggettiScorre_data()
    {
        QTest::addColumn<QString>("modo");
        for (const char *m : {"fermo", "rotella", "barra", "tasti"})
            QTest::newRow(m) << QString::fromLatin1(m);
    }
    void pannelloOggettiScorre()
    {
        QFETCH(QString, modo);
        const int slot = slotDi(false);
        QVERIFY(slot >= 0);
        QVERIFY(prova->Ingrandisci(slot));
        const int grado = s().cicli.Grado_Corrente;
        const int b = s().cicli.Barre_Ciclo[size_t(grado)];
        auto &linee = s().disegno.Linee[size_t(grado)];
        QString errore;
        for (int k = 1; k <= 15; ++k) {
            linee[size_t(k)] = Linea{true, true, b - 20 + k, 100.0 + k, b - 10 + k, 101.0 + k, 30};
            QVERIFY(strumenti->Salva_Linea(grado, k, errore));
        }
        auto *pulsanti = prova->op->Area()->Frm_Strumenti->findChild<PulsantiStrumenti *>();
        QVERIFY(pulsanti);
        QTest::mouseClick(pulsanti->Cmd_Oggetti_Graf, Qt::LeftButton);
        PannelloOggetti *p = strumenti->Frm_Ogg_Graf;
        QTableWidget *g = p->Msf_Linee;
        QScrollBar *barra = g->verticalScrollBar();
        QVERIFY(p->isVisible());

        if (modo == QLatin1String("rotella")) {
            for (int i = 0; i < 3; ++i)
                Rotella(g->viewport(), -120);
        } else if (modo == QLatin1String("barra")) {
            for (int i = 0; i < 3; ++i)  // the arrow at the bar's foot
                QTest::mouseClick(barra, Qt::LeftButton, {}, QPoint(barra->width() / 2, barra->height() - 3));
        } else if (modo == QLatin1String("tasti")) {
            QTest::keyClick(barra, Qt::Key_End);
        }
        if (modo != QLatin1String("fermo") && barra->maximum() > 0)
            QVERIFY(barra->value() > 0);

        QWidget *vista = g->viewport();
        for (int i = 0; i < 15; ++i) {
            QToolButton *t = p->Cmd_Canc_Linee[size_t(i)];
            const QPoint centro = vista->mapFromGlobal(t->mapToGlobal(t->rect().center()));
            if (t->isVisible() && vista->rect().contains(centro))
                QCOMPARE(g->rowAt(centro.y()), i + 1);
        }
        // The last row in sight, and a point beside it in column 1, clicked as
        // the window system delivers a click.
        int r = g->rowAt(vista->height() - 1);
        if (r < 0)
            r = 15;
        const QRect cella = g->visualRect(g->model()->index(r, 1));
        const QPoint punto(cella.center().x(), (std::max(cella.top(), 0) + std::min(cella.bottom(), vista->height() - 1)) / 2);
        const int slotRiga = g->item(r, 0)->text().toInt();
        QVERIFY(slotRiga >= 1);
        QWidget *finestra = p->window();
        QTest::mouseClick(finestra->windowHandle(), Qt::LeftButton, {}, vista->mapTo(finestra, punto));

        const auto inUso = [&](int k) {
            return ValoreArchivio(archivio::FileArchivio::Sistema1,
                                  QStringLiteral("Dati_Linee_S%1").arg(s().archivio.Sottostante_Corrente),
                                  QStringLiteral("C0"), grado * 15 + k);
        };
        for (int k = 1; k <= 15; ++k) {
            QCOMPARE(linee[size_t(k)].in_uso, k != slotRiga);
            QCOMPARE(inUso(k), k == slotRiga ? QStringLiteral("0") : QStringLiteral("1"));
        }
    }
};

QTEST_MAIN(TestiCoordinateFinestraTest)
#include "TestiCoordinateFinestraTest.moc"
