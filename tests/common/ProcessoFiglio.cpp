#include "ProcessoFiglio.h"

#include <QCoreApplication>

EsitoFiglio EseguiFiglio(const QString &variabile, const QString &valore, int attesaMs)
{
    QProcess figlio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(variabile, valore);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    figlio.setProcessEnvironment(env);
    figlio.start(QCoreApplication::applicationFilePath(), {});
    EsitoFiglio esito;
    esito.finito = figlio.waitForFinished(attesaMs);
    if (!esito.finito) {
        figlio.kill();
        figlio.waitForFinished(2000);
    }
    esito.stato = figlio.exitStatus();
    esito.codice = figlio.exitCode();
    esito.uscita = figlio.readAllStandardOutput();
    return esito;
}
