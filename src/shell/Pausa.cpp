#include "shell/Pausa.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace finestra {

void Pausa(double secondi)
{
    QElapsedTimer orologio;
    orologio.start();
    const qint64 totale = std::isfinite(secondi) && secondi > 0 ? qint64(std::llround(secondi * 1000.0)) : 0;
    if (!QCoreApplication::instance()) {
        if (totale > 0)
            QThread::msleep(quint64(totale));
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (;;) {
        const qint64 resto = totale - orologio.elapsed();
        if (resto <= 0)
            return;
        QEventLoop ciclo;
        QTimer sveglia;
        sveglia.setSingleShot(true);
        sveglia.setTimerType(Qt::PreciseTimer);
        QObject::connect(&sveglia, &QTimer::timeout, &ciclo, &QEventLoop::quit);
        sveglia.start(int(resto));
        // exec() returns at once once the application is quitting; the clock still rules.
        if (ciclo.exec() != 0)
            QThread::msleep(quint64(resto));
    }
}

}  // namespace finestra
