#pragma once

#include "market/SerieStorico.h"

#include <QDateTime>
#include <QString>
#include <QTime>
#include <QStringList>
#include <array>
#include <optional>

struct StatoMercato {
    QString Indirizzo_Server = QStringLiteral("127.0.0.1");
    quint16 Porta_Server = 2010;
    QString UserId;
    QString Password;

    bool Scarica_Storico = false;
    bool Aggiorna_Storico = false;

    // Bar 1 is the newest in every series.
    SerieStorico Storico_5M{1500};
    SerieStorico Storico_15M{5000};
    SerieStorico Storico_1H{5000};
    SerieStorico Storico_1D{3000};

    // Key of the local history files; entries 1..56 used.
    std::array<int, 57> Tabella_Chiave{};

    bool Riconnessione_In_Corso = false;
    // The logged-in user as the server names them (Lbl_Cod_Utente, Lbl_Desc_Utente).
    QString Cod_Utente;
    QString Desc_Utente;

    // Real-time bar of 5M, 15M, 1H, 1D (index 1..4; 0 unused): date-time text as received,
    // close, volume.
    struct BarraRT {
        QString Data_Ora;
        double Chiusura = 0.0;
        double Volume = 0.0;
    };
    std::array<BarraRT, 5> Agg_Barra{};
    // Server's last two bars per timeframe (1..4), bar 1..2, field 1..4, texts as received.
    std::array<std::array<std::array<QString, 5>, 3>, 5> Tab_Server{};

    // Quote boxes, as shown.
    QString Text_Data_Ora;
    QString Text_Last;
    QString Text_Var;
    QString Text_Volume;
    // The last price as the tick gave it; Text_Last is only its display.
    std::optional<double> Ultimo_Prezzo;
    // The last quote's date and time as a value (invalid before the first tick).
    QDateTime Data_Ora_Quotazione;

    // The current underlying's session end (the real-time merge dates its bars by it)
    // and price format (the quote boxes), from its row at every loading.
    QTime Fine_Sessione;
    QString Formato_Prezzo;

    // Underlyings with a complete, valid set of local history files (index 1..7).
    std::array<bool, 8> Storico_Offline_Disponibile{};
};
