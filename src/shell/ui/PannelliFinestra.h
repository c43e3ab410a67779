#pragma once

// The chart panels' own buttons answered in the window: the picture button of
// each panel and the move button with the panel following the mouse over the
// chart frame until it is dropped into another quadrant of the grid. Also the
// reset of the window's pointer on its own surface.

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

struct Stato;
class AreaGrafici;
class QWidget;

class PannelliFinestra : public QObject {
    Q_OBJECT
public:
    // `finestra` is the main window: the pointer's owner and the dialogs' parent.
    PannelliFinestra(Stato &stato, AreaGrafici &area, QWidget *finestra);

    void Cmd_Foto_Click(int slot);
    void Cmd_Sposta_Click(int slot);
    void Frm_Graf_MouseDown(int slot, QPoint punto);
    void Frm_Battleplan_MouseMove(QPoint punto);
    void Form_MouseMove();

    // 0 when no panel is moving, slot + 1 while one is.
    int Pannello_Spostato() const { return m_pannelloSpostato; }

    // The save dialog: the chosen file, empty when cancelled. Unset, a file dialog
    // opens on the proposed name (native unless Dialogo_Nativo is false).
    std::function<QString(const QString &proposto)> Scegli_File;
    bool Dialogo_Nativo = true;
    // A picture or a grid arrangement that could not be saved. Unset: a message box.
    std::function<void(const QString &testo)> Errore;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    QString Dialogo_Salva(const QString &proposto);
    void Mostra_Errore(const QString &testo);

    Stato &m_stato;
    AreaGrafici &m_area;
    QWidget *m_finestra;
    int m_pannelloSpostato = 0;
    QPoint m_presa;
};
