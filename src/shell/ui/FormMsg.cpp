#include "shell/ui/FormMsg.h"

#include "platform/Schermo.h"
#include "shell/ui/PannelloAvvio.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>

namespace {

// The two pictures: an exclamation mark on a yellow disc over gold, a question
// mark on a blue disc over sky blue.
QPixmap figura(bool domanda, int lato)
{
    QPixmap pm(lato, lato);
    pm.fill(domanda ? QColor(0, 191, 255) : QColor(255, 215, 0));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor disco = domanda ? QColor(30, 80, 200) : QColor(255, 240, 60);
    p.setPen(QPen(domanda ? QColor(10, 40, 120) : QColor(160, 110, 0), 2));
    p.setBrush(disco);
    const int margine = lato / 10;
    p.drawEllipse(QRect(margine, margine, lato - 2 * margine, lato - 2 * margine));
    QFont f = schermo::Carattere(8.25, true);
    f.setPixelSize(lato * 3 / 5);
    p.setFont(f);
    p.setPen(domanda ? Qt::white : Qt::black);
    p.drawText(pm.rect(), Qt::AlignCenter, domanda ? QStringLiteral("?") : QStringLiteral("!"));
    return pm;
}

QPushButton *bottone(QWidget *padre, const char *nome, const QString &testo)
{
    auto *b = new QPushButton(testo, padre);
    b->setObjectName(QLatin1String(nome));
    b->setFont(schermo::Carattere(9, true));
    // A white border marks the button that Enter and Space would press.
    b->setStyleSheet(QStringLiteral("QPushButton { color: white; background-color: #34506e; border: 1px solid #1c2c3e;"
                                    " border-radius: 3px; } QPushButton:pressed { background-color: #1f3247; }"
                                    " QPushButton:focus { border: 2px solid white; }"));
    // Enter, like Space, presses the button that has the focus.
    b->setAutoDefault(true);
    finestra::Piazza(b, 0, 120, 1215, 375);
    return b;
}

}  // namespace

FormMsg::FormMsg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_Msg"));
    setFont(schermo::FontControlli());  // a window of its own inherits no font from its parent
    // No caption: a frame without a title bar, so the window system shows no
    // name of its own there either.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint);
    setWindowTitle(QString());
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(schermo::TwipsInPixel(Larghezza), schermo::TwipsInPixel(Altezza));
    setAutoFillBackground(true);

    Text_Msg = new QPlainTextEdit(this);
    Text_Msg->setObjectName(QStringLiteral("Text_Msg"));
    Text_Msg->setReadOnly(true);
    Text_Msg->setFocusPolicy(Qt::NoFocus);
    Text_Msg->setFrameShape(QFrame::NoFrame);
    Text_Msg->setFont(schermo::Carattere(8.25, true));
    finestra::Piazza(Text_Msg, 1560, 120, 3975, Altezza_Testo);

    const int lato = schermo::TwipsInPixel(1095);
    Pic1 = new QLabel(this);
    Pic1->setObjectName(QStringLiteral("Pic1"));
    Pic1->setPixmap(figura(false, lato));
    finestra::Piazza(Pic1, 300, 300, 1095, 1095);
    Pic2 = new QLabel(this);
    Pic2->setObjectName(QStringLiteral("Pic2"));
    Pic2->setPixmap(figura(true, lato));
    finestra::Piazza(Pic2, 300, 300, 1095, 1095);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette striscia = Picture1->palette();
    striscia.setColor(QPalette::Window, QColor(64, 64, 64));
    Picture1->setPalette(striscia);
    finestra::Piazza(Picture1, 0, Top_Bottoni, 6615, 1095);

    Cmd_Ok = bottone(Picture1, "Cmd_Ok", QStringLiteral("OK"));
    Cmd_Si = bottone(Picture1, "Cmd_Si", QStringLiteral("SI"));
    Cmd_No = bottone(Picture1, "Cmd_No", QStringLiteral("NO"));
    connect(Cmd_Ok, &QPushButton::clicked, this, [this] { emit Premuto(messaggi::Bottone::Ok); });
    connect(Cmd_Si, &QPushButton::clicked, this, [this] { emit Premuto(messaggi::Bottone::Si); });
    connect(Cmd_No, &QPushButton::clicked, this, [this] { emit Premuto(messaggi::Bottone::No); });
}

void FormMsg::Prepara(const messaggi::Preparazione &p)
{
    m_tipo = p.tipo;
    for (QWidget *w : {static_cast<QWidget *>(Cmd_Ok), static_cast<QWidget *>(Cmd_No),
                       static_cast<QWidget *>(Cmd_Si), static_cast<QWidget *>(Pic1), static_cast<QWidget *>(Pic2)})
        w->hide();
    const QColor colore = schermo::ColoreWin(p.colore);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colore);
    setPalette(pal);
    QPalette testo = Text_Msg->palette();
    testo.setColor(QPalette::Base, colore);
    testo.setColor(QPalette::Text, Qt::black);
    Text_Msg->setPalette(testo);
    QLabel *pic = p.domanda ? Pic2 : Pic1;
    pic->setAutoFillBackground(true);
    QPalette pp = pic->palette();
    pp.setColor(QPalette::Window, colore);
    pic->setPalette(pp);
    finestra::Piazza(pic, 300, 300, 1095, 1095);
    pic->show();
    const auto mostra = [](QPushButton *b, int left) {
        b->move(schermo::TwipsInPixel(left), b->y());
        b->show();
    };
    if (p.si)
        mostra(Cmd_Si, p.leftSi);
    if (p.no)
        mostra(Cmd_No, p.leftNo);
    if (p.ok)
        mostra(Cmd_Ok, p.leftOk);
    // Server texts are shown as they are, never interpreted.
    Text_Msg->setPlainText(p.testo);
    Adatta_Al_Testo();
}

// The design size holds the program's own texts in the face it carries. A longer text, or
// a wider face, makes the box and the window grow downwards by what its lines need, the
// button strip with them, as far as the screen allows; only past that does the box scroll.
void FormMsg::Adatta_Al_Testo()
{
    // The box's lines as it lays them out: its document's options, the whole box wide
    // (no frame, and no scroll bar while the text fits).
    QTextDocument *documento = Text_Msg->document();
    const qreal margine = documento->documentMargin();
    qreal alto = 2 * margine;
    for (QTextBlock b = documento->begin(); b.isValid(); b = b.next()) {
        QTextLayout righe(b.text(), Text_Msg->font());
        righe.setTextOption(documento->defaultTextOption());
        righe.beginLayout();
        for (QTextLine r = righe.createLine(); r.isValid(); r = righe.createLine()) {
            r.setLeadingIncluded(true);
            r.setLineWidth(Text_Msg->width() - 2 * margine);
            alto += r.height();
        }
        righe.endLayout();
    }
    const int altezza = schermo::TwipsInPixel(Altezza);
    // The box scrolls unless a pixel is left below its last line.
    const int serve = std::max(0, qCeil(alto) + 1 - schermo::TwipsInPixel(Altezza_Testo));
    int crescita = serve;
    if (const QScreen *s = screen())
        crescita = std::min(crescita, std::max(0, s->availableGeometry().height() - altezza));
    setFixedSize(width(), altezza + crescita);
    Text_Msg->resize(Text_Msg->width(), schermo::TwipsInPixel(Altezza_Testo) + crescita);
    Picture1->move(0, schermo::TwipsInPixel(Top_Bottoni) + crescita);
    // A scroll bar the box showed while it was laid out before its size took effect
    // would narrow it for good, and the lines it adds would keep the bar there.
    Text_Msg->setVerticalScrollBarPolicy(crescita < serve ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void FormMsg::closeEvent(QCloseEvent *evento)
{
    // Only the buttons close it; they do so through done(), which does not come here.
    evento->ignore();
}
