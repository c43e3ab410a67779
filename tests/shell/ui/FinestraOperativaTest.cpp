// The whole start of the working window, offscreen: an OFFLINE start from
// generated local files and an ONLINE start against our own quote server reach
// the final state of the loading; a server that never sends the history ends in
// the failure path.

#include "ArchivioProva.h"
#include "CartellaTemporanea.h"
#include "DiscoProva.h"
#include "SincronieLente.h"
#include "FinestraProva.h"
#include "InterfacceVuote.h"
#include "SlotGraficoProva.h"
#include "Stato.h"
#include "VariabileTemporanea.h"
#include "archive/CreaArchivi.h"
#include "archive/ImpostazioniAvvio.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/SalvaParametro.h"
#include "market/FusioneStorico.h"
#include "market/ScrittoreStorico.h"
#include "market/SessioneQuotazioni.h"
#include "market/StoricoLocale.h"
#include "platform/Codec1252.h"
#include "platform/DataOra.h"
#include "platform/Schermo.h"
#include "platform/Socket.h"
#include "platform/VbRuntime.h"
#include "shell/LayoutGrafici.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvio.h"
#include "shell/ui/ControlloreSottostante.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/PannelloStorico.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"
#include "simulatore/ServerQuotazioni.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextCursor>
#include <QtTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Every colour a lamp is given, as it is given: a lamp lit for a moment is seen
// however late the test looks.
class ColoriLampada : public QObject {
public:
    explicit ColoriLampada(QWidget *lampada) { lampada->installEventFilter(this); }
    QList<QColor> visti;
    // Lit in `colore`, then put out.
    bool Lampeggiata(const QColor &colore) const
    {
        const qsizetype acceso = visti.indexOf(colore);
        return acceso >= 0 && std::any_of(visti.begin() + acceso, visti.end(), [&](const QColor &c) { return c != colore; });
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::PaletteChange)
            visti << static_cast<QWidget *>(o)->palette().color(QPalette::Window);
        return false;
    }
};

// Counts the pixels of a chart that differ from its corner (the background).
int Pixel_Disegnati(GraficoWidget *g)
{
    const QImage img = g->Immagine();
    if (img.isNull())
        return 0;
    const QRgb sfondo = img.pixel(img.width() - 2, img.height() - 2);
    int n = 0;
    for (int y = 0; y < img.height(); y += 3)
        for (int x = 0; x < img.width(); x += 3)
            n += img.pixel(x, y) != sfondo ? 1 : 0;
    return n;
}

// An exit whose closing asks nothing but is counted; its end is the fixture's.
struct UscitaContata : UscitaVuota {
    int chiusure = 0;
    void Richiesta_Chiusura() override { ++chiusure; }
    void Termina(int codice) override { Termina_Prova(codice); }
};

void Verifica_Fine_Fase_2(FinestraProva &a)
{
    FormS1 &f = *a.form;
    const Stato &s = f.S();
    QVERIFY(a.dialoghi->fallimenti.isEmpty());
    QVERIFY(!s.shell.Blocco_Grafici);
    QVERIFY(!s.shell.RT_Bloccato);
    QVERIFY(!a.op->Sequenza().In_Corso());
    QVERIFY(f.Frm_Avvio->isHidden());
    QVERIFY(f.Frm_Battleplan->isVisible());
    QVERIFY(f.Frm_Tipo_Ciclo->isVisible());
    QVERIFY(f.Frm_Tipo_Ciclo->isEnabled());
    QVERIFY(f.Text_Chat->isVisible());
    QVERIFY(f.Frm_Storico->isHidden());
    QVERIFY(f.FrmCambioSott->isHidden());
    QCOMPARE(s.shell.Layout_Grafico, QStringLiteral("RIDOTTO"));
    QVERIFY(!a.op->Ridisegno().Timer_Disegno.isActive());
    QVERIFY(!a.op->Tempo_Reale().Timer_Agg_RT.isActive());
    QVERIFY(!a.op->Ridisegno().Timer_Indicatori.isActive());
    QCOMPARE(a.op->Ridisegno().Timer_Indicatori.interval(), 1200);
    QCOMPARE(f.Frm_Avvio->PB_Avvio_T->value(), 100);
    QVERIFY(f.minimumWidth() > 0);
    // The frames' captions, exactly, above the charts.
    const auto *titoloGrafici = f.Frm_Battleplan->findChild<QLabel *>(QStringLiteral("Frm_Battleplan_Caption"));
    QVERIFY(titoloGrafici);
    QCOMPARE(titoloGrafici->text(), QStringLiteral(" Grafici Battleplan "));
    QVERIFY(titoloGrafici->isVisible());
    QVERIFY(titoloGrafici->geometry().bottom() < a.op->Area()->Frm_Graf[0]->geometry().top());
    const auto *titoloStorico = f.Frm_Storico->findChild<QLabel *>(QStringLiteral("Frm_Storico_Caption"));
    QVERIFY(titoloStorico);
    QCOMPARE(titoloStorico->text(), QStringLiteral(" Dati Storico "));

    // Four chart slots in use, each drawn with its degree and titled.
    int inUso = 0;
    for (int slot = 0; slot < 4; ++slot) {
        const SlotGrafico &g = s.cicli.Conf_Grafici[size_t(slot)];
        if (g.in_uso != 1)
            continue;
        ++inUso;
        RiquadroGrafico *r = a.op->Area()->Frm_Graf[size_t(slot)];
        QVERIFY(r->isVisible());
        QVERIFY(r->Hsc_Graf->isVisible());
        QVERIFY(!r->Lbl_In_Caricamento->isVisible());
        QCOMPARE(r->Lbl_In_Caricamento->text(), QStringLiteral("In Caricamento..."));
        QVERIFY2(!s.cicli.Titoli_Grafici[size_t(slot)].isEmpty(), qPrintable(QString::number(slot)));
        QVERIFY2(Pixel_Disegnati(r->Graf_Battleplan) > 200, qPrintable(QString::number(slot)));
    }
    QCOMPARE(inUso, 4);

    // Four degrees shown: the other nine boxes cannot be ticked.
    int spuntati = 0, disabilitati = 0;
    for (QCheckBox *c : a.op->Cicli()->Chk_Battl) {
        spuntati += c->isChecked() ? 1 : 0;
        disabilitati += c->isEnabled() ? 0 : 1;
    }
    QCOMPARE(spuntati, 4);
    QCOMPARE(disabilitati, 9);

    // The history panel opens with its grid filled from the newest bar down.
    PannelloQuotazioni *q = a.op->Quotazioni();
    QPushButton *storico = s.shell.Modalita == QLatin1String("OFFLINE") ? q->Cmd_Storico[1] : q->Cmd_Storico[0];
    QTest::mouseClick(storico, Qt::LeftButton);
    QVERIFY(f.Frm_Storico->isVisible());
    PannelloStorico *p = a.op->Storico();
    QCOMPARE(p->Modello(0).rowCount(), 1500);
    QVERIFY(!p->Modello(0).Cella(1, 1).isEmpty());
    QVERIFY(!p->Modello(0).Cella(1500, 3).isEmpty());
    QCOMPARE(f.Frm_Battleplan->geometry().right() + 1 + schermo::TwipsInPixel(100),
             f.Frm_Storico->geometry().left());
    QTest::mouseClick(storico, Qt::LeftButton);
    QVERIFY(f.Frm_Storico->isHidden());
}

// Why an unticked check box or option button does not show its box as the
// platform draws it (white inside, standing out from the ground); empty when it does.
QString Riquadro_Nascosto(QAbstractButton *b, const QColor &fondo)
{
    QStyleOptionButton opzioni;
    opzioni.initFrom(b);
    const bool tonda = qobject_cast<QRadioButton *>(b);
    const QRect r = b->style()->subElementRect(tonda ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator,
                                               &opzioni, b);
    const QImage img = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal dpr = img.devicePixelRatio();
    const QRect zona = QRect((QPointF(r.topLeft()) * dpr).toPoint(), (QSizeF(r.size()) * dpr).toSize()) & img.rect();
    int contrasto = 0;
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            contrasto = std::max(contrasto, std::abs(qGray(img.pixel(x, y)) - qGray(fondo.rgb())));
    const int dentro = zona.isEmpty() ? 0 : qGray(img.pixel(zona.center()));
    if (dentro >= 230 && contrasto >= 40)
        return {};
    return QStringLiteral("%1: inside %2, contrast %3").arg(b->objectName()).arg(dentro).arg(contrasto);
}

// A peer that accepts the login and then never answers anything else.
class ServerMuto : public QObject {
public:
    QTcpServer server;
    QStringList ricevuti;
    ServerMuto()
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *c = server.nextPendingConnection();
            connect(c, &QTcpSocket::readyRead, this, [this, c] {
                const QString testo = codec1252::Decodifica(c->readAll());
                for (int i = testo.indexOf(QLatin1String("COMM")); i >= 0;
                     i = testo.indexOf(QLatin1String("COMM"), i + 1))
                    ricevuti << testo.mid(i, 6);
                if (testo.contains(QLatin1String("COMM11"))) {
                    const QChar s(0x00D8);
                    c->write(codec1252::Codifica(QStringLiteral("COMM12") + s + "1" + s + "Demo" + s + "Utente" + s));
                }
            });
        });
    }
};

// The files of the four timeframes of underlying `u`, as they are on disk (empty when missing).
QList<QByteArray> Leggi_Storici(int u)
{
    QList<QByteArray> v;
    for (const char *tf : {"5M", "15M", "1H", "1D"}) {
        QFile f(storico::PercorsoFileStorico(u, QLatin1String(tf)));
        v << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return v;
}

// One ONLINE start against our own quote server, which serves the history of
// underlyings 2 and 5 (a new 5-minute bar every half second); the history of 2 it lets the
// client download ends the weekday before its newest bars, which the client merges at start.
// "Ricordami" was ticked before the user id was typed. Shared by the tests that go on from it.
struct AvvioOnline {
    std::unique_ptr<FinestraProva> a;
    std::optional<VariabileTemporanea> odbc;
    std::unique_ptr<ServerQuotazioni> server;
    std::optional<VariabileTemporanea> indirizzo;
    storico::SetStorico serie_server;  // underlying 2 as the server holds it
    // The first two bars of each timeframe (5M, 15M, 1H, 1D) once the start's loading was done.
    std::array<std::array<BarraStorico, 2>, 4> prime_barre{};
    QStringList ricevuti;  // the codes the server received, in order
    QStringList messaggi;  // the same with their fields
    std::unique_ptr<ColoriLampada> quotazione;  // the quote lamp
    std::unique_ptr<ColoriLampada> barra;       // the bar lamp of slot 0
    bool pronto = false;   // the server up and OnLine clicked
    bool avviato = false;  // and the loading ended with no failure

    // QVERIFY's failures are the current test's.
    void Avvia()
    {
        a = std::make_unique<FinestraProva>(QList<int>{});
        const CartellaTemporanea &cartella = *a->cartella;
        StatoArchivio tab;
        archivio::Inizializza_Tab_Sottostanti(tab);
        const QString db = cartella.percorso() + QStringLiteral("/Server/{db}.db");
        const QString scaricati = cartella.percorso() + QStringLiteral("/Scarico/{db}.db");
        QDir().mkpath(cartella.percorso() + QStringLiteral("/Server"));
        QDir().mkpath(cartella.percorso() + QStringLiteral("/Scarico"));
        const auto scrivi = [&tab](const QString &percorso, int sottostante, std::uint64_t seme, const QDate &ultimo) {
            generatore::Parametri p;
            p.sottostante = tab.Tab_Sottostanti[size_t(sottostante)];
            p.seme = seme;
            p.ultimoGiorno = ultimo;
            storico::SetStorico set = generatore::Genera(p);
            const bool ok = generatore::ScriviDatabase(
                                set, QString(percorso).replace(QStringLiteral("{db}"), generatore::NomeDatabase(sottostante)))
                                .ok;
            return std::pair{ok, std::move(set)};
        };
        auto [ok2, serie2] = scrivi(db, 2, 7, QDate());
        QVERIFY(ok2);
        serie_server = std::move(serie2);
        QDate precedente = serie_server.s1D.barra(1).data.addDays(-1);
        while (precedente.dayOfWeek() > 5)
            precedente = precedente.addDays(-1);
        QVERIFY(scrivi(scaricati, 2, 7, precedente).first);
        for (const QString &percorso : {db, scaricati})
            QVERIFY(scrivi(percorso, 5, 11, QDate()).first);
        odbc.emplace("WAVELORE_HISTORY_ODBC", QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(scaricati).toUtf8());

        ServerQuotazioni::Configurazione cfg;
        cfg.Utenti.insert(QStringLiteral("demo"), {QStringLiteral("demo"), QStringLiteral("1001"),
                                                   QStringLiteral("Utente"), QStringLiteral("Demo")});
        cfg.Percorso_Database = db;
        cfg.Intervallo_Tick_ms = 100;
        cfg.Velocita = 600;
        server = std::make_unique<ServerQuotazioni>(cfg);
        QVERIFY(server->Avvia(0));
        QObject::connect(server.get(), &ServerQuotazioni::Ricevuto, server.get(), [this](const QString &c, const QStringList &f) {
            ricevuti << c;
            messaggi << c + QLatin1Char('|') + f.join(QLatin1Char('|'));
        });
        indirizzo.emplace("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server->Porta()));

        QVERIFY(a->Carica());
        QObject::connect(a->form->Frm_Avvio->PB_Avvio_T, &QProgressBar::valueChanged, a->form.get(), [this](int v) {
            if (v != 100)
                return;
            StatoMercato &m = a->form->S().mercato;
            for (int k = 1; k <= 4; ++k)
                for (int i = 1; i <= 2; ++i)
                    prime_barre[size_t(k - 1)][size_t(i - 1)] = fusione::Serie(m, k).barra(i);
        });
        quotazione = std::make_unique<ColoriLampada>(a->op->Quotazioni()->Led_RT);
        barra = std::make_unique<ColoriLampada>(a->op->Area()->Frm_Graf[0]->Led_Agg_Storico_RT);
        QCheckBox *ricordami = a->form->Frm_Avvio->Chk_Ricordami;
        QTest::mouseClick(ricordami, Qt::LeftButton, {}, PuntoCasella(ricordami));
        a->form->Frm_Avvio->Text_ID->setText(QStringLiteral("Demo"));
        a->form->Frm_Avvio->Text_Password->setText(QStringLiteral("demo"));
        QTest::mouseClick(a->form->Frm_Avvio->Cmd_OnLine, Qt::LeftButton);
        pronto = true;
        QTRY_VERIFY_WITH_TIMEOUT(!a->form->S().shell.Blocco_Grafici || !a->dialoghi->fallimenti.isEmpty(), 20000);
        avviato = !a->form->S().shell.Blocco_Grafici && a->dialoghi->fallimenti.isEmpty();
    }
};

}  // namespace

class FinestraOperativaTest : public QObject {
    Q_OBJECT

private slots:
    void avvio_offline()
    {
        auto a = std::make_unique<FinestraProva>(QList<int>{2, 5});
        // The change's end runs once a change, after the whole loading; the start has none.
        QStringList fineCambio;
        connect(&a->op->Sottostante(), &ControlloreSottostante::Cambio_Concluso, this, [&] {
            fineCambio << QStringLiteral("Blocco_Grafici %1, abilitata %2")
                              .arg(int(a->form->S().shell.Blocco_Grafici))
                              .arg(int(a->form->isEnabled()));
        });
        a->AvviaOffline();  // its failures are checked below
        QCOMPARE(fineCambio, QStringList());

        QCOMPARE(a->form->S().shell.Modalita, QStringLiteral("OFFLINE"));
        QCOMPARE(a->percentuali, (QList<int>{5, 15, 35, 45, 55, 70, 30, 80, 85, 90, 95, 100}));
        QCOMPARE(a->form->windowTitle(),
                 QStringLiteral("Wavelore \u00AE  v.2.52    - OffLine -    www.wavelore.example  "));
        Verifica_Fine_Fase_2(*a);
        if (QTest::currentTestFailed())
            return;

        // Offline panel in the online panel's place, not connected.
        PannelloQuotazioni *q = a->op->Quotazioni();
        QVERIFY(a->form->Frm_Dati_Sot->isHidden());
        QVERIFY(q->Frm_Dati_Sot_Off->isVisible());
        QCOMPARE(q->Frm_Dati_Sot_Off->geometry(), a->form->Frm_Dati_Sot->geometry());
        QCOMPARE(q->Text_Stato->text(), QStringLiteral("Non Connesso"));
        QVERIFY(q->Opt_Sott_Off[1]->isEnabled());
        QVERIFY(q->Opt_Sott_Off[1]->isChecked());
        QVERIFY(q->Opt_Sott_Off[4]->isEnabled());
        QVERIFY(!q->Opt_Sott_Off[0]->isEnabled());

        // Another underlying offline: the same steps up to 11, same window.
        a->percentuali.clear();
        FormS1 &f = *a->form;
        AreaGrafici *area = a->op->Area();
        area->Text_Coord_Graf->show();
        QRect cambio;  // seen at the first step of the reload
        connect(f.PbCambioSott, &QProgressBar::valueChanged, this, [&] {
            if (!cambio.isNull())
                return;
            cambio = f.FrmCambioSott->isVisible() ? f.FrmCambioSott->geometry() : QRect(0, 0, 1, 1);
            QVERIFY(!f.isEnabled() && !f.Frm_Tipo_Ciclo->isEnabled() && !f.Text_Chat->isEnabled()
                    && !f.Text_Desc_Server_Chat->isEnabled() && area->Text_Coord_Graf->isHidden());
            for (RiquadroGrafico *r : area->Frm_Graf)
                QVERIFY(r->Lbl_In_Caricamento->isVisible());
        });
        // The files of underlying 5 rewritten with these series, still queued to a slow
        // disk: the load waits for them and reads them new.
        const SerieStorico giornaliero = f.S().mercato.Storico_1D;
        auto disco = std::make_shared<DiscoProva>(200);
        f.Scrittore().Imposta_Disco(disco);
        for (const QString &tf : storico::Timeframes())
            QVERIFY(f.Scrittore().Salva(f.S().mercato, 5, tf, ScrittoreStorico::Tempo_Reale).ok);
        QTest::mouseClick(q->Cmd_Storico[1], Qt::LeftButton);
        QVERIFY(f.Frm_Storico->isVisible());
        QTest::mouseClick(q->Opt_Sott_Off[4], Qt::LeftButton);
        QCOMPARE(fineCambio, QStringList{QStringLiteral("Blocco_Grafici 0, abilitata 1")});
        QVERIFY(f.Frm_Storico->isHidden());  // the old underlying's history goes with it
        QCOMPARE(disco->sincronie.load(), 4);
        QVERIFY(f.S().mercato.Storico_1D.barre() == giornaliero.barre());
        // The change panel's right and bottom edges on the chart frame's centre lines.
        const QRectF grafici = f.Frm_Battleplan->geometry();
        QVERIFY(std::abs(cambio.x() + cambio.width() - grafici.center().x()) <= 1);
        QVERIFY(std::abs(cambio.y() + cambio.height() - grafici.center().y()) <= 1);
        QVERIFY(f.isEnabled() && f.Text_Chat->isEnabled());
        for (RiquadroGrafico *r : area->Frm_Graf)
            QVERIFY(r->Lbl_In_Caricamento->isHidden());
        QCOMPARE(a->form->S().archivio.Sottostante_Corrente, 5);
        QCOMPARE(a->percentuali, (QList<int>{5, 15, 35, 45, 55, 70, 30, 80, 85, 90, 95}));
        QVERIFY(!a->form->S().shell.Blocco_Grafici);
        QVERIFY(a->form->FrmCambioSott->isHidden());
        QVERIFY(a->dialoghi->fallimenti.isEmpty());
        QVERIFY(a->form->S().cicli.Titoli_Grafici[0].contains(a->form->S().archivio.Tab_Sottostanti[5].Nome));

        // A file of the loading that cannot be written keeps its contents and is told.
        MessaggiCatturati catturati(QMessageBox::Ok);
        disco->guasto = true;
        QVERIFY(f.Scrittore().Salva(f.S().mercato, 5, QStringLiteral("1H"), ScrittoreStorico::Caricamento).ok);
        QTRY_COMPARE(catturati.testi, QStringList{QStringLiteral("Wavelore \u00AE|") +
                                                  storico::Testo_Non_Salvato(QStringLiteral("S1H_5.dat"),
                                                                             QStringLiteral("il disco \u00E8 pieno")) +
                                                  QStringLiteral("|testo")});
    }

    // The ONLINE start reaches the working window, having asked the server for the
    // history and then for real time, and keeps the downloaded history as the local copy.
    void online_avvio()
    {
        AvvioOnline *o = Online();
        QVERIFY(o);
        FinestraProva &a = *o->a;
        QCOMPARE(a.form->S().shell.Modalita, QStringLiteral("ONLINE"));
        QCOMPARE(a.percentuali, (QList<int>{5, 15, 35, 45, 55, 70, 30, 80, 85, 90, 95, 100}));
        QCOMPARE(a.form->windowTitle(),
                 QStringLiteral("Wavelore \u00AE  v.2.52    - OnLine -     www.wavelore.example  "));
        Verifica_Fine_Fase_2(a);
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(o->ricevuti.contains(QStringLiteral("COMM30")));
        const QStringList ordine{QStringLiteral("COMM11"), QStringLiteral("COMM34"), QStringLiteral("COMM36"),
                                 QStringLiteral("COMM30")};
        int ultimo = -1;
        for (const QString &c : ordine) {
            const int i = int(o->ricevuti.indexOf(c));
            QVERIFY2(i > ultimo, qPrintable(c + QStringLiteral(" in ") + o->ricevuti.join(QLatin1Char(' '))));
            ultimo = i;
        }
        QVERIFY(a.form->Frm_Dati_Sot->isVisible());
        QVERIFY(a.op->Quotazioni()->Frm_Dati_Sot_Off->isHidden());
        a.form->Scrittore().Attendi();
        QVERIFY(QFile::exists(storico::PercorsoFileStorico(2, QStringLiteral("1D"))));
    }

    // The server's last two bars of each timeframe, newer than the history downloaded, are
    // merged by the start before anything is drawn.
    void online_ultime_barre_del_server()
    {
        AvvioOnline *o = Online();
        QVERIFY(o && o->avviato);
        const SerieStorico *server[4] = {&o->serie_server.s5M, &o->serie_server.s15M, &o->serie_server.s1H,
                                         &o->serie_server.s1D};
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 2; ++i) {
                const BarraStorico &attesa = server[k]->barra(i + 1);
                const BarraStorico &vista = o->prime_barre[size_t(k)][size_t(i)];
                const QString riga = QStringLiteral("%1 bar %2: %3 %4 %5, the server's %6 %7 %8")
                                         .arg(storico::Timeframes()[k]).arg(i + 1)
                                         .arg(vista.data.toString(Qt::ISODate)).arg(vista.minuti).arg(vista.chiusura)
                                         .arg(attesa.data.toString(Qt::ISODate)).arg(attesa.minuti).arg(attesa.chiusura);
                // Daily bars are told by their date; the server sends closes to two decimals.
                QVERIFY2(vista.data == attesa.data && (k == 3 || vista.minuti == attesa.minuti) &&
                             std::abs(vista.chiusura - attesa.chiusura) < 0.006,
                         qPrintable(riga));
            }
    }

    // "Ricordami" ticked before the user id was typed: OnLine remembers the id for the next start.
    void online_ricordami()
    {
        QVERIFY(Online());
        StatoArchivio prossimoAvvio;
        const archivio::LoginRicordato login = archivio::Carica_Impostazioni_Avvio(prossimoAvvio);
        QVERIFY(login.Ricordami && login.ImpostaUserId);
        QCOMPARE(login.UserId, QStringLiteral("Demo"));
    }

    // Ticks fill the quote boxes and blink their lamp; a bar update lights the lamps of
    // the slots in use, not of one its degree's box took out of use, and is merged.
    void online_lampade()
    {
        AvvioOnline *o = Online();
        QVERIFY(o && o->avviato);
        FinestraProva &a = *o->a;
        const int libero = 3;
        QCheckBox *casella = a.op->Cicli()->Chk_Battl[size_t(a.form->S().cicli.Conf_Grafici[libero].grado)];
        QTRY_VERIFY(a.form->isEnabled());
        QTest::mouseClick(casella, Qt::LeftButton, {}, PuntoCasella(casella));
        QCOMPARE(a.form->S().cicli.Conf_Grafici[libero].in_uso, 0);

        QTRY_VERIFY_WITH_TIMEOUT(!a.op->Quotazioni()->Text_Last->text().isEmpty(), 10000);
        QTRY_VERIFY(o->quotazione->Lampeggiata(QColor(0, 255, 0)));
        const int fuse = a.op->Sessione()->Fusioni_Eseguite();
        QTRY_VERIFY_WITH_TIMEOUT(a.op->Sessione()->Fusioni_Eseguite() > fuse, 15000);
        QVERIFY(o->barra->visti.contains(schermo::ColoreWin(a.form->S().cicli.Colori[21])));
        QCOMPARE(a.op->Area()->Frm_Graf[libero]->Colore_Led(), a.form->S().cicli.Colori[20]);
        QVERIFY(a.dialoghi->fallimenti.isEmpty());
    }

    // Every sync of the disk slow: bar updates go on merging, two of them, with no sync on
    // the window thread.
    void online_due_fusioni_su_disco_lento()
    {
        AvvioOnline *o = Online();
        QVERIFY(o && o->avviato);
        sincronie::Imposta_Ritardo(150);
        const auto ripristina = qScopeGuard([] { sincronie::Imposta_Ritardo(0); });
        const std::uint64_t totali = sincronie::Totali();
        const std::uint64_t finestra = sincronie::Sul_Thread_Principale();
        const int fuse = o->a->op->Sessione()->Fusioni_Eseguite();
        QTRY_VERIFY_WITH_TIMEOUT(o->a->op->Sessione()->Fusioni_Eseguite() >= fuse + 2, 15000);
        QCOMPARE(sincronie::Sul_Thread_Principale(), finestra);
        QVERIFY(sincronie::Totali() > totali);
        QVERIFY(o->a->dialoghi->fallimenti.isEmpty());
    }

    // On a slow disk a save the trader makes waits for the batch queued before it: it is
    // neither refused for the writer's lock nor overwritten by the older values.
    void online_salvataggio_dopo_un_lotto_in_coda()
    {
        AvvioOnline *o = Online();
        QVERIFY(o && o->avviato);
        Stato &st = o->a->form->S();
        sincronie::Imposta_Ritardo(150);
        const auto ripristina = qScopeGuard([] { sincronie::Imposta_Ritardo(0); });
        o->a->form->Scrittore_Archivio().Accoda(
            {{archivio::FileArchivio::Sistema3, QStringLiteral("TAB0"), 2, {{QStringLiteral("C2"), QStringLiteral("111")}}}});
        QString errore;
        QVERIFY2(ciclo::Salva_Parametro(st.shell, st.archivio, st.cicli, archivio::Codice_Modifica::Durata, 0, &errore),
                 qPrintable(errore));
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB0"), QStringLiteral("C2"), 2),
                 vb::CStr(st.cicli.Durata[0]));
    }

    // A merge on a slow disk takes every degree's cycle start to the archive.
    void online_inizio_ciclo_di_ogni_grado()
    {
        AvvioOnline *o = Online();
        QVERIFY(o && o->avviato);
        Stato &st = o->a->form->S();
        sincronie::Imposta_Ritardo(150);
        const auto ripristina = qScopeGuard([] { sincronie::Imposta_Ritardo(0); });
        const int fuse = o->a->op->Sessione()->Fusioni_Eseguite();
        QTRY_VERIFY_WITH_TIMEOUT(o->a->op->Sessione()->Fusioni_Eseguite() > fuse, 15000);
        for (int d = 0; d <= costanti::Max_Grado; ++d) {
            const QString tabella = QStringLiteral("TAB%1").arg(d);
            QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, tabella, QStringLiteral("C12"), 2),
                     dataora::ScriviData(st.cicli.Data_Inizio_Ciclo[size_t(d)], st.shell.Formato_Data));
            QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, tabella, QStringLiteral("C13"), 2),
                     dataora::ScriviOra(st.cicli.Ora_Inizio_Ciclo[size_t(d)], st.shell.Formato_Ora));
        }
    }

    // Another underlying from the list: real time stops, the new history comes from the
    // server and the charts show it with live bars again; the old one's late bar and
    // quote leave nothing, and its files stay as they were.
    void online_cambio_sottostante()
    {
        AvvioOnline *o = Online();
        QVERIFY(o && o->avviato);
        FinestraProva &a = *o->a;
        Stato &s = a.form->S();
        QComboBox *cmb = a.op->Quotazioni()->Cmb_Sot;
        QTRY_VERIFY(a.form->isEnabled());
        QVERIFY(cmb->isEnabled());
        // A wheel passing over the closed list chooses nothing.
        const int indice = cmb->currentIndex();
        for (int verso : {-120, 120})
            Rotella(cmb, verso);
        QCOMPARE(cmb->currentIndex(), indice);
        QCOMPARE(s.archivio.Sottostante_Corrente, 2);
        QVERIFY(!s.shell.Blocco_Grafici && !a.op->Sottostante().Cambio_In_Corso());
        QVERIFY(!QFile::exists(storico::PercorsoFileStorico(5, QStringLiteral("1D"))));
        o->messaggi.clear();
        const int fusioni = a.op->Sessione()->Fusioni_Eseguite();
        a.form->Scrittore().Attendi();
        const QList<QByteArray> vecchi = Leggi_Storici(2);
        QSignalSpy fineCambio(&a.op->Sottostante(), &ControlloreSottostante::Cambio_Concluso);
        cmb->setCurrentIndex(4);
        emit cmb->activated(4);
        QCOMPARE(fineCambio.size(), 0);
        QCOMPARE(s.archivio.Sottostante_Corrente, 5);
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TABAVV"), QStringLiteral("C1"), 1),
                 QStringLiteral("5"));
        // Waiting for the server's latest bars: charts hidden, the change panel
        // up, the quote boxes empty and the window closed to the user.
        QVERIFY(s.shell.Blocco_Grafici);
        QVERIFY(a.form->FrmCambioSott->isVisible());
        QVERIFY(a.op->Quotazioni()->Text_Last->text().isEmpty());
        QVERIFY(!a.op->Area()->Frm_Graf[0]->Graf_Battleplan->isVisible());
        QVERIFY(!a.form->isEnabled());
        // Another pick while the new history loads is refused: the list shows the one loading.
        cmb->setCurrentIndex(1);
        emit cmb->activated(1);
        QCOMPARE(s.archivio.Sottostante_Corrente, 5);
        QCOMPARE(cmb->currentIndex(), 4);
        // A bar and a quote of the old underlying, late: nothing of them stays.
        o->server->Invia_Grezzo(codec1252::Codifica(
            QStringLiteral("COMM31\u00D801/01/2026 10:00:00\u00D899999\u00D81\u00D81\u00D8") +
            QStringLiteral("COMM33\u00D8") +
            QStringLiteral("01/01/2026 10:00:00\u00D899999\u00D81\u00D8").repeated(4)));
        QTRY_VERIFY_WITH_TIMEOUT(!s.shell.Blocco_Grafici || !a.dialoghi->fallimenti.isEmpty(), 20000);
        QVERIFY(a.dialoghi->fallimenti.isEmpty());
        QTRY_VERIFY(o->messaggi.size() >= 3);
        QCOMPARE(o->messaggi.mid(0, 3), (QStringList{QStringLiteral("COMM32|"), QStringLiteral("COMM34|5"),
                                                     QStringLiteral("COMM36|5")}));
        QVERIFY(a.form->isEnabled());
        QVERIFY(a.form->FrmCambioSott->isHidden());
        QVERIFY(!a.op->Sottostante().Cambio_In_Corso());
        QCOMPARE(fineCambio.size(), 1);
        QTRY_VERIFY(o->messaggi.contains(QStringLiteral("COMM30|5")));
        QCOMPARE(a.op->Sessione()->Fusioni_Eseguite(), fusioni);
        for (int slot = 0; slot < 4; ++slot) {
            if (s.cicli.Conf_Grafici[size_t(slot)].in_uso != 1)
                continue;
            QVERIFY(s.cicli.Titoli_Grafici[size_t(slot)].contains(s.archivio.Tab_Sottostanti[5].Nome));
            QVERIFY(Pixel_Disegnati(a.op->Area()->Frm_Graf[size_t(slot)]->Graf_Battleplan) > 200);
        }
        a.form->Scrittore().Attendi();
        for (const QByteArray &f : Leggi_Storici(5))
            QVERIFY(!f.isEmpty());
        // Live bars go on for the new underlying only; the old one's files stay as they were.
        QTRY_VERIFY_WITH_TIMEOUT(a.op->Sessione()->Fusioni_Eseguite() > fusioni, 15000);
        a.form->Scrittore().Attendi();
        QVERIFY(Leggi_Storici(2) == vecchi);
        QVERIFY(Leggi_Storici(5) != Leggi_Storici(2));
        QVERIFY(!a.op->Quotazioni()->Text_Last->text().contains(QStringLiteral("99999")));
        QVERIFY(a.dialoghi->fallimenti.isEmpty());
    }

    // A message over the bound cuts the link and the client logs in again by itself;
    // the cause stays whole in the chat, and the status box showed its start meanwhile.
    void online_messaggio_oltre_il_limite()
    {
        AvvioOnline *o = Online();
        QVERIFY(o && o->avviato);
        FinestraProva &a = *o->a;
        QPlainTextEdit *chat = a.form->Text_Chat;
        QLineEdit *stato = a.op->Quotazioni()->Text_Stato;
        QString statoAllaRottura;
        const QMetaObject::Connection rottura = connect(chat, &QPlainTextEdit::textChanged, this, [&] {
            if (statoAllaRottura.isEmpty())
                statoAllaRottura = stato->text() + QLatin1Char('|') + TestoNonIntero(stato);
        });
        const auto scollega = qScopeGuard([&rottura] { disconnect(rottura); });
        const qsizetype accessi = o->ricevuti.count(QStringLiteral("COMM11"));
        const qsizetype richieste = o->ricevuti.count(QStringLiteral("COMM30"));
        o->server->Invia_Grezzo("COMM25\xD8" + QByteArray(protocollo::Limite_Messaggio, 'x') + '\xD8');
        QTRY_VERIFY_WITH_TIMEOUT(o->ricevuti.count(QStringLiteral("COMM30")) > richieste, 20000);
        QCOMPARE(o->ricevuti.count(QStringLiteral("COMM11")), accessi + 1);
        QCOMPARE(statoAllaRottura, testi_sessione::Messaggio_Troppo_Lungo + QLatin1Char('|'));
        QCOMPARE(stato->text(), QStringLiteral("Connesso"));
        QTRY_VERIFY(a.form->isEnabled());
        QCOMPARE(chat->toPlainText(), testi_sessione::Messaggio_Troppo_Lungo + QLatin1Char('\n'));
        QVERIFY2(TestoNonIntero(chat).isEmpty(), qPrintable(TestoNonIntero(chat)));
        QTextCursor riga(chat->document());
        QVERIFY(chat->viewport()->rect().contains(chat->cursorRect(riga)));
        riga.movePosition(QTextCursor::EndOfBlock);
        QVERIFY(chat->viewport()->rect().contains(chat->cursorRect(riga)));
        QVERIFY(a.dialoghi->fallimenti.isEmpty());
    }

    // A damaged history file of the current underlying is reported, file and reason,
    // before another underlying is opened or the start gives up (as it does with no
    // history at all), once in the program's own notice box; what an interrupted save
    // left beside the files is gone.
    void offline_storico_danneggiato_data()
    {
        QTest::addColumn<QList<int>>("generati");
        QTest::addColumn<QString>("danneggiato");
        QTest::addColumn<QString>("avviso");
        QTest::addColumn<int>("aperto");  // 0: the start fails
        QTest::addColumn<bool>("reale");  // the program's own notice, not the fixture's record
        QTest::newRow("nessuno storico") << QList<int>{} << "" << "" << 0 << false;
        QTest::newRow("giornaliero troncato") << QList<int>{2, 5} << "S1D_2.dat" << "troncato" << 5 << false;
        QTest::newRow("giornaliero troncato, la sua finestra") << QList<int>{2, 5} << "S1D_2.dat" << "troncato" << 5
                                                               << true;
        QTest::newRow("dati dopo l'ultima riga") << QList<int>{2} << "S5M_2.dat" << "dati oltre la riga 1500" << 0
                                                 << false;
        QTest::newRow("danneggiato un altro") << QList<int>{2, 5} << "S1D_5.dat" << "" << 2 << false;
    }
    void offline_storico_danneggiato()
    {
        QFETCH(QList<int>, generati);
        QFETCH(QString, danneggiato);
        QFETCH(QString, avviso);
        QFETCH(int, aperto);
        QFETCH(bool, reale);
        FinestraProva prova(generati);
        // The box is closed as it opens; what it said is kept.
        std::optional<MessaggiCatturati> finestre;
        if (reale) {
            finestre.emplace(QMessageBox::Ok);
            prova.op->Imposta_Dialoghi(std::make_unique<DialoghiUtente>(*prova.form));
        }
        const CartellaTemporanea &cartella = *prova.cartella;
        const QString percorso = cartella.sistema() + QLatin1Char('/') + danneggiato;
        QFile file(percorso);
        if (!danneggiato.isEmpty()) {
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray dati = file.readAll();
            dati = danneggiato.startsWith(QLatin1String("S1D")) ? dati.left(dati.size() - 7)
                                                              : dati + dati.left(dati.indexOf("\r\n") + 2);
            QVERIFY(file.resize(0) && file.seek(0) && file.write(dati) == dati.size());
            file.close();
        }
        const QString temporaneo = cartella.sistema() + QStringLiteral("/S5M_2.dat.AbCdEf");
        QFile t(temporaneo);
        QVERIFY(t.open(QIODevice::WriteOnly) && t.write("x") == 1);
        t.close();

        QCOMPARE(prova.AvviaOffline(), aperto != 0);
        QVERIFY(!QFile::exists(temporaneo));
        QStringList avvisi = prova.avvisi;
        if (reale) {
            QVERIFY(avvisi.isEmpty());
            for (const QString &testo : finestre->testi) {
                QVERIFY2(testo.startsWith(QStringLiteral("Wavelore \u00AE|")) && testo.endsWith(QLatin1String("|testo")),
                         qPrintable(testo));
                avvisi << testo;
            }
        }
        if (avviso.isEmpty()) {
            QVERIFY(avvisi.isEmpty());
        } else {
            QCOMPARE(avvisi.size(), 1);
            QVERIFY2(avvisi[0].contains(QDir::toNativeSeparators(percorso)) && avvisi[0].contains(avviso),
                     qPrintable(avvisi[0]));
        }
        if (aperto == 0) {
            QCOMPARE(prova.fallimenti, QStringList{storico::Messaggio_Nessuno_Storico});
            QVERIFY(prova.form->S().shell.Blocco_Grafici);
            QVERIFY(!prova.op->Sequenza().In_Corso());
        } else {
            QVERIFY2(prova.fallimenti.isEmpty(), qPrintable(prova.fallimenti.join(QLatin1Char('\n'))));
            QCOMPARE(prova.form->S().archivio.Sottostante_Corrente, aperto);
            QVERIFY(!prova.form->S().shell.Blocco_Grafici);
        }
    }

    void ridimensiona_e_colori()
    {
        auto a = std::make_unique<FinestraProva>(QList<int>{2});
        QVERIFY(a->AvviaOffline());
        FormS1 &f = *a->form;

        // A larger window re-lays the chart area to its new size.
        f.resize(1400, 900);
        QTRY_COMPARE(f.Frm_Battleplan->height(), schermo::TwipsInPixel(a->op->Layout().Altezza_Twips() - 750));
        const int larghezza = a->op->Area()->Frm_Graf[0]->width();
        f.resize(1600, 900);
        QTRY_VERIFY(a->op->Area()->Frm_Graf[0]->width() > larghezza);
        // The panels stand where the four-chart layout puts them, in the frame's own size.
        const Stato &st = f.S();
        const int h = st.shell.Altezza_Riquadro, w = st.shell.Larghezza_Riquadro;
        QCOMPARE(h, vb::CInt((schermo::PixelInTwips(f.Frm_Battleplan->height()) - 450) / 2));
        QCOMPARE(w, vb::CInt((schermo::PixelInTwips(f.Frm_Battleplan->width()) - 300) / 2));
        for (int slot = 0; slot < 4; ++slot) {
            const int pos = st.cicli.Conf_Grafici[size_t(slot)].posizione;
            const QRect g = a->op->Area()->Frm_Graf[size_t(slot)]->geometry();
            QCOMPARE(g.x(), schermo::TwipsInPixel(pos % 2 == 0 ? 100 : 200 + w));
            QCOMPARE(g.y(), schermo::TwipsInPixel(pos < 2 ? 250 : 350 + h));
            QCOMPARE(g.width(), schermo::TwipsInPixel(w));
        }
        // Never below the minimum.
        f.resize(300, 200);
        QTRY_VERIFY(f.width() >= schermo::TwipsInPixel(layout::Larghezza_Minima));
        QVERIFY(f.height() >= schermo::TwipsInPixel(layout::Altezza_Minima));
        QCOMPARE(f.minimumSize(), QSize(schermo::TwipsInPixel(layout::Larghezza_Minima),
                                        schermo::TwipsInPixel(layout::Altezza_Minima)));
        QVERIFY(f.isEnabled());

        // The colour switch flips the scheme, recolours the lamps and stores it.
        const int prima = f.S().archivio.Aspetto;
        const std::uint32_t sfondo = f.S().cicli.Colori[20];
        QTest::mouseClick(a->op->Quotazioni()->Cmd_Aspetto[1], Qt::LeftButton);
        QCOMPARE(f.S().archivio.Aspetto, prima == 1 ? 0 : 1);
        QVERIFY(f.S().cicli.Colori[20] != sfondo);
        QCOMPARE(a->op->Area()->Frm_Graf[0]->Colore_Led(), f.S().cicli.Colori[20]);
        QTest::mouseClick(a->op->Quotazioni()->Cmd_Aspetto[1], Qt::LeftButton);
        QCOMPARE(f.S().archivio.Aspetto, prima == 1 ? 1 : 0);
        QCOMPARE(f.S().cicli.Colori[20], sfondo);

        // Lamps lit by a bar update go back to the scheme's background 4 s later.
        a->op->Tempo_Reale().Accendi_Led_Storico_RT();
        QCOMPARE(a->op->Area()->Frm_Graf[2]->Colore_Led(), f.S().cicli.Colori[21]);
        QVERIFY(a->op->Tempo_Reale().Timer_Agg_RT.isActive());
        a->op->Tempo_Reale().Timer_Agg_RT.setInterval(1);
        a->op->Tempo_Reale().Timer_Agg_RT.start();
        QTRY_COMPARE(a->op->Area()->Frm_Graf[2]->Colore_Led(), f.S().cicli.Colori[20]);

        // The web link opens the product's address.
        QTest::mouseClick(f.Lbl_Link_1, Qt::LeftButton);
        QCOMPARE(a->dialoghi->aperti.size(), 1);
        QCOMPARE(a->dialoghi->aperti.first().host(), QStringLiteral("www.wavelore.example"));

        // Closing asks for confirmation and never closes by itself.
        auto *uscita = new UscitaContata;
        f.Imposta_Uscita(std::unique_ptr<Uscita>(uscita));
        QVERIFY(!f.close());
        QCOMPARE(uscita->chiusure, 1);
        QVERIFY(f.isVisible());
    }

    // The start panel's link opens the address with the desktop's opener (here a
    // script on PATH in its place), which runs with the user's own umask, not the
    // program's 077; the program keeps its own.
    void link_con_la_maschera_dell_utente()
    {
#ifndef Q_OS_UNIX
        QSKIP("no umask here");
#else
        const mode_t originale = ::umask(0022);
        const auto ripristina = qScopeGuard([originale] { ::umask(originale); });
        wavelore::Rendi_File_Privati();
        QTemporaryDir cartella;
        const QString aperto = cartella.filePath(QStringLiteral("aperto"));
        QFile script(cartella.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\n{ umask; echo \"$1\"; } > '%1.tmp' && mv '%1.tmp' '%1'\n")
                         .arg(aperto)
                         .toUtf8());
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        VariabileTemporanea percorso("PATH", QFile::encodeName(cartella.path()) + ':' + qgetenv("PATH"));

        FinestraProva prova(QList<int>{});
        QVERIFY(prova.Carica());
        prova.op->Imposta_Dialoghi(std::make_unique<DialoghiUtente>(*prova.form));
        QTest::mouseClick(prova.form->Frm_Avvio->Lbl_Link_0, Qt::LeftButton);
        QTRY_VERIFY(QFileInfo::exists(aperto));
        QFile letto(aperto);
        QVERIFY(letto.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(letto.readAll()), QStringLiteral("0022\nhttp://www.wavelore.example\n"));
        QCOMPARE(::umask(0077), mode_t(0077));
#endif
    }

    void timer_indicatori_una_volta()
    {
        auto a = std::make_unique<FinestraProva>(QList<int>{2});
        QVERIFY(a->AvviaOffline());
        a->op->Ridisegno().Timer_Indicatori.setInterval(30);
        a->form->S().cicli.Grafico_Corrente = 1;
        for (int i = 0; i < 5; ++i)
            a->op->Ridisegno().Arma_Timer_Indicatori();
        a->form->S().cicli.Grafico_Corrente = 3;
        QVERIFY(a->op->Ridisegno().Timer_Indicatori.isActive());
        // The slot whose duration changed is recomputed, not the one current at the tick.
        QCOMPARE(a->op->Ridisegno().Slot_Timer_Indicatori(), 1);
        QTRY_VERIFY(!a->op->Ridisegno().Timer_Indicatori.isActive());
    }

    void server_senza_storico_fallisce()
    {
        auto a = std::make_unique<FinestraProva>(QList<int>{});
        ServerMuto server;
        qputenv("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server.server.serverPort()));
        QVERIFY(a->Carica());
        QVERIFY(a->op->Sessione());
        a->op->Sequenza().Timeout_Download_ms = 300;
        a->form->Frm_Avvio->Text_ID->setText(QStringLiteral("demo"));
        a->form->Frm_Avvio->Text_Password->setText(QStringLiteral("demo"));
        QTest::mouseClick(a->form->Frm_Avvio->Cmd_OnLine, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(a->dialoghi->fallimenti.size(), 1, 10000);
        QVERIFY(server.ricevuti.contains(QStringLiteral("COMM34")));
        QVERIFY(!server.ricevuti.contains(QStringLiteral("COMM36")));
        QVERIFY(a->form->S().shell.Blocco_Grafici);
        QCOMPARE(a->percentuali.mid(0, 2), (QList<int>{5, 15}));
        qunsetenv("WAVELORE_SERVER");
    }

    void pannello_storico_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("aspetto");
        QTest::addColumn<double>("punti");  // the tab control's font
        QTest::newRow("UE, dark") << "UE" << 0 << 7.5;
        QTest::newRow("US, light") << "US" << 1 << 7.5;
        QTest::newRow("US, dark") << "US" << 0 << 7.5;
        QTest::newRow("UE, light, a wider font") << "UE" << 1 << 9.0;
    }
    void pannello_storico()
    {
        QFETCH(QString, locale);
        QFETCH(int, aspetto);
        QFETCH(double, punti);
        QVERIFY(Finestra_Condivisa());
        FinestraOperativa *op = m_finestra->op;
        Stato &s = m_finestra->form->S();
        const bool ue = locale == QLatin1String("UE");
        s.shell.Formato_Locale = locale;
        s.shell.Formato_Ora = ue ? QStringLiteral("h:mm") : QStringLiteral("h:mm AM/PM");
        // The daily grid's time is the session end: the widest time, "10:00 PM".
        s.archivio.Tab_Sottostanti[size_t(s.archivio.Sottostante_Corrente)].Fine_Sessione = QTime(22, 0);
        QVERIFY(m_finestra->Aspetto(aspetto));
        PannelloStorico *p = op->Storico();
        QFont carattere = p->TabPage->font();
        carattere.setPointSizeF(punti);
        p->TabPage->setFont(carattere);
        QTabBar *barra = p->TabPage->tabBar();
        QPushButton *storico = op->Quotazioni()->Cmd_Storico[1];

        QTest::mouseClick(storico, Qt::LeftButton);
        QCOMPARE(p->TabPage->currentIndex(), 0);
        for (int t = 3; t >= 0; --t) {
            const QString riga = QStringLiteral("tab %1").arg(t);
            // Whole in the tab control, and chosen by a click on it.
            const QRect r = barra->tabRect(t);
            QVERIFY2(p->TabPage->rect().contains(r.translated(barra->pos())), qPrintable(riga));
            QVERIFY2(barra->fontMetrics().horizontalAdvance(barra->tabText(t)) < r.width(), qPrintable(riga));
            QTest::mouseClick(barra, Qt::LeftButton, {}, r.center());
            QVERIFY2(p->TabPage->currentIndex() == t, qPrintable(riga));
            // Its caption stands out from its face.
            const QImage img = barra->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect zona = QRect(r.topLeft() * img.devicePixelRatio(), r.size() * img.devicePixelRatio())
                                   .adjusted(3, 3, -3, -3);
            const int fondo = qGray(img.pixel(zona.left(), zona.center().y()));
            int contrasto = 0;
            for (int y = zona.top(); y <= zona.bottom(); ++y)
                for (int x = zona.left(); x <= zona.right(); ++x)
                    contrasto = std::max(contrasto, std::abs(qGray(img.pixel(x, y)) - fondo));
            QVERIFY2(contrasto > 120, qPrintable(riga));
            // Dates, times and prices whole in their columns.
            const QAbstractItemView *g = p->Griglia(t);
            QVERIFY2(!p->Modello(t).Cella(1, 2).isEmpty(), qPrintable(riga));
            for (int c = 1; c <= 3; ++c)
                QVERIFY2(g->sizeHintForColumn(c) <= p->Griglia(t)->columnWidth(c), qPrintable(riga));
            // All three beside the vertical scroll bar, so none scrolls sideways.
            QTRY_VERIFY2(p->Griglia(t)->horizontalHeader()->length() <= g->viewport()->width() &&
                             !g->horizontalScrollBar()->isVisible() && g->verticalScrollBar()->isVisible(),
                         qPrintable(riga));
        }
        QCOMPARE(p->Modello(3).Cella(1, 2), ue ? QStringLiteral("22:00") : QStringLiteral("10:00 PM"));

        // Closed on another tab, it is set back to the first and opens there.
        QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(2).center());
        QTest::mouseClick(storico, Qt::LeftButton);
        QVERIFY(m_finestra->form->Frm_Storico->isHidden());
        QCOMPARE(p->TabPage->currentIndex(), 0);
        QTest::mouseClick(storico, Qt::LeftButton);
        QVERIFY(p->Msf_Storico5m->isVisible());
        QTest::mouseClick(storico, Qt::LeftButton);
    }

    void colori_controlli_data()
    {
        QTest::addColumn<int>("aspetto");
        QTest::addColumn<bool>("riavvio");  // the scheme saved, then the program started again
        QTest::newRow("dark") << 0 << false;
        QTest::newRow("light") << 1 << false;
        QTest::newRow("light, at start") << 1 << true;
        QTest::newRow("dark, at start") << 0 << true;
    }
    void colori_controlli()
    {
        QFETCH(int, aspetto);
        QFETCH(bool, riavvio);
        QVERIFY(Finestra_Condivisa());
        QVERIFY(m_finestra->Aspetto(aspetto));
        if (riavvio) {
            QVERIFY(m_finestra->Riavvia());
            QCOMPARE(m_finestra->S().archivio.Aspetto, aspetto);
        }
        FormS1 &f = *m_finestra->form;
        FinestraOperativa *op = m_finestra->op;
        const Stato &s = f.S();
        const auto colore = [&s](int i) { return schermo::ColoreWin(s.cicli.Colori[size_t(i)]); };

        // Control, colour role, entry of the colour table.
        std::vector<std::tuple<QWidget *, QPalette::ColorRole, int>> attesi{
            {f.Text_Chat, QPalette::Base, 0},
            {f.Text_Chat, QPalette::Text, 14},
            {op->Area()->Text_Coord_Graf, QPalette::Base, 80},
            {f.Frm_Tipo_Ciclo, QPalette::WindowText, 1},
            {op->Quotazioni()->Text_Last, QPalette::Base, 0},
            {op->Quotazioni()->Text_Last, QPalette::Text, 1},
            {op->Quotazioni()->Cmb_Sot, QPalette::ButtonText, 1},
            {op->Quotazioni()->Opt_Sott_Off[0], QPalette::WindowText, 1},
            {op->Cicli()->Chk_Battl[12], QPalette::WindowText, 1},
            {op->Storico()->TabPage, QPalette::Window, 0},
        };
        for (RiquadroGrafico *r : op->Area()->Frm_Graf) {
            attesi.emplace_back(r->Lbl_In_Caricamento, QPalette::Window, 20);
            attesi.emplace_back(r->Lbl_In_Caricamento, QPalette::WindowText, 11);
        }
        for (QFrame *l : op->Cicli()->LineChkBattl)
            attesi.emplace_back(l, QPalette::Window, 2);
        for (const auto &[w, ruolo, indice] : attesi)
            QVERIFY2(w->palette().color(QPalette::Active, ruolo) == colore(indice), qPrintable(w->objectName()));
        // The system's button face for the real-time button off; the grids keep the platform's colours.
        QCOMPARE(op->Quotazioni()->Cmd_Graf_RT->palette().color(QPalette::Button),
                 s.archivio.Grafico_RT == 1 ? colore(42) : QApplication::palette().color(QPalette::Button));
        QCOMPARE(op->Storico()->Msf_Storico5m->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Base));

        // As painted: the chat text, a loading label, a separator line between two rows of boxes.
        f.Text_Chat->setPlainText(QStringLiteral("IIII MMMM"));
        QVERIFY(ContieneColore(f.Text_Chat->grab().toImage(), colore(14).rgb(), 40));
        // Its first line clear of the server-text box lying on its upper edge.
        const QRect cursore = f.Text_Chat->cursorRect(QTextCursor(f.Text_Chat->document()));
        const QRect primaRiga(f.Text_Chat->viewport()->mapTo(&f, QPoint(0, cursore.top())),
                              QSize(f.Text_Chat->viewport()->width(), cursore.height()));
        QVERIFY2(!primaRiga.intersects(f.Text_Desc_Server_Chat->geometry()),
                 qPrintable(TestoRettangolo(primaRiga) + QStringLiteral(" under ") +
                            TestoRettangolo(f.Text_Desc_Server_Chat->geometry())));
        const QImage img = op->Area()->Frm_Graf[0]->Lbl_In_Caricamento->grab().toImage();
        QCOMPARE(img.pixelColor(1, 1), colore(20));
        QVERIFY(ContieneColore(img, colore(11).rgb(), 40));
        QFrame *linea = op->Cicli()->LineChkBattl[1];
        QCOMPARE(linea->grab().toImage().pixelColor(linea->width() / 2, 0), colore(2));
        QVERIFY(linea->y() > op->Cicli()->Chk_Battl[7]->geometry().bottom());
        QVERIFY(linea->y() < op->Cicli()->Chk_Battl[8]->y());

        // Every unticked check box and option button shows its box, enabled or not;
        // the tool frame's in the one-chart layout.
        QVERIFY(m_finestra->Ingrandisci(0));
        int viste = 0;
        for (QWidget *cornice : {static_cast<QWidget *>(f.Frm_Tipo_Ciclo),
                                 static_cast<QWidget *>(op->Quotazioni()->Frm_Dati_Sot_Off),
                                 static_cast<QWidget *>(op->Area()->Frm_Strumenti)})
            for (QAbstractButton *b : cornice->findChildren<QAbstractButton *>()) {
                if ((!qobject_cast<QCheckBox *>(b) && !qobject_cast<QRadioButton *>(b)) || b->isChecked() ||
                    !b->isVisible())
                    continue;
                ++viste;
                const QString difetto = Riquadro_Nascosto(b, colore(0));
                QVERIFY2(difetto.isEmpty(), qPrintable(difetto));
            }
        QVERIFY(m_finestra->Riduci());
        QVERIFY(viste > 20);  // the degrees, the underlyings, the indicator items and modes
    }

    // At its minimum size the window shows every control whole, in both layouts,
    // with the history panel and with the objects panel, which is closed by its button;
    // the web link answers a click on the top of its letters, in either scheme.
    void raggiungibile_alla_misura_minima_data()
    {
        QTest::addColumn<bool>("grande");
        QTest::addColumn<bool>("storico");
        QTest::addColumn<bool>("oggetti");
        QTest::addColumn<int>("aspetto");
        QTest::newRow("four charts") << false << false << false << 0;
        QTest::newRow("four charts, history, light") << false << true << false << 1;
        QTest::newRow("one chart, light") << true << false << false << 1;
        QTest::newRow("one chart, history") << true << true << false << 0;
        QTest::newRow("one chart, objects, light") << true << false << true << 1;
        QTest::newRow("one chart, history, objects") << true << true << true << 0;
    }
    void raggiungibile_alla_misura_minima()
    {
        QFETCH(bool, grande);
        QFETCH(bool, storico);
        QFETCH(bool, oggetti);
        QFETCH(int, aspetto);
        QVERIFY(Finestra_Condivisa());
        QVERIFY(m_finestra->Aspetto(aspetto));
        FormS1 &f = *m_finestra->form;
        FinestraOperativa *op = m_finestra->op;
        const Stato &s = f.S();
        auto *pannello = f.findChild<QWidget *>(QStringLiteral("Frm_Ogg_Graf"));
        QVERIFY(pannello);
        auto *esci = pannello->findChild<QAbstractButton *>(QStringLiteral("Cmd_Esci_Ogg_Graf"));
        QPushButton *pulsanteStorico = op->Quotazioni()->Cmd_Storico[1];
        const int slot = 1;
        // The shared window goes back as it was, whatever fails.
        const QSize prima = f.size();
        const auto ripristina = qScopeGuard([&] {
            if (pannello->isVisible())
                QTest::mouseClick(esci, Qt::LeftButton);
            if (s.shell.Layout_Grafico != QLatin1String("RIDOTTO"))
                QTest::mouseClick(op->Area()->Frm_Graf[slot]->Cmd_GRaf_M, Qt::LeftButton);
            if (f.Frm_Storico->isVisible())
                QTest::mouseClick(pulsanteStorico, Qt::LeftButton);
            f.resize(prima);
        });

        f.resize(f.minimumSize());
        QTRY_COMPARE(f.size(), f.minimumSize());
        if (storico) {
            QTest::mouseClick(pulsanteStorico, Qt::LeftButton);
            QVERIFY(f.Frm_Storico->isVisible());
        }
        if (grande)
            QVERIFY(m_finestra->Ingrandisci(slot));
        if (oggetti) {
            QTest::mouseClick(f.findChild<QAbstractButton *>(QStringLiteral("Cmd_Oggetti_Graf")), Qt::LeftButton);
            QVERIFY(pannello->isVisible());
            QVERIFY(!f.Frm_Tipo_Ciclo->isEnabled());
        }

        const QStringList fuori = Controlli_Fuori_Vista(&f);
        QVERIFY2(fuori.isEmpty(), qPrintable(fuori.join(QStringLiteral("; "))));

        // Clicked through the window, which gives the click to whatever lies on top there.
        const QLabel *link = f.Lbl_Link_1;
        const QFontMetrics fm(link->font());
        const QRect riga = link->style()->itemTextRect(fm, link->contentsRect(), int(link->alignment()), true, link->text());
        const QPoint cima = link->mapTo(&f, QPoint(riga.center().x(),
                                                   riga.top() + fm.ascent() + fm.tightBoundingRect(link->text()).top()));
        const qsizetype aperti = m_finestra->dialoghi->aperti.size();
        QTest::mouseClick(f.windowHandle(), Qt::LeftButton, {}, cima);
        const QWidget *sopra = f.childAt(cima);
        QVERIFY2(m_finestra->dialoghi->aperti.size() == aperti + 1, sopra ? qPrintable(sopra->objectName()) : "");

        if (oggetti) {
            QTest::mouseClick(esci, Qt::LeftButton);
            QVERIFY(!pannello->isVisible());
            QVERIFY(f.Frm_Tipo_Ciclo->isEnabled());
        }
    }

    // The shared ONLINE start goes before any other window is made.
    void init()
    {
        if (!QByteArray(QTest::currentTestFunction()).startsWith("online_"))
            m_online.reset();
    }

    void cleanupTestCase()
    {
        m_online.reset();
        m_finestra.reset();
    }

private:
    // One OFFLINE start shared by the tests that only look at the working window.
    bool Finestra_Condivisa()
    {
        if (m_finestra)
            return true;
        m_finestra = std::make_unique<FinestraProva>(QList<int>{2});
        return m_finestra->AvviaOffline();
    }

    // The ONLINE start the online_ tests share, made by the first that asks; null when it
    // could not be set up (the failure is that test's).
    AvvioOnline *Online()
    {
        if (!m_online) {
            m_online = std::make_unique<AvvioOnline>();
            m_online->Avvia();
        }
        return m_online->pronto ? m_online.get() : nullptr;
    }

    std::unique_ptr<AvvioOnline> m_online;
    std::unique_ptr<FinestraProva> m_finestra;
};

QTEST_MAIN(FinestraOperativaTest)
#include "FinestraOperativaTest.moc"
