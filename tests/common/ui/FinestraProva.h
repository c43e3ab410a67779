#pragma once

#include <QPoint>
#include <QStringList>
#include <memory>

class FormS1;
class QAbstractButton;
class FinestraOperativa;
class SessioneQuotazioni;

// Where a check box or option button draws its box: a click there toggles it
// whatever the width of its text.
QPoint PuntoCasella(const QAbstractButton *casella);

// Writes the generated local history files of one underlying (seeded by its
// number) into the current program folder.
bool GeneraStoricoLocale(int sottostante);

// The real main window wired as the program wires it, with the fixed pauses off,
// phase failures collected instead of shown and an exit that leaves the test running.
struct FinestraProva {
    FinestraProva();
    ~FinestraProva();

    std::unique_ptr<FormS1> form;
    FinestraOperativa *op = nullptr;
    SessioneQuotazioni *sessione = nullptr;
    QStringList fallimenti;
    QStringList avvisi;  // warnings the loading gave and went on

    bool Carica();        // Form_Load and show
    bool AvviaOffline();  // Carica, then the OFFLINE button; true when the load raised no failure
};
