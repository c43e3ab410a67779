#include "indicators/ui/PannelloIndicatori.h"

#include "archive/ArchivioIndicatori.h"
#include "cycle/StatoCicli.h"
#include "indicators/ImpostazioniIndicatori.h"
#include "indicators/MotoreIndicatori.h"
#include "indicators/StatoIndicatori.h"
#include "platform/Schermo.h"
#include "platform/StatoProgramma.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

void piazza(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(schermo::TwipsInPixel(left), schermo::TwipsInPixel(top), schermo::TwipsInPixel(width),
                   schermo::TwipsInPixel(height));
}

bool gradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }

QVariant &periodo(StatoIndicatori &ind, int box, int grado)
{
    return box == 0 ? ind.Periodo_Utente_1[size_t(grado)] : ind.Periodo_Utente_2[size_t(grado)];
}

class AvvisiFinestra : public AvvisiIndicatori {
public:
    explicit AvvisiFinestra(QWidget &pannello) : m_pannello(pannello) {}
    void Segnale_Acustico() override { QApplication::beep(); }
    void Errore_Salvataggio(const QString &errore) override
    {
        QMessageBox::warning(m_pannello.window(), QStringLiteral("Wavelore"), errore);
    }

private:
    QWidget &m_pannello;
};

}  // namespace

PannelloIndicatori::PannelloIndicatori(StatoProgramma &programma, const StatoArchivio &archivio,
                                       const StatoCicli &cicli, StatoIndicatori &indicatori,
                                       MotoreIndicatori &motore, AmbienteIndicatori &ambiente, QWidget *parent)
    : QFrame(parent), m_programma(programma), m_archivio(archivio), m_cicli(cicli), m_indicatori(indicatori),
      m_motore(motore), m_ambiente(ambiente), m_avvisi(std::make_unique<AvvisiFinestra>(*this))
{
    setObjectName(QStringLiteral("PannelloIndicatori"));
    resize(schermo::TwipsInPixel(Larghezza), schermo::TwipsInPixel(Altezza));

    const char *opzioni[2] = {"Standard", "Adattivi"};
    for (int i = 0; i < 2; ++i) {
        auto *o = new QRadioButton(QString::fromLatin1(opzioni[i]), this);
        o->setObjectName(QStringLiteral("Opt_Val_Indicatori_%1").arg(i));
        piazza(o, 100 + i * 1400, 30, 1350, Passo);
        connect(o, &QRadioButton::clicked, this, [this, i] { Opt_Val_Indicatori_Click(i); });
        Opt_Val_Indicatori[size_t(i)] = o;
    }

    // Rows by family, as the engine runs them: cyclic averages, user averages,
    // the oscillator, cyclic velocities, centred lines, the volume profile.
    double top = 300;
    for (int k : indicatori::Ordine_Dispatch) {
        auto *campione = new QLabel(this);
        campione->setObjectName(QStringLiteral("Lbl_Color_ind_%1").arg(k));
        campione->setAutoFillBackground(true);
        campione->setFrameShape(QFrame::Box);
        piazza(campione, 100, top + 45, 150, 150);
        Lbl_Color_ind[size_t(k)] = campione;

        const bool utente = k == 4 || k == 5;
        auto *c = new QCheckBox(indicatori::Didascalia(k), this);
        c->setObjectName(QStringLiteral("Chk_Ind_Adattivi_%1").arg(k));
        piazza(c, 330, top, utente ? 1000 : Larghezza - 400, Passo);
        // Only the user's clicks: the layout's fill must not recompute and save.
        connect(c, &QCheckBox::clicked, this, [this, k] { Chk_Ind_Adattivi_Click(k); });
        Chk_Ind_Adattivi[size_t(k)] = c;

        if (utente) {
            const int b = k - 4;
            auto *t = new QLineEdit(this);
            t->setObjectName(QStringLiteral("Text_Val_Ind_%1").arg(b));
            piazza(t, 1350, top + 7, 650, Passo - 15);
            connect(t, &QLineEdit::textChanged, this, [this, b] { Text_Val_Ind_Change(b); });
            Text_Val_Ind[size_t(b)] = t;
            auto *l = new QLabel(QStringLiteral("per."), this);
            l->setObjectName(QStringLiteral("Lbl_Desc_Val_Ind_%1").arg(b));
            piazza(l, 2080, top, 600, Passo);
            Lbl_Desc_Val_Ind[size_t(b)] = l;
        }
        top += Passo;
    }
}

void PannelloIndicatori::Riempi(int opzione, bool item19Visibile,
                                const std::array<int, indicatori::Num_Item> &attivi,
                                const std::array<QString, 2> &periodi,
                                const std::array<std::uint32_t, indicatori::Num_Item> &colori)
{
    for (size_t k = 0; k < colori.size(); ++k) {
        QPalette p = Lbl_Color_ind[k]->palette();
        p.setColor(QPalette::Window, schermo::ColoreWin(colori[k]));
        Lbl_Color_ind[k]->setPalette(p);
    }
    Opt_Val_Indicatori[0]->setChecked(opzione != 1);
    Opt_Val_Indicatori[1]->setChecked(opzione == 1);
    // Item 19 is hidden with its swatch: there is no profile to show there.
    Chk_Ind_Adattivi[indicatori::Item_Profilo_Volumi]->setVisible(item19Visibile);
    Lbl_Color_ind[indicatori::Item_Profilo_Volumi]->setVisible(item19Visibile);
    for (size_t k = 0; k < attivi.size(); ++k)
        Chk_Ind_Adattivi[k]->setChecked(attivi[k] == 1);

    const bool prima = m_programma.Blocco_Aggiornamento;
    m_programma.Blocco_Aggiornamento = true;
    for (size_t b = 0; b < 2; ++b) {
        Text_Val_Ind[b]->setText(periodi[b]);
        m_accettato[b] = periodi[b];
    }
    m_programma.Blocco_Aggiornamento = prima;
}

void PannelloIndicatori::Opt_Val_Indicatori_Click(int)
{
    const int g = m_cicli.Grado_Corrente;
    if (!gradoValido(g))
        return;
    m_indicatori.Modo_Adattivo[size_t(g)] = Opt_Val_Indicatori[1]->isChecked() ? 1 : 0;
    m_motore.Aggiorna_Indicatori(m_cicli.Grafico_Corrente);
    salva(g, 8);
}

void PannelloIndicatori::Chk_Ind_Adattivi_Click(int index)
{
    // The degree and slot as they were clicked, whatever the computation changes.
    const int g = m_cicli.Grado_Corrente;
    const int s = m_cicli.Grafico_Corrente;
    if (!gradoValido(g) || index < 0 || index >= indicatori::Num_Item)
        return;
    if (Chk_Ind_Adattivi[size_t(index)]->isChecked()) {
        m_indicatori.Ind_Attivo[size_t(g)][size_t(index)] = 1;
        m_motore.Calcola_Indicatore(index, g, s);
    } else {
        // The rows keep their values: only the drawing stops showing them.
        m_indicatori.Ind_Attivo[size_t(g)][size_t(index)] = 0;
    }
    m_ambiente.Disegna_Grafico(s, g);
    QString errore;
    if (!salvato(g, archivio::Chiave_Indicatore(index), errore)) {
        // The switch shows what the archive holds.
        const bool acceso = Chk_Ind_Adattivi[size_t(index)]->isChecked();
        m_indicatori.Ind_Attivo[size_t(g)][size_t(index)] = acceso ? 0 : 1;
        Chk_Ind_Adattivi[size_t(index)]->setChecked(!acceso);
        m_ambiente.Disegna_Grafico(s, g);
        segnala(errore);
    }
}

bool PannelloIndicatori::Periodo_Accettabile(const QString &testo, const QString &prima, int cursore)
{
    if (testo.isEmpty())
        return true;
    if (testo.size() >= 2 && cursore == 1 && testo.size() > prima.size())
        return false;
    if (testo.front() == QLatin1Char('0'))
        return false;
    for (QChar c : testo)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    bool ok = false;
    const int n = testo.toInt(&ok);
    return ok && n <= Periodo_Massimo;
}

void PannelloIndicatori::Text_Val_Ind_Change(int index)
{
    if (m_programma.Blocco_Aggiornamento || m_inCorrezione || index < 0 || index > 1)
        return;
    const int g = m_cicli.Grado_Corrente;
    if (!gradoValido(g))
        return;
    const size_t b = size_t(index);
    QLineEdit *box = Text_Val_Ind[b];
    QString testo = box->text();
    const int cursore = box->cursorPosition();
    if (m_accettato[b] == QLatin1String("0") && testo.size() > 1 && testo.front() == QLatin1Char('0') && cursore > 1) {
        // "0" is the box saying there is no period: the digits typed after it
        // take its place, so the user need not delete it first.
        testo.remove(0, 1);
        m_inCorrezione = true;
        box->setText(testo);
        box->setCursorPosition(cursore - 1);
        m_inCorrezione = false;
    }
    if (!Periodo_Accettabile(testo, m_accettato[b], box->cursorPosition())) {
        // A refused edit gives the box back the period it held, caret at its end:
        // neither a digit the user kept nor a value no series can use is lost or stored.
        m_avvisi->Segnale_Acustico();
        testo = m_accettato[b];
        m_inCorrezione = true;
        box->setText(testo);
        box->setCursorPosition(int(testo.size()));
        m_inCorrezione = false;
    } else if (testo.isEmpty()) {
        m_avvisi->Segnale_Acustico();
    }
    m_accettato[b] = testo;
    periodo(m_indicatori, index, g) = testo;
    salva(g, 20 + index);

    // The average drawn with the old period goes; the user ticks it again for the new one.
    const int item = 4 + index;
    QCheckBox *chk = Chk_Ind_Adattivi[size_t(item)];
    const bool eraAttivo = chk->isChecked();
    chk->setChecked(false);
    m_indicatori.Ind_Attivo[size_t(g)][size_t(item)] = 0;
    salva(g, item);
    if (eraAttivo)
        m_ambiente.Disegna_Grafico(m_cicli.Grafico_Corrente, g);
}

void PannelloIndicatori::salva(int grado, int chiave)
{
    if (QString errore; !salvato(grado, chiave, errore))
        segnala(errore);
}

bool PannelloIndicatori::salvato(int grado, int chiave, QString &errore)
{
    return indicatori::Salva_Indicatore(m_archivio, m_indicatori, grado, chiave, &errore);
}

void PannelloIndicatori::segnala(const QString &errore)
{
    const QString testo = errore.trimmed().isEmpty()
                              ? QStringLiteral("Impostazione indicatori non salvata (Sistema2.dat).")
                              : QStringLiteral("Impostazione indicatori non salvata (Sistema2.dat): ") + errore.trimmed();
    m_avvisi->Errore_Salvataggio(testo);
}

void PannelloIndicatori::Imposta_Avvisi(std::unique_ptr<AvvisiIndicatori> avvisi)
{
    m_avvisi = avvisi ? std::move(avvisi) : std::make_unique<AvvisiFinestra>(*this);
}
