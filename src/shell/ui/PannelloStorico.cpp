#include "shell/ui/PannelloStorico.h"

#include "Stato.h"
#include "platform/Schermo.h"
#include "shell/LayoutGrafici.h"
#include "shell/ui/PannelloAvvio.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTabWidget>
#include <QTabBar>
#include <QTableView>
#include <algorithm>

namespace {

// The panel's widths were made for tabs and cells with narrow margins: the
// platform's wider ones would cut "1 Giorno" off the tab strip and whole times
// out of their column. Sizes and painting both read these margins.
class StileCompatto : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metrica, const QStyleOption *opzione, const QWidget *widget) const override
    {
        switch (metrica) {
        case PM_TabBarTabHSpace: return 8;       // both sides of a tab's caption together
        case PM_FocusFrameHMargin: return 1;     // a cell's text margin is this plus one, each side
        default: return QProxyStyle::pixelMetric(metrica, opzione, widget);
        }
    }
};

// Narrower letters, step by step, where the platform's font is too wide for the
// panel's sizes.
constexpr int Larghezze_Lettere[] = {100, 90, 80, 70, 60};

}  // namespace

PannelloStorico::PannelloStorico(Stato &stato, QFrame *frame) : QObject(frame), Frm_Storico(frame), m_stato(stato)
{
    setObjectName(QStringLiteral("PannelloStorico"));
    TabPage = new QTabWidget(frame);
    TabPage->setObjectName(QStringLiteral("TabPage"));
    // Owned by the frame after the tab control, so it outlives the widgets using it.
    auto *stile = new StileCompatto;
    stile->setParent(frame);
    // A small font, as the panel's widths were sized for.
    QFont piccolo = TabPage->font();
    piccolo.setPointSizeF(7.5);
    TabPage->setFont(piccolo);
    TabPage->setUsesScrollButtons(false);
    TabPage->tabBar()->setExpanding(true);
    TabPage->tabBar()->setElideMode(Qt::ElideNone);
    TabPage->tabBar()->setStyle(stile);
    const char *nomi[4] = {"Msf_Storico5m", "Msf_Storico15m", "Msf_Storico1h", "Msf_Storico1d"};
    const char *schede[4] = {"5 min.", "15 min.", "1 ora", "1 Giorno"};
    QTableView *griglie[4];
    for (int t = 0; t < 4; ++t) {
        auto *pagina = new QWidget;
        auto *g = new QTableView(pagina);
        g->setObjectName(QLatin1String(nomi[t]));
        m_modelli[size_t(t)] = new finestra::ModelloGrigliaStorico(g);
        g->setModel(m_modelli[size_t(t)]);
        g->verticalHeader()->hide();
        g->verticalHeader()->setDefaultSectionSize(schermo::TwipsInPixel(225));
        g->horizontalHeader()->setMinimumSectionSize(0);
        g->setSelectionMode(QAbstractItemView::SingleSelection);
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
        g->setWordWrap(false);
        g->setStyle(stile);
        // Every colour set, so none is taken from the scheme of the frames around.
        QPalette piattaforma = QApplication::palette();
        for (int gruppo = 0; gruppo < QPalette::NColorGroups; ++gruppo)
            for (int ruolo = 0; ruolo < QPalette::NColorRoles; ++ruolo)
                piattaforma.setColor(QPalette::ColorGroup(gruppo), QPalette::ColorRole(ruolo),
                                     piattaforma.color(QPalette::ColorGroup(gruppo), QPalette::ColorRole(ruolo)));
        g->setPalette(piattaforma);
        griglie[t] = g;
        TabPage->addTab(pagina, QString::fromUtf8(schede[t]));
    }
    Msf_Storico5m = griglie[0];
    Msf_Storico15m = griglie[1];
    Msf_Storico1h = griglie[2];
    Msf_Storico1d = griglie[3];

    // A tab chosen by the user gets its layout and its rows, as the panel does.
    connect(TabPage, &QTabWidget::currentChanged, this, [this](int tab) {
        if (m_layoutInCorso || !Frm_Storico->isVisible())
            return;
        QWidget *finestra = Frm_Storico->window();
        Imposta_Layout_Storico(tab, schermo::PixelInTwips(finestra->width()),
                               schermo::PixelInTwips(finestra->height()),
                               schermo::PixelInTwips(Frm_Storico->y()));
        Carica_Griglie_Storico(tab);
    });
}

QTableView *PannelloStorico::Griglia(int tab) const
{
    switch (tab) {
    case 0: return Msf_Storico5m;
    case 1: return Msf_Storico15m;
    case 2: return Msf_Storico1h;
    case 3: return Msf_Storico1d;
    default: return nullptr;
    }
}

void PannelloStorico::Prepara_Griglie()
{
    for (int t = 0; t < 4; ++t) {
        m_modelli[size_t(t)]->Imposta_Righe(finestra::Barre_Tab(t));
        Griglia(t)->setColumnWidth(0, 0);
        Griglia(t)->setColumnHidden(0, true);
    }
}

void PannelloStorico::Imposta_Layout_Storico(int tab, double W, double H, double topBattleplan)
{
    m_layoutInCorso = true;
    Frm_Storico->hide();
    const layout::LayoutStorico l = layout::Layout_Storico(W, H, topBattleplan, m_stato.shell.Formato_Locale, tab);
    finestra::Piazza(Frm_Storico, l.Frm_Storico.Left, l.Frm_Storico.Top, l.Frm_Storico.Width, l.Frm_Storico.Height);
    if (l.tab_valida) {
        TabPage->setCurrentIndex(tab);
        finestra::Piazza(TabPage, l.TabPage.Left, l.TabPage.Top, l.TabPage.Width, l.TabPage.Height);
        Adatta_Schede();
        QTableView *g = Griglia(tab);
        // The grid counts from the tab control's corner; the page sits below the tab strip.
        const int strip = TabPage->tabBar()->sizeHint().height();
        g->setGeometry(schermo::TwipsInPixel(l.Griglia.Left),
                       std::max(0, schermo::TwipsInPixel(l.Griglia.Top) - strip),
                       schermo::TwipsInPixel(l.Griglia.Width), schermo::TwipsInPixel(l.Griglia.Height));
        for (size_t c = 0; c < 3; ++c)
            m_colonne[size_t(tab)][c] = schermo::TwipsInPixel(l.Colonne[c]);
    }
    Frm_Storico->show();
    QTableView *g = Griglia(tab);
    const QWidget *pagina = g ? g->parentWidget() : nullptr;
    if (l.tab_valida && pagina && pagina->isVisible()) {
        // The page lies inside the tab control's border, which the grid's design
        // size covers: the grid ends at the page's edge (known once shown), so its
        // last row and its scroll bars stay whole.
        g->resize(std::min(g->width(), pagina->width() - g->x()), std::min(g->height(), pagina->height() - g->y()));
    }
    if (l.tab_valida)
        Adatta_Griglia(tab);
    m_layoutInCorso = false;
}

void PannelloStorico::Carica_Griglie_Storico(int tab)
{
    if (tab < 0 || tab > 3)
        return;
    m_modelli[size_t(tab)]->Carica(m_stato, tab);
    Adatta_Griglia(tab);
}

void PannelloStorico::Colori_Schede(const QColor &fondo, const QColor &testo)
{
    // The tabs' face is painted with the button colour: the chosen tab's caption
    // is thus in the scheme's text on the scheme's ground, never white on white.
    QPalette p = TabPage->palette();
    for (QPalette::ColorRole r : {QPalette::Window, QPalette::Button})
        p.setColor(r, fondo);
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::ButtonText})
        p.setColor(r, testo);
    TabPage->setPalette(p);
}

void PannelloStorico::Adatta_Schede()
{
    // The four captions whole in the tab control's width.
    QTabBar *barra = TabPage->tabBar();
    QFont f = TabPage->font();
    for (int larghezza : Larghezze_Lettere) {
        f.setStretch(larghezza);
        barra->setFont(f);
        if (barra->sizeHint().width() <= TabPage->width())
            return;
    }
}

void PannelloStorico::Adatta_Griglia(int tab)
{
    // Dates, times and prices whole in their columns, and the columns clear of the
    // vertical scroll bar: its room comes from what the texts leave free, then
    // from narrower letters. Only texts wider than the view scroll sideways.
    QTableView *g = Griglia(tab);
    if (!g)
        return;
    const QAbstractItemView *vista = g;
    std::array<int, 3> progetto = m_colonne[size_t(tab)];
    if (progetto == std::array<int, 3>{})
        for (size_t c = 0; c < 3; ++c)
            progetto[c] = g->columnWidth(int(c) + 1);
    const QSize massima = g->maximumViewportSize();
    const bool barra = g->verticalHeader()->length() > massima.height();
    const int spazio = massima.width() - (barra ? g->verticalScrollBar()->sizeHint().width() : 0);
    std::array<int, 3> larghezze = progetto;
    QFont f = TabPage->font();
    for (int larghezza : Larghezze_Lettere) {
        f.setStretch(larghezza);
        g->setFont(f);
        std::array<int, 3> testi{};
        for (size_t c = 0; c < 3; ++c)
            testi[c] = vista->sizeHintForColumn(int(c) + 1);
        larghezze = layout::Colonne_Storico_Nello_Spazio(progetto, testi, spazio);
        bool entra = larghezze[0] + larghezze[1] + larghezze[2] <= spazio;
        for (size_t c = 0; c < 3; ++c)
            entra = entra && testi[c] <= larghezze[c];
        if (entra)
            break;
    }
    for (size_t c = 0; c < 3; ++c)
        g->setColumnWidth(int(c) + 1, larghezze[c]);
}
