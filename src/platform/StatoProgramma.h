#pragma once

#include <QString>
#include <QStringList>

// Program-wide values every layer reads: version, folders, mode, the flags that
// hold the charts, the regional formats and the queue of server texts. The
// shell's own state extends it (StatoShell), so code below the shell takes only
// this part.
struct StatoProgramma {
    QString Versione = QStringLiteral("2.52");
    QString Cartella_Sistema = QStringLiteral("Sistema");
    QString Cartella_Storici = QStringLiteral("Sistema");
    QString Cartella_Immagini = QStringLiteral("Immagini");
    QString Password_Archivi = QStringLiteral("6128374");
    QString Cartella_Programma;  // absolute; see Percorsi

    bool Blocco_Grafici = true;
    bool Blocco_Aggiornamento = false;
    bool RT_Bloccato = false;

    QString Modalita;                // "ONLINE" or "OFFLINE"
    QString Formato_Locale = QStringLiteral("UE");
    QString Formato_Data = QStringLiteral("DD/MM/YY");
    QString Formato_Ora = QStringLiteral("h:mm");
    QString Formato_Ora_Secondi = QStringLiteral("h:mm:ss");

    QString Layout_Grafico = QStringLiteral("RIDOTTO");

    // Server texts waiting for the message window: slots 1..30, see messaggi::Accoda.
    QStringList Coda_Messaggi;
};
