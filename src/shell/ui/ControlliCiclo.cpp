#include "shell/ui/ControlliCiclo.h"

#include "Stato.h"
#include "cycle/NavigazioneGrafico.h"
#include "shell/LayoutGrande.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/ElencoChiuso.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloCicli.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

using regolazione::PassoDurata;

namespace {

constexpr double Lato = 270;  // a small button
constexpr double Alto = 300;  // one row

// Lefts of the duration row: M3 M2 M1, the box, P1 P2 P3.
constexpr std::array<double, 3> Left_Dur_M{660, 380, 100};
constexpr std::array<double, 3> Left_Dur_P{2070, 2350, 2630};
constexpr double Left_Text_Dur = 940;
constexpr double Larghezza_Text_Dur = 1120;

QPushButton *Pulsante(QWidget *genitore, const char *nome, const QString &testo, const QString &aiuto, double left,
                      double top)
{
    auto *b = new QPushButton(testo, genitore);
    b->setObjectName(QLatin1String(nome));
    b->setToolTip(aiuto);
    finestra::Piazza(b, left, top, Lato, Alto);
    return b;
}

QLineEdit *Casella(QWidget *genitore, const char *nome, const QString &aiuto, double left, double top, double larghezza)
{
    auto *t = new QLineEdit(genitore);
    t->setObjectName(QLatin1String(nome));
    t->setReadOnly(true);
    t->setAlignment(Qt::AlignCenter);
    t->setToolTip(aiuto);
    finestra::Piazza(t, left, top, larghezza, Alto);
    return t;
}

QComboBox *Combo(QWidget *genitore, const char *nome, double left, double larghezza)
{
    auto *c = new QComboBox(genitore);
    c->setObjectName(QLatin1String(nome));
    c->setEditable(true);
    // A typed text is never added to the list: only the list's entries are settings.
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(20);
    finestra::Ignora_Rotella(c);
    finestra::Piazza(c, left, 0, larghezza, Alto);
    return c;
}

QLabel *Etichetta(QWidget *genitore, const char *nome, const QString &testo, double left, double larghezza)
{
    auto *l = new QLabel(testo, genitore);
    l->setObjectName(QLatin1String(nome));
    l->setTextFormat(Qt::PlainText);
    finestra::Piazza(l, left, 0, larghezza, Alto);
    return l;
}

}  // namespace

ControlliCiclo::ControlliCiclo(Stato &stato, AreaGrafici &area, ControlloreRidisegno &ridisegno, PannelloCicli &cicli,
                               NavigazioneGrafico &navigazione, QWidget *parent)
    : QWidget(parent), m_stato(stato), m_area(area), m_ridisegno(ridisegno), m_cicli(cicli),
      m_regolazione(stato, *this)
{
    setObjectName(QStringLiteral("Controlli_Ciclo"));
    finestra::Piazza(this, 0, Top, layout::Larghezza_Strumenti, Altezza);

    Lbl_Sottocicli = Etichetta(this, "Lbl_Sottocicli", QStringLiteral("Sottocicli"), 100, 950);
    Cmb_Sottocicli = Combo(this, "Cmb_Sottocicli", 1050, 600);
    Lbl_Tempi = Etichetta(this, "Lbl_Tempi", QStringLiteral("Tempi"), 1750, 500);
    Cmb_Tempi = Combo(this, "Cmb_Tempi", 2250, 650);

    constexpr double topB = 450;
    Cmd_Prop_Battl_M1 = Pulsante(this, "Cmd_Prop_Battl_M1", QStringLiteral("-"),
                                 QStringLiteral("Proporzione Battleplan -0,1"), 100, topB);
    Text_Prop_Battl = Casella(this, "Text_Prop_Battl", QStringLiteral("Proporzione Battleplan (doppio clic: Standard)"),
                              380, topB, 900);
    Cmd_Prop_Battl_P1 = Pulsante(this, "Cmd_Prop_Battl_P1", QStringLiteral("+"),
                                 QStringLiteral("Proporzione Battleplan +0,1"), 1290, topB);
    Cmd_Tend_M = Pulsante(this, "Cmd_Tend_M", QStringLiteral("-"), QStringLiteral("Tendenza -1"), 1760, topB);
    Text_Tend = Casella(this, "Text_Tend", QStringLiteral("Tendenza (doppio clic: 0)"), 2040, topB, 580);
    Cmd_Tend_P = Pulsante(this, "Cmd_Tend_P", QStringLiteral("+"), QStringLiteral("Tendenza +1"), 2630, topB);

    static const char *nomiM[3] = {"Cmd_Dur_M1", "Cmd_Dur_M2", "Cmd_Dur_M3"};
    static const char *nomiP[3] = {"Cmd_Dur_P1", "Cmd_Dur_P2", "Cmd_Dur_P3"};
    static const char *testiM[3] = {"-", "<", "\u00AB"};
    static const char *testiP[3] = {"+", ">", "\u00BB"};
    static const char *aiuti[3] = {"passo piccolo", "passo medio", "passo grande"};
    for (size_t i = 0; i < 3; ++i) {
        Cmd_Dur_M[i] = Pulsante(this, nomiM[i], QString::fromUtf8(testiM[i]),
                                QStringLiteral("Durata pi\u00F9 corta, ") + QLatin1String(aiuti[i]), Left_Dur_M[i],
                                Top_Durata);
        Cmd_Dur_P[i] = Pulsante(this, nomiP[i], QString::fromUtf8(testiP[i]),
                                QStringLiteral("Durata pi\u00F9 lunga, ") + QLatin1String(aiuti[i]), Left_Dur_P[i],
                                Top_Durata);
    }
    Text_Dur = new QLineEdit(this);
    Text_Dur->setObjectName(QStringLiteral("Text_Dur"));
    Text_Dur->setAlignment(Qt::AlignCenter);
    Text_Dur->setToolTip(QStringLiteral("Durata del ciclo (doppio clic: durata standard)"));
    finestra::Piazza(Text_Dur, Left_Text_Dur, Top_Durata, Larghezza_Text_Dur, Alto);

    constexpr double topD = 1600;
    auto *lblZoom = new QLabel(QStringLiteral("Zoom"), this);
    finestra::Piazza(lblZoom, 100, topD, 600, Alto);
    Cmd_Zoom_M = Pulsante(this, "Cmd_Zoom_M", QStringLiteral("-"), QStringLiteral("Zoom -1"), 700, topD);
    Cmd_Zoom_P = Pulsante(this, "Cmd_Zoom_P", QStringLiteral("+"), QStringLiteral("Zoom +1"), 980, topD);
    auto *lblCompr = new QLabel(QStringLiteral("Compr."), this);
    finestra::Piazza(lblCompr, 1560, topD, 700, Alto);
    Cmd_Compr_M = Pulsante(this, "Cmd_Compr_M", QStringLiteral("-"), QStringLiteral("Compressione -1"), 2350, topD);
    Cmd_Compr_P = Pulsante(this, "Cmd_Compr_P", QStringLiteral("+"), QStringLiteral("Compressione +1"), 2630, topD);

    RegolazioneCiclo &r = m_regolazione;
    connect(Cmd_Prop_Battl_M1, &QPushButton::clicked, this, [&r] { r.Cmd_Prop_Battl_M1_Click(); });
    connect(Cmd_Prop_Battl_P1, &QPushButton::clicked, this, [&r] { r.Cmd_Prop_Battl_P1_Click(); });
    connect(Cmd_Tend_M, &QPushButton::clicked, this, [&r] { r.Cmd_Tend_M_Click(); });
    connect(Cmd_Tend_P, &QPushButton::clicked, this, [&r] { r.Cmd_Tend_P_Click(); });
    static constexpr PassoDurata passiM[3] = {PassoDurata::M1, PassoDurata::M2, PassoDurata::M3};
    static constexpr PassoDurata passiP[3] = {PassoDurata::P1, PassoDurata::P2, PassoDurata::P3};
    for (size_t i = 0; i < 3; ++i) {
        const PassoDurata m = passiM[i], p = passiP[i];
        connect(Cmd_Dur_M[i], &QPushButton::clicked, this, [&r, m] { r.Cmd_Dur_Click(m); });
        connect(Cmd_Dur_P[i], &QPushButton::clicked, this, [&r, p] { r.Cmd_Dur_Click(p); });
    }
    connect(Cmb_Sottocicli, &QComboBox::activated, this,
            [this] { m_regolazione.Cmb_Sottocicli_Click(Cmb_Sottocicli->currentText()); });
    connect(Cmb_Tempi, &QComboBox::activated, this,
            [this] { m_regolazione.Cmb_Tempi_Click(Cmb_Tempi->currentText()); });
    // Only the user's typing is checked; a refused text gives way to the current value.
    connect(Cmb_Sottocicli->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &testo) {
        const QString valido = m_regolazione.Cmb_Sottocicli_Change(testo);
        if (valido != testo)
            Cmb_Sottocicli->setEditText(valido);
    });
    connect(Cmb_Tempi->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &testo) {
        const QString valido = m_regolazione.Cmb_Tempi_Change(testo);
        if (valido != testo)
            Cmb_Tempi->setEditText(valido);
    });
    connect(Cmd_Zoom_M, &QPushButton::clicked, this, [&navigazione] { navigazione.Cmd_Zoom_M_Click(); });
    connect(Cmd_Zoom_P, &QPushButton::clicked, this, [&navigazione] { navigazione.Cmd_Zoom_P_Click(); });
    connect(Cmd_Compr_M, &QPushButton::clicked, this, [&navigazione] { navigazione.Cmd_Compr_M_Click(); });
    connect(Cmd_Compr_P, &QPushButton::clicked, this, [&navigazione] { navigazione.Cmd_Compr_P_Click(); });
    for (QLineEdit *t : {Text_Prop_Battl, Text_Tend, Text_Dur})
        t->installEventFilter(this);
}

bool ControlliCiclo::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (evento->type() == QEvent::MouseButtonDblClick) {
        if (oggetto == Text_Prop_Battl)
            m_regolazione.Text_Prop_Battl_DblClick();
        else if (oggetto == Text_Tend)
            m_regolazione.Text_Tend_DblClick();
        else if (oggetto == Text_Dur)
            m_regolazione.Text_Dur_Reimposta();
        else
            return QWidget::eventFilter(oggetto, evento);
        return true;
    }
    return QWidget::eventFilter(oggetto, evento);
}

void ControlliCiclo::Carica_Combo()
{
    for (auto [cmb, n] : {std::pair{Cmb_Sottocicli, regolazione::Max_Sottocicli},
                          std::pair{Cmb_Tempi, regolazione::Max_Tempi}}) {
        const QSignalBlocker blocco(cmb);
        cmb->clear();
        for (int i = 1; i <= n; ++i)
            cmb->addItem(QString::number(i));
    }
}

void ControlliCiclo::Riempi()
{
    const Stato &stato = m_stato;
    const int grado = stato.cicli.Grado_Corrente;
    const layout::ContenutoStrumenti c = layout::Contenuto_Strumenti(stato, grado);
    if (!c.valido)
        return;
    Disponi_Durata(grado);
    Text_Prop_Battl->setText(c.Text_Prop_Battl);
    Text_Dur->setText(c.Text_Dur);
    // The entry shown is also the list's current one, so the arrow keys step from it.
    for (auto [cmb, testo] : {std::pair{Cmb_Sottocicli, c.Cmb_Sottocicli}, std::pair{Cmb_Tempi, c.Cmb_Tempi}}) {
        const QSignalBlocker blocco(cmb);
        cmb->setCurrentIndex(cmb->findText(testo));
        cmb->setEditText(testo);
    }
    Text_Tend->setText(c.Text_Tend);
}

void ControlliCiclo::Disponi_Durata(int grado)
{
    const layout::DisposizioneDurata d = layout::Disposizione_Durata(grado, Top_Durata, Top_Durata);
    // The daily and hourly degrees use all six buttons: the design's row, whatever
    // a 5-minute degree left hidden.
    const bool terzi = d.invariata || d.terzi_visibili;
    finestra::Piazza(Cmd_Dur_P[1], Left_Dur_P[1], d.invariata ? Top_Durata : d.Top_P2, Lato, Alto);
    finestra::Piazza(Cmd_Dur_M[1], Left_Dur_M[1], d.invariata ? Top_Durata : d.Top_M2, Lato, Alto);
    if (terzi) {
        finestra::Piazza(Cmd_Dur_P[2], Left_Dur_P[2], d.invariata ? Top_Durata : d.Top_P3, Lato, Alto);
        finestra::Piazza(Cmd_Dur_M[2], Left_Dur_M[2], d.invariata ? Top_Durata : d.Top_M3, Lato, Alto);
    }
    Cmd_Dur_P[2]->setVisible(terzi);
    Cmd_Dur_M[2]->setVisible(terzi);
}

// ---------------------------------------------------------------- AmbienteRegolazione

ControlliGrafici &ControlliCiclo::Controlli() { return m_area; }

void ControlliCiclo::Disegna_Grafico(int grafico, int grado) { m_ridisegno.Disegna_Grafico(grafico, grado); }

void ControlliCiclo::Aggiorna_Etichette_Gradi() { m_cicli.Aggiorna_Etichette_Gradi(); }

void ControlliCiclo::Ferma_Timer_Indicatori() { m_ridisegno.Timer_Indicatori.stop(); }

void ControlliCiclo::Arma_Timer_Indicatori() { m_ridisegno.Arma_Timer_Indicatori(); }

void ControlliCiclo::Fuoco_Grafico(int grafico)
{
    if (GraficoControllo *g = m_area.Graf_Battleplan(grafico))
        g->Prendi_Focus();
}

void ControlliCiclo::Mostra_Prop_Battl(const QString &testo) { Text_Prop_Battl->setText(testo); }
void ControlliCiclo::Mostra_Tend(const QString &testo) { Text_Tend->setText(testo); }
void ControlliCiclo::Mostra_Dur(const QString &testo) { Text_Dur->setText(testo); }

void ControlliCiclo::Mostra_Errore(const QString &testo)
{
    Riempi();
    finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), testo);
}
