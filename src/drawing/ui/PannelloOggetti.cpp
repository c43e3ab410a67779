#include "drawing/ui/PannelloOggetti.h"

#include "cycle/StatoCicli.h"
#include "drawing/StrumentiGrafici.h"
#include "platform/Schermo.h"
#include "platform/StatoProgramma.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QProxyStyle>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>

namespace {

constexpr int Righe = 16;
constexpr double Top_Griglie = 600;
constexpr double Altezza_Riga = 280;

// An object waiting for its bars: listed in grey, with why it is not drawn and
// whether it may still come onto the chart.
const QColor Colore_In_Attesa(110, 110, 110);
const QString Nota_In_Attesa = QStringLiteral("In attesa: le barre dell'oggetto non sono sul grafico.");
const QString Nota_Non_Tornera = QStringLiteral(
    "Fuori dalle barre dello storico: non torner\u00E0 sul grafico. Eliminalo per liberare la posizione.");

void piazza(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(schermo::TwipsInPixel(left), schermo::TwipsInPixel(top), schermo::TwipsInPixel(width),
                   schermo::TwipsInPixel(height));
}

// The grids' widths were made for cells with narrow text margins: the platform's
// wider ones would cut the last digit of a five-figure price with two decimals.
class MarginiStretti : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metrica, const QStyleOption *opzione, const QWidget *widget) const override
    {
        // A cell's text margin is this plus one, each side.
        return metrica == PM_FocusFrameHMargin ? 1 : QProxyStyle::pixelMetric(metrica, opzione, widget);
    }
};

// Whether column `colonna` of `g` shows `testo` whole, as the grid paints a cell: its
// font, the style's text margin each side, the grid line, the text's fractional width.
bool intera(const QTableWidget *g, int colonna, const QString &testo)
{
    const int margine = g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1;
    const int spazio = g->columnWidth(colonna) - (g->showGrid() ? 1 : 0) - 2 * margine;
    return QFontMetricsF(g->font()).horizontalAdvance(testo) <= spazio;
}

QIcon iconaCancella()
{
    QPixmap p(12, 12);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QPen(QColor(200, 40, 40), 2));
    g.drawLine(2, 2, 10, 10);
    g.drawLine(10, 2, 2, 10);
    return QIcon(p);
}

}  // namespace

PannelloOggetti::PannelloOggetti(StatoStrumenti stato, AmbienteStrumenti &ambiente, QWidget *parent)
    : QFrame(parent), m_stato(stato), m_ambiente(ambiente)
{
    setObjectName(QStringLiteral("Frm_Ogg_Graf"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_stile = new MarginiStretti;
    auto *titolo = new QLabel(QStringLiteral(" Oggetti Grafico "), this);
    titolo->setTextFormat(Qt::PlainText);
    titolo->move(schermo::TwipsInPixel(100), 0);
    titolo->adjustSize();
    Cmd_Esci_Ogg_Graf = new QToolButton(this);
    Cmd_Esci_Ogg_Graf->setObjectName(QStringLiteral("Cmd_Esci_Ogg_Graf"));
    Cmd_Esci_Ogg_Graf->setText(QStringLiteral("Esci"));
    connect(Cmd_Esci_Ogg_Graf, &QToolButton::clicked, this, [this] { Cmd_Esci_Ogg_Graf_Click(); });
    // Escape closes the panel as "Esci" does, wherever the focus is in the window,
    // also when a small screen leaves "Esci" out of sight. The shortcut lives only
    // while the panel shows and its window is the active one: a modal window keeps
    // its own Escape, and the chart text box, which holds the window, keeps it too.
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, [this] {
        if (!m_stato.shell.Blocco_Aggiornamento)
            Cmd_Esci_Ogg_Graf_Click();
    });
    Msf_Linee = creaGriglia(QStringLiteral("Msf_Linee"), QStringLiteral("Cmd_Canc_Linee"), Cmd_Canc_Linee, &PannelloOggetti::Cmd_Canc_Linee_Click);
    Msf_Testi = creaGriglia(QStringLiteral("Msf_Testi"), QStringLiteral("Cmd_Canc_Testi"), Cmd_Canc_Testi, &PannelloOggetti::Cmd_Canc_Testi_Click);
    Msf_Dist = creaGriglia(QStringLiteral("Msf_Dist"), QStringLiteral("Cmd_Canc_Distanze"), Cmd_Canc_Distanze,
                           &PannelloOggetti::Cmd_Canc_Distanze_Click);
    // Owned after the grids, so it outlives them.
    m_stile->setParent(this);
    Imposta_Layout_Oggetti_Graf();
}

QTableWidget *PannelloOggetti::creaGriglia(const QString &nome, const QString &nomePulsanti, Pulsanti &pulsanti,
                                           void (PannelloOggetti::*cancella)(int))
{
    auto *g = new QTableWidget(this);
    g->setObjectName(nome);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    // The narrow spacer columns keep their width.
    g->horizontalHeader()->setMinimumSectionSize(0);
    g->verticalHeader()->setMinimumSectionSize(0);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setFocusPolicy(Qt::NoFocus);
    g->setWordWrap(false);
    g->setStyle(m_stile);
    const QIcon icona = iconaCancella();
    for (int i = 0; i < 15; ++i) {
        auto *b = new QToolButton(g);
        b->setObjectName(QStringLiteral("%1_%2").arg(nomePulsanti).arg(i));
        b->setIcon(icona);
        b->setAutoRaise(true);
        b->setEnabled(false);
        connect(b, &QToolButton::clicked, this, [this, cancella, i] { (this->*cancella)(i); });
        pulsanti[size_t(i)] = b;
    }
    return g;
}

// The grid's columns and rows, its merged header cells (created once: a fill only
// changes texts and grounds), and each delete button over column 1 of its row.
void PannelloOggetti::disponi(QTableWidget *g, Pulsanti &pulsanti, double top, double left, double width,
                             const std::vector<int> &larghezze, const std::vector<Intestazione> &intestazioni)
{
    g->clearSpans();
    g->setColumnCount(int(larghezze.size()));
    g->setRowCount(Righe);
    piazza(g, left, top, width, 4570);
    // Edges rounded from twips, not each width: the rounding of 16 rows or 12
    // columns would add up to more than the grid holds.
    const auto bordo = [](double twips) { return schermo::TwipsInPixel(twips); };
    double x = 0;
    for (size_t c = 0; c < larghezze.size(); ++c, x += larghezze[c - 1])
        g->setColumnWidth(int(c), bordo(x + larghezze[c]) - bordo(x));
    for (int r = 0; r < Righe; ++r) {
        g->setRowHeight(r, bordo((r + 1) * Altezza_Riga) - bordo(r * Altezza_Riga));
        for (int c = 0; c < g->columnCount(); ++c)
            if (!g->item(r, c))
                g->setItem(r, c, new QTableWidgetItem);
    }
    for (const Intestazione &i : intestazioni) {
        for (int c = i.da; c <= i.a; ++c)
            g->item(0, c)->setText(i.testo);
        if (i.a > i.da)
            g->setSpan(0, i.da, 1, i.a - i.da + 1);
    }
    // Each button lives in its row's cell, so it scrolls with the row it deletes and
    // is clipped away with it; a little of the cell's left stays clear.
    for (int i = 0; i < 15; ++i) {
        const QModelIndex indice = g->model()->index(i + 1, 1);
        QToolButton *b = pulsanti[size_t(i)];
        if (g->indexWidget(indice) && b->parentWidget() == g->indexWidget(indice))
            continue;
        auto *cella = new QWidget;
        auto *riga = new QHBoxLayout(cella);
        riga->setContentsMargins(schermo::TwipsInPixel(10), 0, 0, 0);
        riga->setSpacing(0);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        riga->addWidget(b);
        g->setIndexWidget(indice, cella);
    }
}

void PannelloOggetti::Imposta_Layout_Oggetti_Graf()
{
    hide();
    piazza(this, 1000, 1500, 17100, 5400);
    Cmd_Esci_Ogg_Graf->adjustSize();
    Cmd_Esci_Ogg_Graf->move(width() - Cmd_Esci_Ogg_Graf->width() - schermo::TwipsInPixel(200),
                            schermo::TwipsInPixel(175));
    // Each point's date, time and price share the width they had, each column at least
    // what its widest text needs in the controls' font, its cell margins and grid line
    // included, however the column's edges round to pixels: the time "12:00 PM" 53 px,
    // the price "20940,68" 51, the date "01/01/47" 48.
    disponi(Msf_Linee, Cmd_Canc_Linee, Top_Griglie, 200, 5170, {0, 300, 200, 730, 800, 770, 25, 730, 800, 770},
            {{1, 2, QStringLiteral(" ")},
             {3, 5, QStringLiteral("              Inizio Linea")},
             {7, 9, QStringLiteral("               Fine Linea")}});
    disponi(Msf_Testi, Cmd_Canc_Testi, Top_Griglie, 5600, 4830, {0, 300, 200, 730, 800, 770, 2000},
            {{1, 2, QStringLiteral(" ")}, {3, 6, QStringLiteral("                         Posizione Testi")}});
    disponi(Msf_Dist, Cmd_Canc_Distanze, Top_Griglie, 10700, 6190,
            {0, 300, 200, 730, 800, 770, 25, 730, 800, 770, 25, 1000},
            {{1, 2, QStringLiteral(" ")},
             {3, 5, QStringLiteral("           Inizio Distanze")},
             {7, 9, QStringLiteral("            Fine Distanze")},
             {11, 11, QStringLiteral("  Distanza")}});
}

// Every object row blank, on the grid's ground, its delete button off; the spacer
// columns in their colour from the header down.
void PannelloOggetti::svuota(QTableWidget *g, Pulsanti &pulsanti, const std::vector<int> &spaziatori)
{
    for (int r = 1; r < Righe; ++r) {
        for (int c = 0; c < g->columnCount(); ++c) {
            QTableWidgetItem *item = g->item(r, c);
            item->setText(QString());
            item->setData(Qt::BackgroundRole, QVariant());
            item->setData(Qt::ForegroundRole, QVariant());
            item->setToolTip(QString());
        }
    }
    for (QToolButton *b : pulsanti)
        b->setEnabled(false);
    const QColor spaziatore = schermo::ColoreWin(m_stato.cicli.Colori[84]);
    for (int c : spaziatori)
        for (int r = 0; r < Righe; ++r)
            g->item(r, c)->setBackground(spaziatore);
}

// Row r shows one object: its slot, the swatch of the colour the chart draws it in,
// and its cells from column 3, the spacers left alone. A cell's tooltip holds a text
// the cell cannot show whole (a trader's own, in capitals) and, for an object
// waiting for its bars, whether it may still come onto the chart.
void PannelloOggetti::riempiRiga(QTableWidget *g, int r, const std::vector<int> &spaziatori,
                                 const disegno::RigaOggetto &o)
{
    g->item(r, 0)->setText(QString::number(o.slot));
    const bool inTabella = o.colore >= 1 && o.colore < costanti::Num_Colori;
    g->item(r, 2)->setBackground(schermo::ColoreWin(m_stato.cicli.Colori[size_t(inTabella ? o.colore : 81)]));
    for (int c = 3; c - 3 < o.celle.size() && c < g->columnCount(); ++c) {
        if (std::count(spaziatori.begin(), spaziatori.end(), c))
            continue;
        const QString &testo = o.celle[c - 3];
        QTableWidgetItem *item = g->item(r, c);
        item->setText(testo);
        QStringList nota;
        if (!intera(g, c, testo))
            nota << testo;
        if (o.in_attesa) {
            item->setForeground(Colore_In_Attesa);
            nota << (o.non_tornera ? Nota_Non_Tornera : Nota_In_Attesa);
        }
        item->setToolTip(nota.join(QLatin1Char('\n')));
    }
}

void PannelloOggetti::riempi(QTableWidget *g, Pulsanti &pulsanti, const std::vector<int> &spaziatori,
                            const std::vector<disegno::RigaOggetto> &righe)
{
    g->setUpdatesEnabled(false);
    svuota(g, pulsanti, spaziatori);
    for (size_t i = 0; i < righe.size() && i < pulsanti.size(); ++i) {
        riempiRiga(g, int(i) + 1, spaziatori, righe[i]);
        pulsanti[i]->setEnabled(true);
    }
    g->setUpdatesEnabled(true);
}

void PannelloOggetti::Aggiorna_Griglia_Linee()
{
    const StatoStrumenti &s = m_stato;
    riempi(Msf_Linee, Cmd_Canc_Linee, {6}, disegno::Righe_Linee(s.shell, s.mercato, s.cicli, s.disegno, m_grado));
}

void PannelloOggetti::Aggiorna_Griglia_Testi()
{
    const StatoStrumenti &s = m_stato;
    riempi(Msf_Testi, Cmd_Canc_Testi, {}, disegno::Righe_Testi(s.shell, s.mercato, s.cicli, s.disegno, m_grado));
}

void PannelloOggetti::Aggiorna_Griglia_Distanze()
{
    const StatoStrumenti &s = m_stato;
    riempi(Msf_Dist, Cmd_Canc_Distanze, {6, 10},
           disegno::Righe_Distanze(s.shell, s.mercato, s.cicli, s.disegno, m_grado));
}

void PannelloOggetti::Cmd_Oggetti_Graf_Click()
{
    if (isVisible())
        return;
    emit Aperto(true);
    m_grado = m_stato.cicli.Grado_Corrente;
    Aggiorna_Griglia_Linee();
    Aggiorna_Griglia_Testi();
    Aggiorna_Griglia_Distanze();
    show();
    raise();
}

void PannelloOggetti::Cmd_Esci_Ogg_Graf_Click()
{
    emit Aperto(false);
    hide();
    m_ambiente.Ridisegna_Grafico_Corrente();
}

// The row's slot is freed and written at once, and an object waiting for its bars
// waits no more; a slot the archive would not free stays as it was, listed (and
// drawn, or waiting).
template <typename T>
void PannelloOggetti::cancella(QTableWidget *g, int indice, SlotOggetti<T> &tabella,
                               SlotOggetti<::RigaOggetto> &inAttesa,
                               bool (AmbienteStrumenti::*salva)(int, int, QString &),
                               void (PannelloOggetti::*aggiorna)(), const QString &nonCancellato)
{
    if (indice < 0 || indice > 14 || m_grado < 0 || m_grado > costanti::Max_Grado)
        return;
    bool ok = false;
    const int slot = g->item(indice + 1, 0)->text().toInt(&ok);
    if (!ok || slot < 1 || slot > 15)
        return;
    T &oggetto = tabella[size_t(m_grado)][size_t(slot)];
    const T prima = oggetto;
    oggetto = T{};
    QString errore;
    const bool salvato = (m_ambiente.*salva)(m_grado, slot, errore);
    if (!salvato)
        oggetto = prima;
    else
        inAttesa[size_t(m_grado)][size_t(slot)].clear();
    (this->*aggiorna)();
    if (!salvato)
        m_ambiente.Mostra_Errore(nonCancellato + QLatin1Char(' ') + errore);
}

void PannelloOggetti::Cmd_Canc_Linee_Click(int indice)
{
    cancella(Msf_Linee, indice, m_stato.disegno.Linee, m_stato.disegno.Linee_In_Attesa,
             &AmbienteStrumenti::Salva_Linea, &PannelloOggetti::Aggiorna_Griglia_Linee,
             QStringLiteral("La linea non è stata cancellata."));
}

void PannelloOggetti::Cmd_Canc_Testi_Click(int indice)
{
    cancella(Msf_Testi, indice, m_stato.disegno.Testi, m_stato.disegno.Testi_In_Attesa,
             &AmbienteStrumenti::Salva_Testo, &PannelloOggetti::Aggiorna_Griglia_Testi,
             QStringLiteral("Il testo non è stato cancellato."));
}

void PannelloOggetti::Cmd_Canc_Distanze_Click(int indice)
{
    cancella(Msf_Dist, indice, m_stato.disegno.Distanze, m_stato.disegno.Distanze_In_Attesa,
             &AmbienteStrumenti::Salva_Distanza, &PannelloOggetti::Aggiorna_Griglia_Distanze,
             QStringLiteral("La distanza non è stata cancellata."));
}
