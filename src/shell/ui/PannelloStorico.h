#pragma once

// The history panel Frm_Storico's content: the tab control TabPage with one grid
// per timeframe (0 = 5 minutes, 1 = 15 minutes, 2 = 1 hour, 3 = 1 day).

#include "shell/FinestraLavoro.h"

#include <QWidget>
#include <array>

struct Stato;
class QFrame;
class QTabWidget;
class QTableView;

class PannelloStorico : public QObject {
    Q_OBJECT
public:
    // Builds the tab control inside `frame` (Frm_Storico).
    PannelloStorico(Stato &stato, QFrame *frame);

    QFrame *Frm_Storico;
    QTabWidget *TabPage;
    QTableView *Msf_Storico5m;
    QTableView *Msf_Storico15m;
    QTableView *Msf_Storico1h;
    QTableView *Msf_Storico1d;

    QTableView *Griglia(int tab) const;
    finestra::ModelloGrigliaStorico &Modello(int tab) { return *m_modelli[size_t(tab)]; }

    // Columns, rows and header of the four grids, once per run.
    void Prepara_Griglie();
    // Places the panel against the right edge of a window W x H twips (outer size),
    // selects `tab` and sizes its grid; shows the panel.
    void Imposta_Layout_Storico(int tab, double W, double H, double topBattleplan);
    void Carica_Griglie_Storico(int tab);
    // The tab strip in the colour scheme; the grids keep the platform's colours.
    void Colori_Schede(const QColor &fondo, const QColor &testo);

private:
    void Adatta_Schede();
    void Adatta_Griglia(int tab);

    Stato &m_stato;
    std::array<finestra::ModelloGrigliaStorico *, 4> m_modelli{};
    bool m_layoutInCorso = false;
    // Each grid's data columns as laid out (pixels), before the vertical bar takes its room.
    std::array<std::array<int, 3>, 4> m_colonne{};

    friend class FinestraOperativa;
};
