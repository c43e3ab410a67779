#pragma once

#include "CartellaTemporanea.h"
#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/FormS1.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRectF>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

class AreaGrafici;
class FormS1;
class QAbstractButton;
class QFont;
class QModelIndex;
class QTableView;
class QWidget;
class FinestraOperativa;
class RiquadroGrafico;
class SessioneQuotazioni;
struct Stato;

// Where a check box or option button draws its box: a click there toggles it
// whatever the width of its text.
QPoint PuntoCasella(const QAbstractButton *casella);

// A wheel turn of `delta` (120 a notch, positive away from the user) at the
// centre of `w`, sent straight to it.
void Rotella(QWidget *w, int delta);
// A move to `p` in `w`, sent straight to it as a mouse grab delivers it (the
// offscreen pointer cannot reach every point of a large window).
void MuoviMouse(QWidget *w, QPoint p);
// "x,y wxh", for a failure's message.
QString TestoRettangolo(const QRectF &r);
// A picture of `w` saved as `nome` in the folder WAVELORE_IMMAGINI_PROVA names, when set.
void SalvaImmagine(QWidget *w, const QString &nome);

// Writes the generated local history files of one underlying (seeded by its
// number) into the current program folder.
bool GeneraStoricoLocale(int sottostante);

// The window's questions and messages recorded instead of shown: the failures, the
// warnings (into the lists given, or its own), the real-time questions (answered
// `risposta_RT`) and the addresses opened.
struct DialoghiProva : DialoghiFinestra {
    DialoghiProva() : fallimenti(m_fallimenti), avvisi(m_avvisi) {}
    DialoghiProva(QStringList &fallimenti_, QStringList &avvisi_) : fallimenti(fallimenti_), avvisi(avvisi_) {}

    QStringList &fallimenti;
    QStringList &avvisi;     // warnings the loading gave and went on
    QStringList domande_RT;  // their titles
    QString testo_RT;        // the last one's text
    bool risposta_RT = false;
    QList<QUrl> aperti;

    bool Domanda_RT(const QString &titolo, const QString &testo) override;
    void Fallimento(const QString &messaggio) override { fallimenti << messaggio; }
    void Avviso_Caricamento(const QString &messaggio) override { avvisi << messaggio; }
    void Apri_Url(const QUrl &url) override { aperti << url; }

private:
    QStringList m_fallimenti;
    QStringList m_avvisi;
};

// The end of the program, thrown by Termina_Prova to the Attendi_Uscita awaiting it.
struct FineProgramma {
    int codice;
};

// The end of a test's exit (UscitaProva's, or a test's own Uscita::Termina). Awaited by
// Attendi_Uscita, it throws FineProgramma back to it; anywhere else the test program
// stops at once with a FAIL line naming the test function and a non-zero status, so
// an exit reached by accident never passes for a pass.
[[noreturn]] void Termina_Prova(int codice);

// Runs `azione`, which must reach the program's exit by calling it: the exit's code, or
// -1 when `azione` returned. The exit is thrown back here only from this depth of event
// loops: reached inside a modal window or a pause it cannot be unwound through Qt, and
// Termina_Prova stops the program; watch such an exit from a child process (EseguiFiglio).
int Attendi_Uscita(const std::function<void()> &azione);

// The program's exit with the closing confirmation, ending in Termina_Prova.
struct UscitaProva : UscitaFinestra {
    using UscitaFinestra::UscitaFinestra;
    void Termina(int codice) override { Termina_Prova(codice); }
};

// Installs a DialoghiProva on `finestra` (which owns it) and returns it.
DialoghiProva &Registra_Dialoghi(FinestraOperativa &finestra);

// The real main window wired as the program wires it, with the program's face
// registered, the fixed pauses off, the dialogs recorded, the exit of UscitaProva
// and the start-up message boxes printing themselves and closing
// (WAVELORE_AVVISI_AUTOMATICI).
struct FinestraProva {
    // The window in the current program folder.
    FinestraProva();
    // The window in a fresh program folder of its own, holding the archives and the
    // generated history of each of `storici`, the first of them the underlying the
    // start loads; the folder outlives the window.
    explicit FinestraProva(const QList<int> &storici);
    ~FinestraProva();

    std::unique_ptr<CartellaTemporanea> cartella;  // only with the window's own folder
    std::unique_ptr<FormS1> form;
    FinestraOperativa *op = nullptr;
    SessioneQuotazioni *sessione = nullptr;
    DialoghiProva *dialoghi = nullptr;  // the window's, renewed with it
    QStringList fallimenti;
    QStringList avvisi;       // warnings the loading gave and went on
    QList<int> percentuali;   // the start bar's values, in order

    bool Carica();        // Form_Load and show; false when the folder could not be filled
    bool AvviaOffline();  // Carica, then the OFFLINE button; true when the load raised no failure
    // Closes the window and starts a new one OFFLINE in the same folder, as a restart does.
    bool Riavvia();

    Stato &S() const;
    AreaGrafici *Area() const;
    RiquadroGrafico *Riquadro(int slot) const;
    // The one-chart layout on `slot` (from either layout), by the panels' buttons;
    // true when it shows.
    bool Ingrandisci(int slot);
    // Back to the four-chart layout by the enlarged panel's button; true when it shows.
    bool Riduci();
    // The colour scheme `aspetto` by the colour switch, when another shows; true when it shows.
    bool Aspetto(int aspetto);

private:
    void Prepara();
    bool preparata = true;
};

// While it lives, every message box is closed as it opens with the answer
// `risposta`, and what it said kept in `testi` ("title|text|testo" for plain text,
// "|ricco" otherwise), in place of the boxes that print themselves.
class MessaggiCatturati {
public:
    explicit MessaggiCatturati(int risposta_);
    MessaggiCatturati();  // answered No
    ~MessaggiCatturati();
    MessaggiCatturati(const MessaggiCatturati &) = delete;
    MessaggiCatturati &operator=(const MessaggiCatturati &) = delete;

    static bool Attivi();

    int risposta;
    QStringList testi;

private:
    QTimer m_timer;
    QByteArray m_automatici;
    bool m_impostato;
};

// While it lives, every message box that opens is read and kept open while `durante`
// runs (the event loop running, as while the real box waits for its OK), then closed:
// what a notice lets happen meanwhile happens under it. `testi` what each said (its
// text), `aperti` the most boxes open at once.
class AvvisiTenuti {
public:
    AvvisiTenuti();
    ~AvvisiTenuti();
    AvvisiTenuti(const AvvisiTenuti &) = delete;
    AvvisiTenuti &operator=(const AvvisiTenuti &) = delete;

    std::function<void()> durante;
    QStringList testi;
    int aperti = 0;

private:
    QTimer m_timer;
    bool m_dentro = false;
    QByteArray m_automatici;
    bool m_impostato;
};

// Closes every popup and modal window open, innermost first, whatever its handlers
// say to Esc or to a close (a dialog ends with Rejected).
void Chiudi_Modali();

// Runs the checks a modal window's handler makes. A failed QVERIFY or QCOMPARE returns
// from `controlli` and nothing would close the window: every modal window is closed at
// once, so the test goes on to its own end. True when the checks passed. Every window
// test also closes them once its test has failed (GuardiaModali.cpp), however the
// failing check was reached.
bool Controlli_Nel_Modale(const std::function<void()> &controlli);

// The visible controls of `finestra` not wholly in sight, each with its place
// (cut by the window's edge or by a container's): none can be reached whole.
// The charts, which overhang their picture boxes by design, and the insides of
// scrolled views are not looked at; a scrolled view counts by its viewport.
QStringList Controlli_Fuori_Vista(QWidget *finestra);

// What of a control's text its content rectangle cannot show, measured with the
// control's own font: empty when every text is whole. A text box or grid cell may
// lose the end of a free text (a box showing its start, cursor at 0), never of a
// date, time or number, nor of a reading made of them; a multi-line box none of a line.
QString TestoNonIntero(QWidget *w);
// The same for every visible control under `radice`, one line each.
QStringList TestiNonInteri(QWidget *radice);
// A text in cell `i` of a grid as the grid paints it: the cell's own font, the width
// a text takes in it (fractional: the grid cuts a text a fraction too wide) and the
// width the cell gives it, within the style's text margins.
QFont FontCella(const QTableView *g, const QModelIndex &i);
double LarghezzaTesto(const QFont &font, const QString &testo);
int SpazioCella(const QTableView *g, const QModelIndex &i);
