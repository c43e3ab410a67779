// Linked into every window test: once the running test has failed, the modal windows
// still open are closed. A check failing inside a modal window's handler only returns
// from the handler; without this the window would wait for a click no test will give,
// and the test would hang until CTest's time limit.

#include "FinestraProva.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>

void Chiudi_Modali()
{
    // A window that stays shown after being asked ends the loop: nothing more to try.
    for (QWidget *w = nullptr;;) {
        QWidget *aperta = QApplication::activePopupWidget();
        if (!aperta)
            aperta = QApplication::activeModalWidget();
        if (!aperta || aperta == w)
            return;
        w = aperta;
        if (auto *d = qobject_cast<QDialog *>(w))
            d->done(QDialog::Rejected);
        else
            w->close();
        w->hide();
    }
}

bool Controlli_Nel_Modale(const std::function<void()> &controlli)
{
    controlli();
    if (!QTest::currentTestFailed())
        return true;
    Chiudi_Modali();
    return false;
}

namespace {

void Avvia_Guardia()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    auto *guardia = new QTimer(QCoreApplication::instance());
    QObject::connect(guardia, &QTimer::timeout, [] {
        if (QTest::currentTestFunction() && QTest::currentTestFailed())
            Chiudi_Modali();
    });
    guardia->start(100);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Avvia_Guardia)
