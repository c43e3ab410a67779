#include "ProcessoFiglio.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <csignal>

EsitoFiglio EseguiFiglio(const QString &variabile, const QString &valore, int attesaMs, int segnale,
                         const QByteArray &attesa)
{
    QProcess figlio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(variabile, valore);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    figlio.setProcessEnvironment(env);
    figlio.start(QCoreApplication::applicationFilePath(), {});
    EsitoFiglio esito;
    if (segnale != 0) {
        // Output is read as it comes: when a line shows is part of the result.
        const QDeadlineTimer scadenza(attesaMs);
        QElapsedTimer dalSegnale;
        while (!scadenza.hasExpired() && figlio.state() != QProcess::NotRunning) {
            figlio.waitForReadyRead(10);
            esito.uscita += figlio.readAllStandardOutput();
            if (!dalSegnale.isValid() && esito.uscita.contains("PRONTO\n")) {
                ::kill(pid_t(figlio.processId()), segnale);
                dalSegnale.start();
            }
            if (dalSegnale.isValid() && esito.msAttesa < 0 && !attesa.isEmpty() && esito.uscita.contains(attesa))
                esito.msAttesa = dalSegnale.elapsed();
        }
        if (dalSegnale.isValid() && figlio.state() == QProcess::NotRunning)
            esito.msFine = dalSegnale.elapsed();
    }
    esito.finito = figlio.waitForFinished(segnale != 0 ? 0 : attesaMs) || figlio.state() == QProcess::NotRunning;
    if (!esito.finito) {
        figlio.kill();
        figlio.waitForFinished(2000);
    }
    esito.stato = figlio.exitStatus();
    esito.codice = figlio.exitCode();
    esito.uscita += figlio.readAllStandardOutput();
    esito.errori = figlio.readAllStandardError();
    return esito;
}
