#include "shell/ui/PannelloQuotazioni.h"

#include "Stato.h"
#include "platform/Schermo.h"
#include "shell/ui/ElencoChiuso.h"
#include "shell/ui/PannelloAvvio.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLineEdit *Casella(QWidget *padre, const char *nome, const QString &etichetta, double top)
{
    auto *l = new QLabel(etichetta, padre);
    l->setTextFormat(Qt::PlainText);
    finestra::Piazza(l, 100, top, 750, 285);
    auto *t = new QLineEdit(padre);
    t->setObjectName(QLatin1String(nome));
    t->setReadOnly(true);
    t->setFocusPolicy(Qt::NoFocus);
    finestra::Piazza(t, 850, top, 1950, 285);
    return t;
}

QPushButton *Pulsante(QWidget *padre, const QString &nome, const QString &testo, double left, double top)
{
    auto *b = new QPushButton(testo, padre);
    b->setObjectName(nome);
    finestra::Piazza(b, left, top, 850, 330);
    return b;
}

}  // namespace

PannelloQuotazioni::PannelloQuotazioni(Stato &stato, QFrame *frmDatiSot, QWidget *finestra)
    : QObject(frmDatiSot), Frm_Dati_Sot(frmDatiSot), m_stato(stato)
{
    setObjectName(QStringLiteral("PannelloQuotazioni"));
    Frm_Dati_Sot->setFrameShape(QFrame::StyledPanel);

    Cmb_Sot = new QComboBox(Frm_Dati_Sot);
    Cmb_Sot->setObjectName(QStringLiteral("Cmb_Sot"));
    finestra::Ignora_Rotella(Cmb_Sot);
    // Changing the underlying while online is not part of this window yet.
    Cmb_Sot->setEnabled(false);
    finestra::Piazza(Cmb_Sot, 100, 100, 2650, 315);

    Text_Data_Ora = Casella(Frm_Dati_Sot, "Text_Data_Ora", QStringLiteral("Data/Ora"), 550);
    Text_Last = Casella(Frm_Dati_Sot, "Text_Last", QStringLiteral("Ultimo"), 900);
    Text_Var = Casella(Frm_Dati_Sot, "Text_Var", QStringLiteral("Var. %"), 1250);
    Text_Volume = Casella(Frm_Dati_Sot, "Text_Volume", QStringLiteral("Volume"), 1600);
    Text_Stato = Casella(Frm_Dati_Sot, "Text_Stato", QStringLiteral("Stato"), 1950);

    Led_RT = new QLabel(Frm_Dati_Sot);
    Led_RT->setObjectName(QStringLiteral("Led_RT"));
    Led_RT->setAutoFillBackground(true);
    Led_RT->setFrameShape(QFrame::Box);
    finestra::Piazza(Led_RT, 100, 2400, 200, 200);

    Cmd_Graf_RT = Pulsante(Frm_Dati_Sot, QStringLiteral("Cmd_Graf_RT"), QStringLiteral("RT"), 400, 2350);
    Cmd_Graf_RT->setAutoFillBackground(true);
    Cmd_Aspetto[0] = Pulsante(Frm_Dati_Sot, QStringLiteral("Cmd_Aspetto_0"), QStringLiteral("Colori"), 1300, 2350);
    Cmd_Storico[0] = Pulsante(Frm_Dati_Sot, QStringLiteral("Cmd_Storico_0"), QStringLiteral("Storico"), 1300, 2800);

    Frm_Dati_Sot_Off = new QFrame(finestra);
    Frm_Dati_Sot_Off->setObjectName(QStringLiteral("Frm_Dati_Sot_Off"));
    Frm_Dati_Sot_Off->setFrameShape(QFrame::StyledPanel);
    Frm_Dati_Sot_Off->hide();
    for (int i = 0; i < 7; ++i) {
        auto *o = new QRadioButton(Frm_Dati_Sot_Off);
        o->setObjectName(QStringLiteral("Opt_Sott_Off_%1").arg(i));
        finestra::Piazza(o, 100, 100 + i * 330, 2700, 300);
        connect(o, &QRadioButton::clicked, this, [this, i] { emit Sottostante_Offline_Scelto(i); });
        Opt_Sott_Off[size_t(i)] = o;
    }
    Cmd_Aspetto[1] = Pulsante(Frm_Dati_Sot_Off, QStringLiteral("Cmd_Aspetto_1"), QStringLiteral("Colori"), 100, 2500);
    Cmd_Storico[1] = Pulsante(Frm_Dati_Sot_Off, QStringLiteral("Cmd_Storico_1"), QStringLiteral("Storico"), 1000, 2500);

    for (QPushButton *b : Cmd_Aspetto)
        connect(b, &QPushButton::clicked, this, &PannelloQuotazioni::Aspetto_Cliccato);
    for (QPushButton *b : Cmd_Storico)
        connect(b, &QPushButton::clicked, this, &PannelloQuotazioni::Storico_Cliccato);
}

void PannelloQuotazioni::Aggiorna_Caselle()
{
    const StatoMercato &m = m_stato.mercato;
    for (auto [box, testo] : {std::pair{Text_Data_Ora, &m.Text_Data_Ora}, std::pair{Text_Last, &m.Text_Last},
                              std::pair{Text_Var, &m.Text_Var}, std::pair{Text_Volume, &m.Text_Volume}}) {
        box->setText(*testo);
        box->home(false);  // a value too long shows its start
    }
}

void PannelloQuotazioni::Colore_Led_RT(std::uint32_t coloreWin)
{
    QPalette p = Led_RT->palette();
    p.setColor(QPalette::Window, schermo::ColoreWin(coloreWin));
    Led_RT->setPalette(p);
}

void PannelloQuotazioni::Colore_Graf_RT(std::uint32_t coloreWin)
{
    // A value with the top bit set names a system colour: the button face.
    const QColor colore = (coloreWin & 0x80000000u) != 0 ? QApplication::palette().color(QPalette::Button)
                                                         : schermo::ColoreWin(coloreWin);
    QPalette p = Cmd_Graf_RT->palette();
    p.setColor(QPalette::Button, colore);
    p.setColor(QPalette::Window, colore);
    Cmd_Graf_RT->setPalette(p);
}

void PannelloQuotazioni::Etichetta_Opzioni(const std::array<QString, 8> &etichette)
{
    for (int i = 0; i < 7; ++i) {
        const auto &riga = m_stato.archivio.Tab_Sottostanti[size_t(i + 1)];
        QString nome = riga.Nome;
        nome.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString &data = etichette[size_t(i + 1)];
        QRadioButton *o = Opt_Sott_Off[size_t(i)];
        o->setText(data.isEmpty() ? nome : nome + QStringLiteral("  ") + data);
        o->setEnabled(!data.isEmpty());
        const QSignalBlocker blocco(o);
        o->setChecked(i + 1 == m_stato.archivio.Sottostante_Corrente);
    }
}
