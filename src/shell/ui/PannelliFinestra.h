#pragma once

// The chart panels' own buttons answered in the window: the picture button of
// each panel and the move button with the panel following the mouse over the
// chart frame until it is dropped into another quadrant of the grid. Also the
// reset of the window's pointer on its own surface.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <memory>

struct Stato;
class AreaGrafici;
class QWidget;

// What the panels ask of the user.
class DialoghiPannelli {
public:
    virtual ~DialoghiPannelli() = default;
    // The file to save a picture to, proposed `proposto`; empty when cancelled.
    virtual QString Scegli_File(const QString &proposto) = 0;
    // A picture or a grid arrangement that could not be saved.
    virtual void Errore(const QString &testo) = 0;
};

// The window's own: a save dialog on the proposed name (the platform's unless
// `nativo` is false) and a message box, both over `finestra`.
class DialoghiPannelliUtente : public DialoghiPannelli {
public:
    explicit DialoghiPannelliUtente(QWidget *finestra, bool nativo = true) : m_finestra(finestra), m_nativo(nativo) {}
    QString Scegli_File(const QString &proposto) override;
    void Errore(const QString &testo) override;

private:
    QPointer<QWidget> m_finestra;
    bool m_nativo;
};

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

    // Until given (or given none): DialoghiPannelliUtente over the main window.
    void Imposta_Dialoghi(std::unique_ptr<DialoghiPannelli> dialoghi);

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    Stato &m_stato;
    AreaGrafici &m_area;
    QWidget *m_finestra;
    int m_pannelloSpostato = 0;
    QPoint m_presa;
    std::unique_ptr<DialoghiPannelli> m_dialoghi;
};
