#include "shell/ui/PannelloAvvio.h"

#include "platform/Schermo.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace finestra {

void Piazza(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(schermo::TwipsInPixel(left), schermo::TwipsInPixel(top), schermo::TwipsInPixel(width),
                   schermo::TwipsInPixel(height));
}

}  // namespace finestra

namespace {

template <typename T>
T *crea(QWidget *padre, const char *nome)
{
    T *w = new T(padre);
    w->setObjectName(QLatin1String(nome));
    return w;
}

QLabel *etichetta(QWidget *padre, const char *nome, const QString &testo)
{
    QLabel *l = crea<QLabel>(padre, nome);
    l->setText(testo);
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace

PannelloAvvio::PannelloAvvio(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frm_Avvio"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);

    Lbl_UserId = etichetta(this, "Lbl_UserId", QStringLiteral("UserId:"));
    Text_ID = crea<QLineEdit>(this, "Text_ID");
    Lbl_Password = etichetta(this, "Lbl_Password", QStringLiteral("Password:"));
    Text_Password = crea<QLineEdit>(this, "Text_Password");
    Text_Password->setEchoMode(QLineEdit::Password);
    Chk_Ricordami = crea<QCheckBox>(this, "Chk_Ricordami");
    Chk_Ricordami->setText(QStringLiteral("Ricordami"));
    Cmd_OnLine = crea<QPushButton>(this, "Cmd_OnLine");
    Cmd_OnLine->setText(QStringLiteral("Avvia OnLine"));
    Cmd_OffLine = crea<QPushButton>(this, "Cmd_OffLine");
    Cmd_OffLine->setText(QStringLiteral("Avvia Offline"));
    Lbl_Stato_Connessione = etichetta(this, "Lbl_Stato_Connessione", QStringLiteral("Stato Connessione:"));
    Lbl_Stato = etichetta(this, "Lbl_Stato", QString());
    QFont grassetto = Lbl_Stato->font();
    grassetto.setBold(true);
    Lbl_Stato->setFont(grassetto);
    Lbl_Avan = etichetta(this, "Lbl_Avan", QString());
    PB_Avvio_T = crea<QProgressBar>(this, "PB_Avvio_T");
    PB_Avvio_T->setTextVisible(true);
    Lbl_Relase = etichetta(this, "Lbl_Relase", QString());
    Lbl_Relase->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lbl_Link_0 = etichetta(this, "Lbl_Link_0", QString());

    finestra::Piazza(Lbl_UserId, 240, 390, 1200, 285);
    finestra::Piazza(Text_ID, 1440, 330, 3600, 345);
    finestra::Piazza(Lbl_Password, 240, 840, 1200, 285);
    finestra::Piazza(Text_Password, 1440, 780, 3600, 345);
    finestra::Piazza(Chk_Ricordami, 1440, 1230, 2400, 300);
    finestra::Piazza(Cmd_OnLine, 240, 1680, 2280, 450);
    finestra::Piazza(Cmd_OffLine, 2760, 1680, 2280, 450);
    finestra::Piazza(Lbl_Stato_Connessione, 240, 2340, 1920, 285);
    finestra::Piazza(Lbl_Stato, 2160, 2340, 2880, 285);
    finestra::Piazza(Lbl_Avan, 240, 2730, 4800, 285);
    finestra::Piazza(PB_Avvio_T, 240, 3030, 4800, 300);
    finestra::Piazza(Lbl_Link_0, 240, 3420, 3600, 255);
    finestra::Piazza(Lbl_Relase, 3960, 3420, 1080, 255);
    finestra::Piazza(this, 60, 50, Larghezza, Altezza);

    setTabOrder(Text_ID, Text_Password);
    setTabOrder(Text_Password, Chk_Ricordami);
    setTabOrder(Chk_Ricordami, Cmd_OnLine);
    setTabOrder(Cmd_OnLine, Cmd_OffLine);
    Text_ID->installEventFilter(this);
    Text_Password->installEventFilter(this);
}

bool PannelloAvvio::eventFilter(QObject *oggetto, QEvent *evento)
{
    if ((oggetto == Text_ID || oggetto == Text_Password) && evento->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent *>(evento)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
            emit Invio();
            return true;  // swallowed
        }
    }
    return QFrame::eventFilter(oggetto, evento);
}
