#include "shell/ui/PannelliFinestra.h"

#include "Stato.h"
#include "cycle/ImmagineGrafico.h"
#include "cycle/SalvaParametro.h"
#include "shell/SpostaPannello.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

PannelliFinestra::PannelliFinestra(Stato &stato, AreaGrafici &area, QWidget *finestra)
    : QObject(&area), m_stato(stato), m_area(area), m_finestra(finestra),
      m_dialoghi(std::make_unique<DialoghiPannelliUtente>(finestra))
{
    setObjectName(QStringLiteral("PannelliFinestra"));
    for (RiquadroGrafico *r : m_area.Frm_Graf) {
        const int slot = r->slot();
        connect(r->Cmd_Foto, &QPushButton::clicked, this, [this, slot] { Cmd_Foto_Click(slot); });
        connect(r->Cmd_Sposta, &QPushButton::clicked, this, [this, slot] { Cmd_Sposta_Click(slot); });
        r->installEventFilter(this);
    }
    // Moves over the frame reach it without a button held, so the panel can follow.
    m_area.setMouseTracking(true);
    m_area.installEventFilter(this);
    if (m_finestra) {
        m_finestra->setMouseTracking(true);
        m_finestra->installEventFilter(this);
    }
}

void PannelliFinestra::Imposta_Dialoghi(std::unique_ptr<DialoghiPannelli> dialoghi)
{
    m_dialoghi = dialoghi ? std::move(dialoghi) : std::make_unique<DialoghiPannelliUtente>(m_finestra);
}

// ---------------------------------------------------------------- picture

void PannelliFinestra::Cmd_Foto_Click(int slot)
{
    // The folder the proposed name points into exists before the dialog opens.
    QDir().mkpath(ciclo::Cartella_Immagini(m_stato.shell));
    const ciclo::EsitoImmagine e = ciclo::Salva_Immagine_Grafico(
        m_stato.shell, m_stato.cicli, m_area, slot, QDateTime::currentDateTime(),
        [this](const QString &proposto) { return m_dialoghi->Scegli_File(proposto); });
    if (!e.errore.isEmpty())
        m_dialoghi->Errore(e.errore);
}

QString DialoghiPannelliUtente::Scegli_File(const QString &proposto)
{
    QFileDialog dialogo(m_finestra, QString(), QDir::toNativeSeparators(proposto),
                        QStringLiteral("Pictures (*.bmp);;All files (*.*)"));
    dialogo.setObjectName(QStringLiteral("CommonDialog1"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setOption(QFileDialog::DontUseNativeDialog, !m_nativo);
    // Whatever name is typed, the file holds a BMP picture and its name ends so.
    dialogo.setLabelText(QFileDialog::FileType, QStringLiteral("Salvata come BMP (.bmp):"));
    dialogo.selectFile(proposto);
    if (dialogo.exec() != QDialog::Accepted)
        return {};
    const QStringList scelti = dialogo.selectedFiles();
    return scelti.isEmpty() ? QString() : scelti.first();
}

void DialoghiPannelliUtente::Errore(const QString &testo)
{
    finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), testo, {}, m_finestra);
}

// ---------------------------------------------------------------- panel move

void PannelliFinestra::Cmd_Sposta_Click(int slot)
{
    if (slot < 0 || slot >= costanti::Num_Slot)
        return;
    m_area.Text_Coord_Graf->hide();
    if (m_pannelloSpostato == 0) {
        m_pannelloSpostato = slot + 1;
        RiquadroGrafico *mosso = m_area.Frm_Graf[size_t(slot)];
        mosso->raise();
        if (m_finestra)
            m_finestra->setCursor(Qt::SizeAllCursor);
        for (RiquadroGrafico *r : m_area.Frm_Graf) {
            r->setEnabled(false);
            r->Pic_Graf->setEnabled(false);
        }
        mosso->setEnabled(true);
        // The other panels are disabled and would swallow the moves over them: the
        // frame takes every mouse event until the drop.
        m_area.grabMouse();
        return;
    }
    // Only the moving panel's button can end the move; the others are disabled.
    const int s = m_pannelloSpostato - 1;
    m_area.releaseMouse();
    if (m_finestra)
        m_finestra->unsetCursor();
    for (RiquadroGrafico *r : m_area.Frm_Graf) {
        r->setEnabled(true);
        r->Pic_Graf->setEnabled(true);
    }
    const QRect p = m_area.Frm_Graf[size_t(s)]->geometry();
    const int posizione = layout::Quadrante(p.top(), p.left(), m_area.height(), m_area.width());
    const auto prima = m_stato.cicli.Conf_Grafici;
    layout::Sposta_Pannello(m_stato.cicli.Conf_Grafici, s, posizione);
    m_pannelloSpostato = 0;
    QString errore;
    const bool salvato = ciclo::Salva_Parametro(m_stato.shell, m_stato.archivio, m_stato.cicli,
                                                archivio::Codice_Modifica::Posizioni_Slot, 0, &errore);
    if (!salvato)
        m_stato.cicli.Conf_Grafici = prima;  // the panels go back where the archive has them
    m_area.Imposta_Layout_Ridotto();
    if (!salvato)
        m_dialoghi->Errore(errore);
}

void PannelliFinestra::Frm_Graf_MouseDown(int, QPoint punto) { m_presa = punto; }

void PannelliFinestra::Frm_Battleplan_MouseMove(QPoint punto)
{
    if (m_pannelloSpostato == 0)
        return;
    if (m_finestra)
        m_finestra->setCursor(Qt::SizeAllCursor);
    RiquadroGrafico *r = m_area.Frm_Graf[size_t(m_pannelloSpostato - 1)];
    const QRect g = r->geometry();
    const auto nuovo =
        layout::Segui_Mouse(punto.x(), punto.y(), g.top(), g.left(), g.width(), g.height(), m_presa.x(), m_presa.y());
    if (nuovo)
        r->move(int(nuovo->x), int(nuovo->y));
}

void PannelliFinestra::Form_MouseMove()
{
    if (m_finestra)
        m_finestra->unsetCursor();
}

bool PannelliFinestra::eventFilter(QObject *oggetto, QEvent *evento)
{
    const QEvent::Type tipo = evento->type();
    // A modal window (a message, the exit question) takes the mouse while it is
    // open: the move lets go of it and takes it back afterwards.
    if (oggetto == &m_area && m_pannelloSpostato != 0) {
        if (tipo == QEvent::WindowBlocked)
            m_area.releaseMouse();
        else if (tipo == QEvent::WindowUnblocked && m_area.isVisible())
            m_area.grabMouse();
    }
    if (tipo != QEvent::MouseMove && tipo != QEvent::MouseButtonPress && tipo != QEvent::MouseButtonRelease)
        return QObject::eventFilter(oggetto, evento);
    if (tipo == QEvent::MouseButtonRelease)
        return oggetto == &m_area && m_pannelloSpostato != 0;
    const QPoint punto = static_cast<QMouseEvent *>(evento)->position().toPoint();
    if (oggetto == &m_area && tipo == QEvent::MouseButtonPress && m_pannelloSpostato != 0) {
        // While the frame holds the mouse, a press on the moving panel is the
        // panel's: its move button ends the move, elsewhere it takes the grab point.
        RiquadroGrafico *r = m_area.Frm_Graf[size_t(m_pannelloSpostato - 1)];
        const QPoint nelPannello = punto - r->pos();
        if (r->Cmd_Sposta->geometry().contains(nelPannello))
            Cmd_Sposta_Click(r->slot());
        else if (r->rect().contains(nelPannello))
            Frm_Graf_MouseDown(r->slot(), nelPannello);
        return true;
    }
    if (oggetto == &m_area && tipo == QEvent::MouseMove) {
        Frm_Battleplan_MouseMove(punto);
    } else if (oggetto == m_finestra && tipo == QEvent::MouseMove) {
        // Only the window's own surface, not a control the move passed through.
        if (!m_finestra->childAt(punto))
            Form_MouseMove();
    } else if (tipo == QEvent::MouseButtonPress) {
        for (RiquadroGrafico *r : m_area.Frm_Graf)
            if (oggetto == r)
                Frm_Graf_MouseDown(r->slot(), punto);
    }
    return QObject::eventFilter(oggetto, evento);
}
