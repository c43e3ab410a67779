#pragma once

#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/FormS1.h"

#include <QList>
#include <QPoint>
#include <QStringList>
#include <QUrl>
#include <memory>

class FormS1;
class QAbstractButton;
class QWidget;
class FinestraOperativa;
class SessioneQuotazioni;

// Where a check box or option button draws its box: a click there toggles it
// whatever the width of its text.
QPoint PuntoCasella(const QAbstractButton *casella);

// Writes the generated local history files of one underlying (seeded by its
// number) into the current program folder.
bool GeneraStoricoLocale(int sottostante);

// The window's questions and messages recorded instead of shown: the failures, the
// warnings, the real-time questions (answered `risposta_RT`) and the addresses opened.
struct DialoghiProva : DialoghiFinestra {
    QStringList fallimenti;
    QStringList avvisi;  // warnings the loading gave and went on
    QStringList domande_RT;  // their titles
    QString testo_RT;        // the last one's text
    bool risposta_RT = false;
    QList<QUrl> aperti;

    bool Domanda_RT(const QString &titolo, const QString &testo) override;
    void Fallimento(const QString &messaggio) override { fallimenti << messaggio; }
    void Avviso_Caricamento(const QString &messaggio) override { avvisi << messaggio; }
    void Apri_Url(const QUrl &url) override { aperti << url; }
};

// The program's exit with the closing confirmation, but an end that leaves the test running.
struct UscitaProva : UscitaFinestra {
    using UscitaFinestra::UscitaFinestra;
    void Termina(int) override {}
};

// Installs a DialoghiProva on `finestra` (which owns it) and returns it.
DialoghiProva &Registra_Dialoghi(FinestraOperativa &finestra);

// The real main window wired as the program wires it, with the fixed pauses off,
// the dialogs recorded and an exit that leaves the test running.
struct FinestraProva {
    FinestraProva();
    ~FinestraProva();

    std::unique_ptr<FormS1> form;
    FinestraOperativa *op = nullptr;
    SessioneQuotazioni *sessione = nullptr;
    DialoghiProva *dialoghi = nullptr;
    QStringList &fallimenti;
    QStringList &avvisi;

    bool Carica();        // Form_Load and show
    bool AvviaOffline();  // Carica, then the OFFLINE button; true when the load raised no failure
};

// The visible controls of `finestra` not wholly in sight, each with its place
// (cut by the window's edge or by a container's): none can be reached whole.
// The charts, which overhang their picture boxes by design, and the insides of
// scrolled views are not looked at; a scrolled view counts by its viewport.
QStringList Controlli_Fuori_Vista(QWidget *finestra);

// What of a control's text its content rectangle cannot show, measured with the
// control's own font: empty when every text is whole. A text box too narrow must
// show its start (cursor at 0); a grid cell may lose the end of a free text, never
// of a date, time or number.
QString TestoNonIntero(QWidget *w);
// The same for every visible control under `radice`, one line each.
QStringList TestiNonInteri(QWidget *radice);
