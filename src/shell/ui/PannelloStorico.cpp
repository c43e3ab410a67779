#include "shell/ui/PannelloStorico.h"

#include "Stato.h"
#include "platform/Schermo.h"
#include "shell/LayoutGrafici.h"
#include "shell/ui/PannelloAvvio.h"

#include <QFrame>
#include <QHeaderView>
#include <QTabWidget>
#include <QTabBar>
#include <QTableView>
#include <algorithm>

PannelloStorico::PannelloStorico(Stato &stato, QFrame *frame) : QObject(frame), Frm_Storico(frame), m_stato(stato)
{
    setObjectName(QStringLiteral("PannelloStorico"));
    TabPage = new QTabWidget(frame);
    TabPage->setObjectName(QStringLiteral("TabPage"));
    // The panel's widths were sized for a small grid font: dates, times and
    // prices must fit their columns.
    QFont piccolo = TabPage->font();
    piccolo.setPointSizeF(7.5);
    TabPage->setFont(piccolo);
    TabPage->setUsesScrollButtons(false);
    TabPage->tabBar()->setExpanding(true);
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
    Piazza(Frm_Storico, l.Frm_Storico.Left, l.Frm_Storico.Top, l.Frm_Storico.Width, l.Frm_Storico.Height);
    if (l.tab_valida) {
        TabPage->setCurrentIndex(tab);
        Piazza(TabPage, l.TabPage.Left, l.TabPage.Top, l.TabPage.Width, l.TabPage.Height);
        QTableView *g = Griglia(tab);
        // The grid counts from the tab control's corner; the page sits below the tab strip.
        const int strip = TabPage->tabBar()->sizeHint().height();
        g->setGeometry(schermo::TwipsInPixel(l.Griglia.Left),
                       std::max(0, schermo::TwipsInPixel(l.Griglia.Top) - strip),
                       schermo::TwipsInPixel(l.Griglia.Width), schermo::TwipsInPixel(l.Griglia.Height));
        for (int c = 0; c < 3; ++c)
            g->setColumnWidth(c + 1, schermo::TwipsInPixel(l.Colonne[size_t(c)]));
    }
    Frm_Storico->show();
    m_layoutInCorso = false;
}

void PannelloStorico::Carica_Griglie_Storico(int tab)
{
    if (tab < 0 || tab > 3)
        return;
    m_modelli[size_t(tab)]->Carica(m_stato, tab);
}
