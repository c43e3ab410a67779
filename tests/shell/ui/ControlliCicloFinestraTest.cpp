// The cycle controls of the tool frame and the degree check boxes in the real
// working window after an OFFLINE start: each control changes its setting, the
// archive row and the drawn chart, does nothing at its bound, and a restart
// shows what was chosen; the check boxes give degrees slots by the four-box rule.
// Every kind of save the window makes, refused by the archive, is told once and
// keeps the value chosen, which reaches the file once it takes writes again.

#include "ArchivioProva.h"
#include "FinestraProva.h"
#include "SincronieLente.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "archive/ArchivioOggetti.h"
#include "archive/ParametriCicli.h"
#include "archive/ScrittoreArchivio.h"
#include "chart/RenderGrafico.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "indicators/ui/PannelloIndicatori.h"
#include "cycle/Battleplan.h"
#include "cycle/DurataTesto.h"
#include "platform/DataOra.h"
#include "platform/NomiGradi.h"
#include "platform/Schermo.h"
#include "platform/VbRuntime.h"
#include "chart/ui/GraficoWidget.h"
#include "shell/DisegnaGrafico.h"
#include "shell/RegolazioneCiclo.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/ControlliCiclo.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/PannelliFinestra.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {

// Slot 1 shows degree 6 (15 minutes) on a fresh archive; underlying 2 has 56
// quarter-hours a day: duration bounds 896 .. 3584, standard 1792.
constexpr int Slot = 1;
constexpr int Grado = 6;

enum Impostazione { Prop, Tend, Sottocicli, Tempi, Durata, Zoom, Compr };

double Leggi(const Stato &s, int imp, size_t d)
{
    const StatoCicli &c = s.cicli;
    switch (imp) {
    case Prop: return c.Prop_Battleplan[d];
    case Tend: return c.Tendenza[d];
    case Sottocicli: return c.Sottocicli[d];
    case Tempi: return c.Tempi[d];
    case Durata: return c.Durata[d];
    case Zoom: return c.Zoom[d];
    default: return c.Compressione[d];
    }
}

void Scrivi(Stato &s, int imp, size_t d, double v)
{
    StatoCicli &c = s.cicli;
    switch (imp) {
    case Prop: c.Prop_Battleplan[d] = v; break;
    case Tend: c.Tendenza[d] = v; break;
    case Sottocicli: c.Sottocicli[d] = int(v); break;
    case Tempi: c.Tempi[d] = int(v); break;
    case Durata: c.Durata[d] = v; break;
    case Zoom: c.Zoom[d] = v; break;
    default:
        c.Compressione[d] = int(v);
        c.Scostamento_Ciclo[d] = v * c.Compressione_Grado[d];
        break;
    }
}

QString Colonna(int imp)
{
    static const char *colonne[] = {"C7", "C3", "C1", "C4", "C2", "C6", "C5"};
    return QLatin1String(colonne[imp]);
}

QString Archivio(const Stato &s, int imp, int grado)
{
    return ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB%1").arg(grado), Colonna(imp),
                          s.archivio.Sottostante_Corrente);
}

// Column C<n> of the underlying's row of the chart-slot table.
QString Grafici(const Stato &s, int n)
{
    return ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TABGRAF"), QStringLiteral("C%1").arg(n),
                          s.archivio.Sottostante_Corrente);
}

// A stored text no control writes, so that a save (or its absence) shows.
constexpr auto Segno = "-99";
bool Segna_Archivio(const Stato &s, int imp, int grado)
{
    archivio::Connessione c(archivio::FileArchivio::Sistema3);
    return c.AggiornaRiga(QStringLiteral("TAB%1").arg(grado), s.archivio.Sottostante_Corrente,
                          {{Colonna(imp), QLatin1String(Segno)}});
}


// Saves the window makes, each refused by the archive in the test below.
enum Salvataggio {
    S_Tendenza, S_Proporzione, S_Sottocicli, S_Tempi, S_Durata, S_Zoom, S_Scorri_Y, S_Scorri_X, S_Compressione,
    S_Griglia, S_Casella_Grado, S_Indicatore, S_Linea, S_Cancella_Linea, S_Testo, S_Distanza, S_Posizione,
    S_Aspetto, S_Ricordami, S_Puntatore, S_Coordinate
};
// How: a trigger aborting every write to the table, another connection holding the
// file's write lock, the setting's row missing, or the archive folder moved away.
enum Rifiuto { Trigger, Lucchetto, Riga_Assente, Cartella_Assente };

}  // namespace

class ControlliCicloFinestraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FinestraProva> m_prova;

    Stato &stato() const { return m_prova->form->S(); }
    AreaGrafici *area() const { return m_prova->op->Area(); }
    ControlliCiclo *controlli() const { return m_prova->op->Controlli_Ciclo(); }
    PannelloCicli *cicli() const { return m_prova->op->Cicli(); }
    GraficoWidget *grafico(int slot) const { return area()->Frm_Graf[size_t(slot)]->Graf_Battleplan; }

    // A restart in the same program folder.
    bool avvia() { return m_prova->Riavvia() && !stato().shell.Blocco_Grafici; }

    // A start in a fresh folder.
    bool nuovo()
    {
        m_prova.reset();
        m_prova = std::make_unique<FinestraProva>(QList<int>{2});
        return m_prova->AvviaOffline() && !stato().shell.Blocco_Grafici;
    }

    void ingrandisci(int slot) { QVERIFY(m_prova->Ingrandisci(slot)); }

    // Sets a value in memory only, and shows it in the tool frame and the chart.
    void prepara(int imp, double valore)
    {
        Scrivi(stato(), imp, Grado, valore);
        ciclo::Calcola_Battleplan(stato().cicli, Grado);
        stato().indicatori.Modo_Adattivo[Grado] = 0;
        m_prova->op->Layout().Imposta_Layout_Grande(Slot);
        m_prova->op->Ridisegno().Disegna_Grafico(Slot, Grado);
    }

    void sceltaDallaLista(QComboBox *cmb, const QString &voce)
    {
        const int i = cmb->findText(voce);
        QVERIFY(i >= 0);
        cmb->showPopup();
        QAbstractItemView *v = cmb->view();
        QTRY_VERIFY(v->isVisible());
        v->scrollTo(v->model()->index(i, 0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(i, 0)).center());
        QTRY_VERIFY(!v->isVisible());
    }

    // A click on the box itself: the blank right of its caption takes none.
    void spunta(int grado)
    {
        QCheckBox *c = cicli()->Chk_Battl[size_t(grado)];
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2));
    }

    void agisci(const QString &nome, const QString &azione)
    {
        QWidget *w = area()->Frm_Strumenti->findChild<QWidget *>(nome);
        QVERIFY2(w && w->isVisible(), qPrintable(nome));
        if (azione == QLatin1String("clic")) {
            QTest::mouseClick(w, Qt::LeftButton);
        } else if (azione == QLatin1String("tenuto")) {
            // Held past any repeat delay: still one press, one step. The window is
            // active first: a focus coming back from a closed list lets go of the button.
            w->window()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w->window()));
            QTest::mousePress(w, Qt::LeftButton);
            QTest::qWait(450);
            QTest::mouseRelease(w, Qt::LeftButton);
        } else if (azione.startsWith(QLatin1String("rotella"))) {
            Rotella(w, azione.endsWith(QLatin1Char('+')) ? 120 : -120);
        } else if (azione == QLatin1String("tasto")) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Down);
        } else if (azione == QLatin1String("doppio")) {
            QTest::mouseDClick(w, Qt::LeftButton);
        } else {
            sceltaDallaLista(qobject_cast<QComboBox *>(w), azione);
        }
    }


    // The saved settings as the window holds and shows them.
    QStringList impostazioni() const
    {
        const Stato &st = stato();
        const StatoCicli &c = st.cicli;
        const size_t d = Grado;
        QStringList v;
        for (double x : {c.Tendenza[d], c.Prop_Battleplan[d], c.Durata[d], c.Zoom[d], c.Scostamento_Ciclo[d]})
            v << QString::number(x);
        for (int x : {c.Sottocicli[d], c.Tempi[d], c.Posizione_Asse_Y[d], c.Barre_Ciclo[d], c.Compressione[d],
                      c.Griglia_1[d], c.Modo_Mouse_Grado[d], c.Mostra_Coordinate[d], st.indicatori.Ind_Attivo[d][0],
                      st.archivio.Aspetto})
            v << QString::number(x);
        v << c.Data_Inizio_Ciclo[d].toString() << QString::number(c.Ora_Inizio_Ciclo[d]);
        for (const SlotGrafico &g : c.Conf_Grafici)
            v << QStringLiteral("%1/%2/%3").arg(g.in_uso).arg(g.grado).arg(g.posizione);
        for (int k = 1; k <= 2; ++k)
            v << QStringLiteral("%1 %2 %3 %4")
                     .arg(st.disegno.Linee[d][size_t(k)].in_uso)
                     .arg(st.disegno.Linee[d][size_t(k)].barra_inizio)
                     .arg(st.disegno.Testi[d][size_t(k)].in_uso)
                     .arg(st.disegno.Distanze[d][size_t(k)].in_uso);
        v << controlli()->Text_Tend->text() << controlli()->Text_Prop_Battl->text() << controlli()->Text_Dur->text()
          << controlli()->Cmb_Sottocicli->currentText() << controlli()->Cmb_Tempi->currentText();
        RiquadroGrafico *r = area()->Frm_Graf[size_t(Slot)];
        for (QAbstractSlider *b : {static_cast<QAbstractSlider *>(r->Hsc_Graf), static_cast<QAbstractSlider *>(r->Hsc_Graf_Y),
                                   static_cast<QAbstractSlider *>(area()->Sld_Zoom),
                                   static_cast<QAbstractSlider *>(area()->Sld_Compr)})
            v << QStringLiteral("%1<%2").arg(b->value()).arg(b->maximum());
        for (QCheckBox *b : cicli()->Chk_Battl)
            v << QString::number(b->isChecked());
        if (PannelloIndicatori *p = area()->Pannello_Indicatori)
            v << QString::number(p->Chk_Ind_Adattivi[0]->isChecked());
        v << QString::number(m_prova->form->Frm_Avvio->Chk_Ricordami->isChecked());
        return v;
    }

    StrumentiFinestra *strumenti() const
    {
        return m_prova->op->findChild<StrumentiFinestra *>(QStringLiteral("StrumentiFinestra"));
    }
    // A click on the chart of the slot at a fraction of its width and height.
    QPoint punto(double fx, double fy) const
    {
        GraficoWidget *g = grafico(Slot);
        return QPoint(int(g->width() * fx), int(g->height() * fy));
    }
    void muovi(QPoint p) { MuoviMouse(grafico(Slot), p); }
    void clicGrafico(QPoint p)
    {
        muovi(p);
        QTest::mouseClick(grafico(Slot), Qt::LeftButton, {}, p);
    }
    // The tool of the chart the mouse is over.
    void arma(void (StrumentiGrafici::*strumento)(int), int colore)
    {
        muovi(punto(0.5, 0.5));
        QCOMPARE(stato().cicli.Grafico_Corrente, Slot);
        (strumenti()->Strumenti().*strumento)(colore);
    }
    void linea()
    {
        arma(&StrumentiGrafici::Cmd_Line_Click, 0);
        clicGrafico(punto(0.3, 0.5));
        clicGrafico(punto(0.6, 0.4));
    }
    // One step of a scroll bar, away from its end.
    static void passo(QAbstractSlider *b) { b->setValue(b->value() < b->maximum() ? b->value() + 1 : b->value() - 1); }

    void salva(Salvataggio caso)
    {
        switch (caso) {
        case S_Tendenza: agisci(QStringLiteral("Cmd_Tend_P"), QStringLiteral("clic")); break;
        case S_Proporzione: agisci(QStringLiteral("Cmd_Prop_Battl_P1"), QStringLiteral("clic")); break;
        case S_Sottocicli:
        case S_Tempi: {
            QComboBox *cmb = caso == S_Sottocicli ? controlli()->Cmb_Sottocicli : controlli()->Cmb_Tempi;
            const QString voce = cmb->itemText(cmb->currentText() == cmb->itemText(1) ? 2 : 1);
            sceltaDallaLista(cmb, voce);
            break;
        }
        case S_Durata: QTest::mouseClick(controlli()->Cmd_Dur_M[0], Qt::LeftButton); break;
        case S_Zoom: agisci(QStringLiteral("Cmd_Zoom_P"), QStringLiteral("clic")); break;
        case S_Scorri_Y: passo(area()->Frm_Graf[size_t(Slot)]->Hsc_Graf_Y); break;
        case S_Scorri_X: passo(area()->Frm_Graf[size_t(Slot)]->Hsc_Graf); break;
        case S_Compressione: agisci(QStringLiteral("Cmd_Compr_P"), QStringLiteral("clic")); break;
        case S_Griglia:
            QTest::mouseClick(m_prova->form->findChild<QToolButton *>(QStringLiteral("Cmd_Griglia_Graf_0")),
                              Qt::LeftButton);
            break;
        case S_Casella_Grado: spunta(Grado); break;
        case S_Indicatore: {
            QCheckBox *c = area()->Pannello_Indicatori->Chk_Ind_Adattivi[0];
            QTest::mouseClick(c, Qt::LeftButton, {}, PuntoCasella(c));
            break;
        }
        case S_Linea: linea(); break;
        case S_Cancella_Linea:
            muovi(punto(0.5, 0.5));
            strumenti()->Strumenti().Cmd_Cancella_Linea_Click();
            clicGrafico(punto(0.45, 0.45));
            break;
        case S_Testo: {
            arma(&StrumentiGrafici::Cmd_Testo_Click, 1);
            clicGrafico(punto(0.4, 0.5));
            QTest::keyClicks(strumenti()->Text_Scritte_Graf, QStringLiteral("ab"));
            QTest::mouseClick(strumenti()->Cmd_Scrivi_Text_Graf, Qt::LeftButton);
            break;
        }
        case S_Distanza:
            arma(&StrumentiGrafici::Cmd_Distanza_Click, 2);
            clicGrafico(punto(0.2, 0.5));
            clicGrafico(punto(0.7, 0.4));
            break;
        case S_Posizione: {
            // The panel carried to the other side of the frame and dropped there.
            RiquadroGrafico *r = area()->Frm_Graf[size_t(Slot)];
            QTest::mouseClick(r->Cmd_Sposta, Qt::LeftButton);
            const QPoint presa(r->width() / 2, r->height() / 2);
            QTest::mouseClick(area(), Qt::LeftButton, {}, r->pos() + presa);
            MuoviMouse(area(), QPoint(r->x() < area()->width() / 4 ? area()->width() - 2 : 2, r->y() + presa.y()));
            QTest::mouseClick(area(), Qt::LeftButton, {}, r->Cmd_Sposta->mapTo(area(), r->Cmd_Sposta->rect().center()));
            break;
        }
        case S_Aspetto: QTest::mouseClick(m_prova->op->Quotazioni()->Cmd_Aspetto[0], Qt::LeftButton); break;
        case S_Ricordami: m_prova->form->Frm_Avvio->Chk_Ricordami->click(); break;
        case S_Puntatore: agisci(QStringLiteral("Cmd_Punt_Graf"), QStringLiteral("clic")); break;
        case S_Coordinate: QTest::mouseClick(area()->Frm_Graf[size_t(Slot)]->Cmd_Coord, Qt::LeftButton); break;
        }
    }

private slots:
    void cleanupTestCase() { m_prova.reset(); }

    // A save the archive refuses: the window keeps and shows the value chosen, tells the
    // refusal once by the file and in the trader's words (no table, no database text), the
    // file keeps what it held, and the value reaches it once the file takes writes again.
    void salvataggio_rifiutato_data()
    {
        QTest::addColumn<int>("caso");
        QTest::addColumn<int>("rifiuto");
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<bool>("grande");  // the one-chart layout, with the tool frame
        using F = archivio::FileArchivio;
        const QString tab = QStringLiteral("TAB%1").arg(Grado);
        const auto riga = [](const char *nome, Salvataggio caso, Rifiuto r, F file, const QString &tabella, bool grande) {
            QTest::newRow(nome) << int(caso) << int(r) << int(file) << tabella << grande;
        };
        riga("tendenza, archivio bloccato", S_Tendenza, Lucchetto, F::Sistema3, tab, true);
        riga("tendenza, riga assente", S_Tendenza, Riga_Assente, F::Sistema3, tab, true);
        riga("proporzione", S_Proporzione, Trigger, F::Sistema3, tab, true);
        riga("sottocicli", S_Sottocicli, Trigger, F::Sistema3, tab, true);
        riga("tempi", S_Tempi, Trigger, F::Sistema3, tab, true);
        riga("durata", S_Durata, Trigger, F::Sistema3, tab, true);
        riga("zoom", S_Zoom, Trigger, F::Sistema3, tab, true);
        riga("scorrimento verticale", S_Scorri_Y, Trigger, F::Sistema3, tab, false);
        riga("scorrimento del grafico", S_Scorri_X, Trigger, F::Sistema3, tab, false);
        riga("compressione", S_Compressione, Trigger, F::Sistema3, tab, true);
        riga("griglia", S_Griglia, Trigger, F::Sistema3, tab, true);
        riga("casella del grado", S_Casella_Grado, Trigger, F::Sistema3, QStringLiteral("TABGRAF"), false);
        riga("indicatore", S_Indicatore, Trigger, F::Sistema2, tab, true);
        const QString linee = archivio::NomeTabellaOggetti(QStringLiteral("Dati_Linee_S"), 2);
        riga("linea", S_Linea, Trigger, F::Sistema1, linee, false);
        riga("linea cancellata", S_Cancella_Linea, Trigger, F::Sistema1, linee, false);
        riga("testo", S_Testo, Trigger, F::Sistema1, archivio::NomeTabellaOggetti(QStringLiteral("Dati_Testo_S"), 2),
             false);
        riga("distanza", S_Distanza, Trigger, F::Sistema1,
             archivio::NomeTabellaOggetti(QStringLiteral("Dati_Dista_S"), 2), false);
        riga("posizione del riquadro", S_Posizione, Trigger, F::Sistema3, QStringLiteral("TABGRAF"), false);
        riga("colori", S_Aspetto, Trigger, F::Sistema3, QStringLiteral("TABAVV"), false);
        riga("ricordami", S_Ricordami, Trigger, F::Sistema3, QStringLiteral("TABAVV"), false);
        riga("modo del puntatore", S_Puntatore, Trigger, F::Sistema3, tab, true);
        riga("coordinate", S_Coordinate, Trigger, F::Sistema3, tab, false);
        riga("colori, archivio bloccato", S_Aspetto, Lucchetto, F::Sistema3, QStringLiteral("TABAVV"), false);
        riga("ricordami, archivio bloccato", S_Ricordami, Lucchetto, F::Sistema3, QStringLiteral("TABAVV"), false);
        riga("indicatore, archivio bloccato", S_Indicatore, Lucchetto, F::Sistema2, tab, true);
        riga("linea, archivio bloccato", S_Linea, Lucchetto, F::Sistema1, linee, false);
        riga("colori, cartella spostata", S_Aspetto, Cartella_Assente, F::Sistema3, QStringLiteral("TABAVV"), false);
        riga("linea, cartella spostata", S_Linea, Cartella_Assente, F::Sistema1, linee, false);
        riga("indicatore, cartella spostata", S_Indicatore, Cartella_Assente, F::Sistema2, tab, true);
    }
    void salvataggio_rifiutato()
    {
        using namespace std::chrono_literals;
        QFETCH(int, caso);
        QFETCH(int, rifiuto);
        QFETCH(int, file);
        QFETCH(QString, tabella);
        QFETCH(bool, grande);
        const auto archivioFile = archivio::FileArchivio(file);
        QVERIFY(nuovo());
        ScrittoreArchivio &scrittore = m_prova->form->Scrittore_Archivio();
        // Tried again only when the test says: the refusal is looked at first.
        scrittore.Imposta_Riprova(1h, 1h);
        QCOMPARE(stato().cicli.Conf_Grafici[size_t(Slot)].grado, Grado);
        if (grande)
            ingrandisci(Slot);
        if (caso == S_Cancella_Linea) {
            linea();
            QVERIFY(stato().disegno.Linee[Grado][1].in_uso);
        }
        // What the loading (its corrections) and the set-up queued is written before the
        // archive refuses: the refusal meets the save under test alone.
        scrittore.Attendi();

        // The boxes are read and closed as they open.
        MessaggiCatturati messaggi;
        const QStringList &avvisi = messaggi.testi;

        const QStringList prima = impostazioni();
        std::optional<ConnessioneProva> blocco(std::in_place, archivioFile);
        QVERIFY(blocco->db.isOpen());
        if (rifiuto == Riga_Assente) {
            QVERIFY(blocco->Esegui(QStringLiteral("DELETE FROM %1 WHERE ID = %2").arg(tabella).arg(2)));
        } else if (rifiuto == Trigger) {
            for (const char *operazione : {"UPDATE", "INSERT", "DELETE"})
                QVERIFY(blocco->Esegui(QStringLiteral("CREATE TRIGGER rifiuto_%1 BEFORE %1 ON %2 BEGIN "
                                                      "SELECT RAISE(ABORT, 'bloccato'); END")
                                           .arg(QLatin1String(operazione), tabella)));
        }
        const QString archiviato = ContenutoTabella(archivioFile, tabella);
        if (rifiuto == Lucchetto)
            QVERIFY(blocco->Esegui(QStringLiteral("BEGIN EXCLUSIVE")));
        const QString sistema = m_prova->cartella->sistema();
        const QString altrove = m_prova->cartella->percorso() + QStringLiteral("/altrove");
        if (rifiuto == Cartella_Assente)
            QVERIFY(QDir().rename(sistema, altrove));

        salva(Salvataggio(caso));
        QTRY_COMPARE(avvisi.size(), 1);
        if (rifiuto == Lucchetto)
            QVERIFY(blocco->Esegui(QStringLiteral("ROLLBACK")));
        if (rifiuto == Cartella_Assente) {
            // A save makes nothing again: neither the folder nor an empty file in it.
            QVERIFY(!QFileInfo::exists(sistema));
            QVERIFY(QDir().rename(altrove, sistema));
        }

        // Every refused save is told by the window's one notice: its title, plain text,
        // the file and the cause.
        const QString &avviso = avvisi[0];
        QVERIFY2(avviso.startsWith(QStringLiteral("Wavelore \u00AE|")) && avviso.endsWith(QLatin1String("|testo")),
                 qPrintable(avviso));
        const QString causa =
            rifiuto == Lucchetto          ? QStringLiteral("il file \u00E8 in uso da un altro programma")
            : rifiuto == Riga_Assente     ? archivio::Motivo_Riga_Mancante()
            : rifiuto == Cartella_Assente ? QStringLiteral("il file non esiste: manca la cartella %1").arg(sistema)
                                          : QStringLiteral("l'operazione sul file non \u00E8 riuscita");
        QVERIFY2(avviso.contains(QStringLiteral(" non ")), qPrintable(avviso));
        QVERIFY2(avviso.contains(archivio::NomeArchivio(archivioFile) + QStringLiteral("): ") + causa + QLatin1Char('.')),
                 qPrintable(avviso));
        for (const char *nome : {"TAB", "Dati_", "bloccato", "SQL"})
            QVERIFY2(!avviso.contains(QLatin1String(nome)), qPrintable(avviso));
        QCOMPARE(ContenutoTabella(archivioFile, tabella), archiviato);
        const QStringList scelte = impostazioni();
        QVERIFY(scelte != prima);
        QVERIFY(scrittore.Da_Scrivere().contains(archivio::NomeArchivio(archivioFile)));
        QVERIFY(m_prova->fallimenti.isEmpty());

        // The file takes writes again: the value chosen reaches it by itself, told no more.
        if (rifiuto == Trigger)
            for (const char *operazione : {"UPDATE", "INSERT", "DELETE"})
                QVERIFY(blocco->Esegui(QStringLiteral("DROP TRIGGER rifiuto_%1").arg(QLatin1String(operazione))));
        blocco.reset();
        if (rifiuto != Riga_Assente) {
            scrittore.Imposta_Riprova(10ms, 10ms);
            QTRY_VERIFY_WITH_TIMEOUT(scrittore.Da_Scrivere().isEmpty(), 20000);
            QVERIFY(ContenutoTabella(archivioFile, tabella) != archiviato);
        }
        QCOMPARE(impostazioni(), scelte);
        QCOMPARE(avvisi.size(), 1);
    }

    // Every sync of the disk slow: a trader's click is answered at once, with no sync on
    // the window thread, while its save still waits for the disk; the value is on disk
    // afterwards, or, refused, told once and still shown.
    void clic_con_disco_lento_data()
    {
        QTest::addColumn<int>("caso");
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<bool>("grande");
        QTest::addColumn<bool>("rifiutato");
        using F = archivio::FileArchivio;
        const QString tab = QStringLiteral("TAB%1").arg(Grado);
        const QString linee = archivio::NomeTabellaOggetti(QStringLiteral("Dati_Linee_S"), 2);
        QTest::newRow("a scroll step") << int(S_Scorri_X) << int(F::Sistema3) << tab << false << false;
        QTest::newRow("the colour switch") << int(S_Aspetto) << int(F::Sistema3) << "TABAVV" << false << false;
        QTest::newRow("a new line") << int(S_Linea) << int(F::Sistema1) << linee << false << false;
        QTest::newRow("a duration button") << int(S_Durata) << int(F::Sistema3) << tab << true << false;
        QTest::newRow("an indicator") << int(S_Indicatore) << int(F::Sistema2) << tab << true << false;
        QTest::newRow("the colour switch, refused") << int(S_Aspetto) << int(F::Sistema3) << "TABAVV" << false << true;
        QTest::newRow("a new line, refused") << int(S_Linea) << int(F::Sistema1) << linee << false << true;
    }
    void clic_con_disco_lento()
    {
        QFETCH(int, caso);
        QFETCH(int, file);
        QFETCH(QString, tabella);
        QFETCH(bool, grande);
        QFETCH(bool, rifiutato);
        const auto archivioFile = archivio::FileArchivio(file);
        QVERIFY(nuovo());
        if (grande)
            ingrandisci(Slot);
        ScrittoreArchivio &scrittore = m_prova->form->Scrittore_Archivio();
        scrittore.Attendi();
        MessaggiCatturati messaggi;
        std::optional<ConnessioneProva> blocco;
        if (rifiutato) {
            blocco.emplace(archivioFile);
            QVERIFY(blocco->Esegui(QStringLiteral("CREATE TRIGGER rifiuto BEFORE UPDATE ON %1 BEGIN "
                                                  "SELECT RAISE(ABORT, 'bloccato'); END")
                                       .arg(tabella)));
        }
        const QString archiviato = ContenutoTabella(archivioFile, tabella);
        const QStringList prima = impostazioni();
        sincronie::Imposta_Ritardo(1000);
        const auto ripristina = qScopeGuard([] { sincronie::Imposta_Ritardo(0); });
        const std::uint64_t finestra = sincronie::Sul_Thread_Principale();

        salva(Salvataggio(caso));
        bool risposta = false;
        QStringList daScrivere;
        QMetaObject::invokeMethod(
            this,
            [&] {
                risposta = true;
                daScrivere = scrittore.Da_Scrivere();
            },
            Qt::QueuedConnection);
        QTRY_VERIFY(risposta);
        QVERIFY2(daScrivere.contains(archivio::NomeArchivio(archivioFile)), qPrintable(daScrivere.join(QLatin1Char(' '))));
        QCOMPARE(sincronie::Sul_Thread_Principale(), finestra);
        if (!rifiutato) {
            // A read of the file meanwhile waits for the write under way, and says so over the window.
            const QString nome = archivio::NomeArchivio(archivioFile);
            QTRY_VERIFY(scrittore.Scrive(nome));
            QString visto;
            QTimer::singleShot(archivio::Avviso_Attesa_Lettura_ms + 200, this, [&] {
                if (const auto *l = m_prova->form->findChild<QLabel *>(QStringLiteral("LblAttesaLettura")); l && l->isVisible())
                    visto = l->text();
            });
            { archivio::ConnessioneInAttesa lettura(archivioFile); }
            QCOMPARE(visto, QStringLiteral("Lettura di %1 in attesa del salvataggio in corso...").arg(nome));
            QVERIFY(!m_prova->form->findChild<QWidget *>(QStringLiteral("FrmAttesaLettura")));
        }
        const QStringList scelte = impostazioni();
        QVERIFY(scelte != prima);
        scrittore.Attendi();
        QCOMPARE(ContenutoTabella(archivioFile, tabella) == archiviato, rifiutato);
        QTRY_COMPARE(messaggi.testi.size(), rifiutato ? 1 : 0);
        QCOMPARE(impostazioni(), scelte);
        QCOMPARE(sincronie::Sul_Thread_Principale(), finestra);
        if (rifiutato)
            QVERIFY(blocco->Esegui(QStringLiteral("DROP TRIGGER rifiuto")));
    }

    // The tool frame shows the enlarged degree's settings; the duration buttons
    // follow its timeframe.
    void strumenti_mostrano_il_grado_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("locale");
        for (int s = 0; s < 4; ++s)
            QTest::addRow("slot %d", s) << s << (s % 2 ? "UE" : "US");
    }
    void strumenti_mostrano_il_grado()
    {
        QFETCH(int, slot);
        QFETCH(QString, locale);
        if (!m_prova)
            QVERIFY(nuovo());
        stato().shell.Formato_Locale = locale;
        const int d = stato().cicli.Conf_Grafici[size_t(slot)].grado;
        stato().cicli.Tendenza[size_t(d)] = -3 + slot;
        stato().cicli.Prop_Battleplan[size_t(d)] = slot == 0 ? 1.0 : 1.3;
        for (int imp = Prop; imp <= Compr; ++imp)
            QVERIFY(Segna_Archivio(stato(), imp, d));
        ingrandisci(slot);
        // Filling the boxes saves nothing.
        for (int imp = Prop; imp <= Compr; ++imp)
            QCOMPARE(Archivio(stato(), imp, d), QLatin1String(Segno));
        const StatoCicli &c = stato().cicli;
        ControlliCiclo *k = controlli();
        QVERIFY(k->isVisible());
        QVERIFY(k->Text_Dur->isReadOnly());
        QCOMPARE(k->Text_Dur->text(),
                 ciclo::Converti_Durata_Testo(c, stato().archivio, d, vb::CInt(c.Durata[size_t(d)])));
        QVERIFY(!k->Text_Dur->text().isEmpty());
        QCOMPARE(k->Cmb_Sottocicli->currentText(), QString::number(c.Sottocicli[size_t(d)]));
        QCOMPARE(k->Cmb_Tempi->currentText(), QString::number(c.Tempi[size_t(d)]));
        QCOMPARE(k->Cmb_Sottocicli->count(), 6);
        QCOMPARE(k->Cmb_Tempi->count(), 20);
        QCOMPARE(k->Text_Tend->text(), QString::number(-3 + slot));
        QCOMPARE(k->Text_Prop_Battl->text(), slot == 0 ? QStringLiteral("Standard")
                                             : locale == QLatin1String("UE") ? QStringLiteral("1,3")
                                                                              : QStringLiteral("1.3"));
        QCOMPARE(area()->Sld_Zoom->value(), vb::CInt(c.Zoom[size_t(d)]));
        // Degree 5 (hourly) shows the six buttons in one row; 6..8 (15 minutes)
        // stagger the medium and large steps round the small one.
        for (QPushButton *b : {k->Cmd_Dur_M[2], k->Cmd_Dur_P[2]})
            QVERIFY(b->isVisible());
        const int dy = k->Cmd_Dur_P[1]->y() - k->Cmd_Dur_P[0]->y();
        const double top = ControlliCiclo::Top_Durata;
        QCOMPARE(dy, d >= 6 ? schermo::TwipsInPixel(top - 155) - schermo::TwipsInPixel(top) : 0);
        // Every control lies inside the tool frame, above the sliders.
        for (QWidget *w : k->findChildren<QWidget *>()) {
            const QRect r(w->mapTo(area()->Frm_Strumenti, QPoint(0, 0)), w->size());
            QVERIFY2(!w->isVisibleTo(k) || area()->Frm_Strumenti->rect().contains(r),
                     qPrintable(w->objectName() + QLatin1Char(' ') + TestoRettangolo(r)));
        }
        QVERIFY(area()->Frm_Strumenti->geometry().bottom() < area()->Sld_Zoom->geometry().top());
        // A button held down gives one click: none in the window repeats.
        for (QAbstractButton *b : m_prova->form->findChildren<QAbstractButton *>())
            QVERIFY2(!b->autoRepeat() || qobject_cast<QTabBar *>(b->parent()), qPrintable(b->objectName()));
        SalvaImmagine(m_prova->form.get(), QStringLiteral("controlli_ciclo_%1.png").arg(slot));
    }

    void controllo_cambia_valore_data()
    {
        QTest::addColumn<QString>("controllo");
        QTest::addColumn<QString>("azione");  // clic, tenuto (held down), doppio, tasto (Down with the focus), or the list entry chosen
        QTest::addColumn<int>("impostazione");
        QTest::addColumn<double>("prima");
        QTest::addColumn<double>("dopo");
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("casella");  // the box's text afterwards, "" not checked
        const QString clic = QStringLiteral("clic"), doppio = QStringLiteral("doppio");
        QTest::newRow("prop su") << "Cmd_Prop_Battl_P1" << clic << int(Prop) << 1.0 << 1.1 << "1.1" << "1.1";
        QTest::newRow("prop giù") << "Cmd_Prop_Battl_M1" << clic << int(Prop) << 1.3 << 1.2 << "1.2" << "1.2";
        QTest::newRow("prop giù, UE") << "Cmd_Prop_Battl_M1" << clic << int(Prop) << 1.3 << 1.2 << "1.2" << "1,2";
        QTest::newRow("prop a Standard") << "Cmd_Prop_Battl_M1" << clic << int(Prop) << 1.1 << 1.0 << "1"
                                         << "Standard";
        QTest::newRow("prop doppio clic") << "Text_Prop_Battl" << doppio << int(Prop) << 1.4 << 1.0 << "1"
                                          << "Standard";
        QTest::newRow("tendenza su") << "Cmd_Tend_P" << clic << int(Tend) << 0.0 << 1.0 << "1" << "1";
        QTest::newRow("tendenza giù") << "Cmd_Tend_M" << clic << int(Tend) << 0.0 << -1.0 << "-1" << "-1";
        QTest::newRow("tendenza doppio clic") << "Text_Tend" << doppio << int(Tend) << 4.0 << 0.0 << "0" << "0";
        QTest::newRow("sottocicli") << "Cmb_Sottocicli" << "5" << int(Sottocicli) << 2.0 << 5.0 << "5" << "";
        QTest::newRow("tempi") << "Cmb_Tempi" << "7" << int(Tempi) << 2.0 << 7.0 << "7" << "";
        QTest::newRow("sottocicli da tastiera") << "Cmb_Sottocicli" << "tasto" << int(Sottocicli) << 2.0 << 3.0 << "3"
                                                << "";
        QTest::newRow("tempi da tastiera") << "Cmb_Tempi" << "tasto" << int(Tempi) << 4.0 << 5.0 << "5" << "";
        QTest::newRow("durata -1") << "Cmd_Dur_M1" << clic << int(Durata) << 1792.0 << 1791.0 << "1791" << "";
        QTest::newRow("durata +4") << "Cmd_Dur_P2" << clic << int(Durata) << 1792.0 << 1796.0 << "1796" << "";
        QTest::newRow("durata -1 giorno") << "Cmd_Dur_M3" << clic << int(Durata) << 1792.0 << 1736.0 << "1736"
                                          << "";
        QTest::newRow("durata fino al massimo") << "Cmd_Dur_P3" << clic << int(Durata) << 3560.0 << 3584.0
                                                << "3584" << "";
        QTest::newRow("durata fino al minimo") << "Cmd_Dur_M2" << clic << int(Durata) << 898.0 << 896.0 << "896"
                                               << "";
        QTest::newRow("durata standard") << "Text_Dur" << doppio << int(Durata) << 1000.0 << 1792.0 << "1792"
                                         << "";
        QTest::newRow("zoom su") << "Cmd_Zoom_P" << clic << int(Zoom) << 5.0 << 6.0 << "6" << "";
        QTest::newRow("zoom giù") << "Cmd_Zoom_M" << clic << int(Zoom) << 5.0 << 4.0 << "4" << "";
        QTest::newRow("compressione su") << "Cmd_Compr_P" << clic << int(Compr) << 0.0 << 1.0 << "1" << "";
        QTest::newRow("compressione giù") << "Cmd_Compr_M" << clic << int(Compr) << 2.0 << 1.0 << "1" << "";
        const QString tenuto = QStringLiteral("tenuto");
        QTest::newRow("prop su tenuto") << "Cmd_Prop_Battl_P1" << tenuto << int(Prop) << 1.0 << 1.1 << "1.1" << "1.1";
        QTest::newRow("tendenza giù tenuto") << "Cmd_Tend_M" << tenuto << int(Tend) << 0.0 << -1.0 << "-1" << "-1";
        QTest::newRow("durata + tenuto") << "Cmd_Dur_P1" << tenuto << int(Durata) << 1792.0 << 1793.0 << "1793" << "";
        QTest::newRow("durata - tenuto") << "Cmd_Dur_M1" << tenuto << int(Durata) << 1792.0 << 1791.0 << "1791" << "";
        QTest::newRow("durata > tenuto") << "Cmd_Dur_P2" << tenuto << int(Durata) << 1792.0 << 1796.0 << "1796" << "";
        QTest::newRow("durata < tenuto") << "Cmd_Dur_M2" << tenuto << int(Durata) << 1792.0 << 1788.0 << "1788" << "";
        QTest::newRow("durata » tenuto") << "Cmd_Dur_P3" << tenuto << int(Durata) << 1792.0 << 1848.0 << "1848" << "";
        QTest::newRow("durata « tenuto") << "Cmd_Dur_M3" << tenuto << int(Durata) << 1792.0 << 1736.0 << "1736" << "";
        QTest::newRow("zoom su tenuto") << "Cmd_Zoom_P" << tenuto << int(Zoom) << 5.0 << 6.0 << "6" << "";
        QTest::newRow("compressione su tenuto") << "Cmd_Compr_P" << tenuto << int(Compr) << 0.0 << 1.0 << "1" << "";
    }
    void controllo_cambia_valore()
    {
        QFETCH(QString, controllo);
        QFETCH(QString, azione);
        QFETCH(int, impostazione);
        QFETCH(double, prima);
        QFETCH(double, dopo);
        QFETCH(QString, archivio);
        QFETCH(QString, casella);
        if (!m_prova || stato().shell.Layout_Grafico != QLatin1String("GRANDE"))
            QVERIFY(nuovo());
        QCOMPARE(stato().cicli.Conf_Grafici[Slot].grado, Grado);
        ingrandisci(Slot);
        // A comma in the box's text is the UE convention's decimal sign.
        stato().shell.Formato_Locale = casella.contains(QLatin1Char(',')) ? QStringLiteral("UE") : QStringLiteral("US");
        prepara(impostazione, prima);
        QVERIFY(Segna_Archivio(stato(), impostazione, Grado));
        const QImage immaginePrima = grafico(Slot)->Immagine();
        // A double click on a box gives the keyboard back to the chart, wherever it was
        // (the window's focus, whether the window is active or not).
        const bool doppio = azione == QLatin1String("doppio");
        if (doppio) {
            controlli()->Cmb_Tempi->setFocus();
            QCOMPARE(m_prova->form->focusWidget(), controlli()->Cmb_Tempi);
        }

        agisci(controllo, azione);

        if (doppio)
            QCOMPARE(m_prova->form->focusWidget(), static_cast<QWidget *>(grafico(Slot)));
        const Stato &s = stato();
        QCOMPARE(Leggi(s, impostazione, Grado), dopo);
        QCOMPARE(Archivio(s, impostazione, Grado), archivio);
        QVERIFY(grafico(Slot)->Immagine() != immaginePrima);
        if (!casella.isEmpty())
            QCOMPARE((impostazione == Prop ? controlli()->Text_Prop_Battl : controlli()->Text_Tend)->text(), casella);
        if (impostazione == Durata) {
            QCOMPARE(controlli()->Text_Dur->text(), ciclo::Converti_Durata_Testo(s.cicli, s.archivio, Grado, int(dopo)));
            // The scroll bar reaches as far as the chart; the degree's caption shows the duration.
            QCOMPARE(area()->Frm_Graf[Slot]->Hsc_Graf->maximum(),
                     vb::CInt(s.cicli.Durata[Grado] + s.cicli.Scostamento_Ciclo[Grado]));
            QCOMPARE(cicli()->Chk_Battl[Grado]->text(), ciclo::Didascalia_Grado(s.cicli, s.archivio, Grado));
        }
        if (impostazione == Sottocicli || impostazione == Tempi)
            QCOMPARE(area()->Frm_Strumenti->findChild<QComboBox *>(controllo)->currentText(), archivio);
        if (impostazione == Zoom)
            QCOMPARE(area()->Sld_Zoom->value(), int(dopo));
        if (impostazione == Compr)
            QCOMPARE(area()->Sld_Compr->value(), int(dopo));
    }

    // At its bound a control does nothing, nor does a wheel passing over a closed
    // list: no change, no save, no redraw.
    void controllo_al_limite_data()
    {
        QTest::addColumn<QString>("controllo");
        QTest::addColumn<int>("impostazione");
        QTest::addColumn<double>("valore");
        QTest::addColumn<QString>("azione");
        QTest::newRow("prop Standard giù") << "Cmd_Prop_Battl_M1" << int(Prop) << 1.0 << "clic";
        QTest::newRow("prop 1.7 su") << "Cmd_Prop_Battl_P1" << int(Prop) << 1.7 << "clic";
        QTest::newRow("tendenza -10 giù") << "Cmd_Tend_M" << int(Tend) << -10.0 << "clic";
        QTest::newRow("tendenza 10 su") << "Cmd_Tend_P" << int(Tend) << 10.0 << "clic";
        QTest::newRow("durata minima -1") << "Cmd_Dur_M1" << int(Durata) << 896.0 << "clic";
        QTest::newRow("durata massima +1") << "Cmd_Dur_P1" << int(Durata) << 3584.0 << "clic";
        QTest::newRow("zoom 0 giù") << "Cmd_Zoom_M" << int(Zoom) << 0.0 << "clic";
        QTest::newRow("zoom 10 su") << "Cmd_Zoom_P" << int(Zoom) << 10.0 << "clic";
        QTest::newRow("compressione 0 giù") << "Cmd_Compr_M" << int(Compr) << 0.0 << "clic";
        QTest::newRow("compressione 10 su") << "Cmd_Compr_P" << int(Compr) << 10.0 << "clic";
        QTest::newRow("rotella giù sui sottocicli") << "Cmb_Sottocicli" << int(Sottocicli) << 3.0 << "rotella-";
        QTest::newRow("rotella su sui sottocicli") << "Cmb_Sottocicli" << int(Sottocicli) << 3.0 << "rotella+";
        QTest::newRow("rotella giù sui tempi") << "Cmb_Tempi" << int(Tempi) << 5.0 << "rotella-";
        QTest::newRow("rotella su sui tempi") << "Cmb_Tempi" << int(Tempi) << 5.0 << "rotella+";
    }
    void controllo_al_limite()
    {
        QFETCH(QString, controllo);
        QFETCH(int, impostazione);
        QFETCH(double, valore);
        QFETCH(QString, azione);
        if (!m_prova || stato().shell.Layout_Grafico != QLatin1String("GRANDE"))
            QVERIFY(nuovo());
        ingrandisci(Slot);
        prepara(impostazione, valore);
        QVERIFY(Segna_Archivio(stato(), impostazione, Grado));
        const QImage immaginePrima = grafico(Slot)->Immagine();
        const QString durata = controlli()->Text_Dur->text();
        const auto *elenco = area()->Frm_Strumenti->findChild<QComboBox *>(controllo);
        const QString testo = elenco ? elenco->currentText() : QString();

        agisci(controllo, azione);

        QCOMPARE(Leggi(stato(), impostazione, Grado), valore);
        QCOMPARE(Archivio(stato(), impostazione, Grado), QLatin1String(Segno));
        QVERIFY(grafico(Slot)->Immagine() == immaginePrima);
        QCOMPARE(controlli()->Text_Dur->text(), durata);
        if (elenco)
            QCOMPARE(elenco->currentText(), testo);
    }

    // Typed text is checked as it is typed and never stored by itself.
    void combo_digitato_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("resta");  // "": the current value comes back
        QTest::newRow("lettere nei tempi") << "Cmb_Tempi" << "x" << "";
        QTest::newRow("25 nei tempi") << "Cmb_Tempi" << "25" << "";
        QTest::newRow("7 nei tempi resta") << "Cmb_Tempi" << "7" << "7";
        QTest::newRow("0 nei sottocicli") << "Cmb_Sottocicli" << "0" << "";
        QTest::newRow("casella svuotata") << "Cmb_Sottocicli" << "\b" << "";
    }
    void combo_digitato()
    {
        QFETCH(QString, combo);
        QFETCH(QString, digitato);
        QFETCH(QString, resta);
        if (!m_prova || stato().shell.Layout_Grafico != QLatin1String("GRANDE"))
            QVERIFY(nuovo());
        ingrandisci(Slot);
        auto *cmb = area()->Frm_Strumenti->findChild<QComboBox *>(combo);
        const int imp = combo == QLatin1String("Cmb_Tempi") ? Tempi : Sottocicli;
        const double attuale = Leggi(stato(), imp, Grado);
        const QString salvato = Archivio(stato(), imp, Grado);
        cmb->setFocus();
        cmb->lineEdit()->selectAll();
        if (digitato == QLatin1String("\b"))
            QTest::keyClick(cmb->lineEdit(), Qt::Key_Backspace);
        else
            QTest::keyClicks(cmb->lineEdit(), digitato);
        QCOMPARE(cmb->currentText(), resta.isEmpty() ? QString::number(int(attuale)) : resta);
        QCOMPARE(Leggi(stato(), imp, Grado), attuale);
        QCOMPARE(Archivio(stato(), imp, Grado), salvato);
    }

    // With the cycle start at the chart's far end a shorter duration moves the
    // start, and the drawing objects with it, to the new end and saves it; a
    // longer one only widens the scroll bar.
    void durata_con_inizio_in_fondo()
    {
        QVERIFY(nuovo());
        ingrandisci(Slot);
        StatoCicli &c = stato().cicli;
        BarraScorrimento &x = area()->Frm_Graf[Slot]->Barra_X();
        QScrollBar *hsc = area()->Frm_Graf[Slot]->Hsc_Graf;
        hsc->setValue(hsc->maximum());
        QCOMPARE(c.Barre_Ciclo[Grado], 1792);
        Linea &l = stato().disegno.Linee[Grado][1];
        l.in_uso = true;
        l.trovata = true;
        l.barra_inizio = 1700;
        l.prezzo_inizio = 100;
        l.barra_fine = 1780;
        l.prezzo_fine = 110;
        stato().disegno.Barre_Ciclo_Oggetti[Grado] = 1792;

        QTest::mouseClick(controlli()->Cmd_Dur_M[2], Qt::LeftButton);
        QCOMPARE(c.Durata[Grado], 1792.0 - 56);
        QCOMPARE(x.Max(), 1736);
        QCOMPARE(x.Valore(), 1736);
        QCOMPARE(c.Barre_Ciclo[Grado], 1736);
        // The line stays on its history rows.
        QCOMPARE(c.Barre_Ciclo[Grado] + 1 - l.barra_fine, 1792 + 1 - 1780);
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB%1").arg(Grado),
                                QStringLiteral("C12"), stato().archivio.Sottostante_Corrente),
                 dataora::ScriviData(c.Data_Inizio_Ciclo[Grado], stato().shell.Formato_Data));
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB%1").arg(Grado),
                                QStringLiteral("C13"), stato().archivio.Sottostante_Corrente),
                 dataora::ScriviOra(c.Ora_Inizio_Ciclo[Grado], stato().shell.Formato_Ora));

        QTest::mouseClick(controlli()->Cmd_Dur_P[2], Qt::LeftButton);
        QCOMPARE(x.Max(), 1736 + 56);
        QCOMPARE(x.Valore(), 1736);
        QCOMPARE(c.Barre_Ciclo[Grado], 1736);
        QCOMPARE(l.barra_fine, 1780 - 56);
    }

    // Adaptive indicators follow the duration once, 1.2 s after a run of clicks;
    // until then the chart keeps its picture.
    void durata_con_indicatori_adattivi()
    {
        QVERIFY(nuovo());
        ingrandisci(Slot);
        FinestraOperativa *op = m_prova->op;
        stato().indicatori.Modo_Adattivo[Grado] = 1;
        const QImage prima = grafico(Slot)->Immagine();
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(controlli()->Cmd_Dur_P[1], Qt::LeftButton);
        QCOMPARE(stato().cicli.Durata[Grado], 1792.0 + 12);
        QCOMPARE(Archivio(stato(), Durata, Grado), QStringLiteral("1804"));
        QVERIFY(op->Ridisegno().Timer_Indicatori.isActive());
        QCOMPARE(op->Ridisegno().Slot_Timer_Indicatori(), Slot);
        QVERIFY(grafico(Slot)->Immagine() == prima);
        QTRY_VERIFY_WITH_TIMEOUT(!op->Ridisegno().Timer_Indicatori.isActive(), 10000);
        QTRY_VERIFY(grafico(Slot)->Immagine() != prima);
    }

    // What the controls changed comes back after a restart.
    void riavvio_mantiene_valori()
    {
        QVERIFY(nuovo());
        ingrandisci(Slot);
        ControlliCiclo *k = controlli();
        QTest::mouseClick(k->Cmd_Prop_Battl_P1, Qt::LeftButton);
        QTest::mouseClick(k->Cmd_Prop_Battl_P1, Qt::LeftButton);
        QTest::mouseClick(k->Cmd_Tend_M, Qt::LeftButton);
        sceltaDallaLista(k->Cmb_Sottocicli, QStringLiteral("4"));
        sceltaDallaLista(k->Cmb_Tempi, QStringLiteral("9"));
        QTest::mouseClick(k->Cmd_Dur_M[2], Qt::LeftButton);
        QTest::mouseClick(k->Cmd_Zoom_M, Qt::LeftButton);
        QTest::mouseClick(k->Cmd_Compr_P, Qt::LeftButton);
        const StatoCicli c = stato().cicli;
        spunta(8);  // degree 8 off its slot
        QCOMPARE(stato().shell.Layout_Grafico, QStringLiteral("RIDOTTO"));

        QVERIFY(avvia());
        const StatoCicli &d = stato().cicli;
        QCOMPARE(d.Prop_Battleplan[Grado], 1.2);
        QCOMPARE(d.Tendenza[Grado], -1.0);
        QCOMPARE(d.Sottocicli[Grado], 4);
        QCOMPARE(d.Tempi[Grado], 9);
        QCOMPARE(d.Durata[Grado], 1792.0 - 56);
        QCOMPARE(d.Zoom[Grado], c.Zoom[Grado]);
        QCOMPARE(d.Compressione[Grado], 1);
        QCOMPARE(d.Barre_Ciclo[Grado], c.Barre_Ciclo[Grado]);
        QVERIFY(!cicli()->Chk_Battl[8]->isChecked());
        QCOMPARE(d.Conf_Grafici[3].in_uso, 0);
        ingrandisci(Slot);
        k = controlli();
        QCOMPARE(k->Text_Prop_Battl->text(), QStringLiteral("1.2"));
        QCOMPARE(k->Text_Tend->text(), QStringLiteral("-1"));
        QCOMPARE(k->Cmb_Sottocicli->currentText(), QStringLiteral("4"));
        QCOMPARE(k->Cmb_Tempi->currentText(), QStringLiteral("9"));
        QCOMPARE(area()->Sld_Compr->value(), 1);
        // The proportion steps down from the value read back as from the one saved.
        QTest::mouseClick(k->Cmd_Prop_Battl_M1, Qt::LeftButton);
        QCOMPARE(k->Text_Prop_Battl->text(), QStringLiteral("1.1"));
    }

    // The window's drawing of a slot not in use hides its chart and, with it, its scroll
    // bar and buttons, whatever had shown them; the other slots keep theirs.
    void slot_fuori_uso_senza_comandi()
    {
        QVERIFY(nuovo());
        const auto comandi = [this](int slot) {
            RiquadroGrafico *r = area()->Frm_Graf[size_t(slot)];
            return std::array<QWidget *, 6>{r->Graf_Battleplan, r->Hsc_Graf,  r->Cmd_GRaf_M,
                                            r->Cmd_GRaf_P,      r->Cmd_Sposta, r->Cmd_Coord};
        };
        auto &conf = stato().cicli.Conf_Grafici;
        for (int slot = 0; slot < 4; ++slot) {
            for (int s = 0; s < 4; ++s)
                for (QWidget *w : comandi(s))
                    QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
            conf[size_t(slot)].in_uso = 0;
            m_prova->op->Ridisegno().Disegna_Grafico(slot, conf[size_t(slot)].grado);
            for (int s = 0; s < 4; ++s)
                for (QWidget *w : comandi(s))
                    QVERIFY2(w->isVisible() == (s != slot), qPrintable(QStringLiteral("slot %1 out: %2").arg(slot).arg(w->objectName())));
            // Back in use: the layout shows its controls, its drawing the chart.
            conf[size_t(slot)].in_uso = 1;
            m_prova->op->Layout().Imposta_Layout_Ridotto();
            m_prova->op->Ridisegno().Disegna_Grafico(slot, conf[size_t(slot)].grado);
        }
    }

    // With n degrees ticked, one more goes to the lowest free slot; four disable the rest.
    void caselle_gradi_data()
    {
        QTest::addColumn<QList<int>>("togli");  // degrees cleared from the four 5, 6, 7, 8
        QTest::addColumn<int>("slot_nuovo");    // -1: no slot free
        QTest::newRow("quattro") << QList<int>{} << -1;
        QTest::newRow("tre") << QList<int>{7} << 2;
        QTest::newRow("due") << QList<int>{8, 6} << 1;
        QTest::newRow("uno") << QList<int>{6, 5, 8} << 0;
    }
    void caselle_gradi()
    {
        QFETCH(QList<int>, togli);
        QFETCH(int, slot_nuovo);
        QVERIFY(nuovo());
        ingrandisci(0);
        const auto &conf = stato().cicli.Conf_Grafici;
        QList<int> slotLiberi;
        for (int d : togli) {
            const int s = [&] {
                for (int i = 0; i < 4; ++i)
                    if (conf[size_t(i)].grado == d)
                        return i;
                return -1;
            }();
            QVERIFY(s >= 0);
            spunta(d);
            QCOMPARE(stato().shell.Layout_Grafico, QStringLiteral("RIDOTTO"));
            QCOMPARE(conf[size_t(s)].in_uso, 0);
            // Only the slot's use is saved; its degree stays.
            QCOMPARE(Grafici(stato(), s + 1), QStringLiteral("0"));
            QCOMPARE(Grafici(stato(), s + 5), QString::number(d));
            QVERIFY(!grafico(s)->isVisible());
            QVERIFY(!area()->Frm_Graf[size_t(s)]->Hsc_Graf->isVisible());
            slotLiberi << s;
        }
        int spuntati = 0;
        for (QCheckBox *c : cicli()->Chk_Battl) {
            spuntati += c->isChecked() ? 1 : 0;
            QCOMPARE(c->isEnabled(), c->isChecked() || togli.size() > 0);
        }
        QCOMPARE(spuntati, 4 - togli.size());

        // Ticking while one chart is enlarged returns to four charts first. Degree 11's
        // pointer mode is off, unlike the one its slot's chart kept from the degree before.
        QCheckBox *nuovo11 = cicli()->Chk_Battl[11];
        stato().cicli.Modo_Mouse_Grado[11] = 0;
        QVERIFY(slot_nuovo < 0 || grafico(slot_nuovo)->puntatore());
        ingrandisci(int(std::find_if(conf.begin(), conf.end(), [](const SlotGrafico &g) { return g.in_uso == 1; })
                        - conf.begin()));
        spunta(11);
        if (slot_nuovo < 0) {
            // A disabled box takes no click.
            QVERIFY(!nuovo11->isChecked());
            QCOMPARE(gradi_in_uso(), 4);
            QCOMPARE(stato().shell.Layout_Grafico, QStringLiteral("GRANDE"));
            return;
        }
        QCOMPARE(stato().shell.Layout_Grafico, QStringLiteral("RIDOTTO"));
        QCOMPARE(*std::min_element(slotLiberi.begin(), slotLiberi.end()), slot_nuovo);
        const size_t s = size_t(slot_nuovo);
        QCOMPARE(conf[s].in_uso, 1);
        QCOMPARE(conf[s].grado, 11);
        QCOMPARE(Grafici(stato(), int(s) + 1), QStringLiteral("1"));
        QCOMPARE(Grafici(stato(), int(s) + 5), QStringLiteral("11"));
        QVERIFY(grafico(slot_nuovo)->isVisible());
        QVERIFY(!grafico(slot_nuovo)->puntatore());
        QVERIFY(stato().cicli.Titoli_Grafici[s].endsWith(nomi_gradi::Titolo(11)));
        QVERIFY(area()->Frm_Graf[s]->Hsc_Graf->isVisible());
        QVERIFY(!area()->Frm_Graf[s]->Lbl_In_Caricamento->isVisible());
        QVERIFY(m_prova->form->isEnabled());
        for (QCheckBox *c : cicli()->Chk_Battl)
            QCOMPARE(c->isEnabled(), c->isChecked() || togli.size() > 1);

        // A 5-minute degree has no large duration step; a daily or hourly one has all six.
        ingrandisci(slot_nuovo);
        ControlliCiclo *k = controlli();
        QVERIFY(k->Cmd_Dur_M[2]->isHidden() && k->Cmd_Dur_P[2]->isHidden());
        QCOMPARE(k->Cmd_Dur_P[1]->y(), k->Cmd_Dur_P[0]->y());
        const QString durata = Archivio(stato(), Durata, 11);
        k->Regolazione().Cmd_Dur_Click(regolazione::PassoDurata::M3);
        QCOMPARE(Archivio(stato(), Durata, 11), durata);
        for (int i = 0; i < 4; ++i)
            if (conf[size_t(i)].in_uso == 1 && conf[size_t(i)].grado <= 5) {
                ingrandisci(i);
                QVERIFY(k->Cmd_Dur_M[2]->isVisible() && k->Cmd_Dur_P[2]->isVisible());
            }
    }

private:
    int gradi_in_uso() const
    {
        int n = 0;
        for (const SlotGrafico &s : stato().cicli.Conf_Grafici)
            n += s.in_uso == 1 ? 1 : 0;
        return n;
    }
};

QTEST_MAIN(ControlliCicloFinestraTest)
#include "ControlliCicloFinestraTest.moc"
