#pragma once

// The window's one route for notices about saving, whichever writer failed (the
// history files', the archive's for the settings saved on their own and the trader's
// own). Each writer tells a failing period once; here one notice about saving is open at
// a time. A failure told while it is open is told in the next one, once the open one is
// closed, unless its writer caught up meanwhile (Scrittura_Ripresa): then nobody need
// hear of it. While a writer keeps its failures for the exit, nothing of it opens.

#include <QObject>
#include <QPointer>
#include <QString>
#include <initializer_list>
#include <vector>

class ScrittoreBase;
class QWidget;

class AvvisiSalvataggio : public QObject {
    Q_OBJECT
public:
    AvvisiSalvataggio(std::initializer_list<ScrittoreBase *> scrittori, QWidget *finestra);

    // A notice about saving is open now.
    bool Aperto() const { return m_aperto; }

private:
    struct Fonte {
        QPointer<ScrittoreBase> scrittore;
        QString testo;  // told and not yet shown; empty: nothing waiting
    };
    void Mostra();

    std::vector<Fonte> m_fonti;
    QPointer<QWidget> m_finestra;
    bool m_aperto = false;
};
