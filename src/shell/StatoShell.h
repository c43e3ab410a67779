#pragma once

#include <QString>
#include <array>
#include <QStringList>

// Program-wide values of the shell: folders, flags, regional formats, loading progress.
struct StatoShell {
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
    int Passo_Avvio = 0;
    QStringList Coda_Messaggi;       // slots 1..30 of pending server texts; see messaggi::Accoda
    QString Tipo_Messaggio;          // "1".."6": type of the message window last shown

    // Four-chart layout, in twips: one panel's size and the corner of each grid position.
    int Altezza_Riquadro = 0;
    int Larghezza_Riquadro = 0;
    std::array<int, 4> Top_Riquadri{};
    std::array<int, 4> Left_Riquadri{};
};
