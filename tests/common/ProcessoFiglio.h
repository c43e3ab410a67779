#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// Runs this same test program again as a child, with `variabile`=`valore` in its
// environment telling it which scenario to play, for exits that must end a real process.
struct EsitoFiglio {
    bool finito = false;
    QProcess::ExitStatus stato = QProcess::CrashExit;
    int codice = -1;
    QByteArray uscita;  // standard output
    QByteArray errori;  // standard error
    // With a signal: from its sending to the end, and to the first line holding `attesa`.
    qint64 msFine = -1;
    qint64 msAttesa = -1;
};

// With `segnale`, the child gets it once it has printed a line "PRONTO".
EsitoFiglio EseguiFiglio(const QString &variabile, const QString &valore, int attesaMs = 20000, int segnale = 0,
                         const QByteArray &attesa = {});
