#pragma once

// A session state with full history series and future axes, for the tests of the
// drawing objects and their store. Every degree starts its cycle 100 bars back.

#include "Stato.h"
#include "drawing/OggettiGrafici.h"
#include "platform/DataOra.h"

#include <QDateTime>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace prova {

inline constexpr int Barre_Ciclo_Prova = 100;
inline constexpr int Futuri_Prova = 300;
// Newest intraday bar: 9 March 2024 17:00; newest daily bar: 8 March 2024.
inline const QDateTime Ultima_Barra(QDate(2024, 3, 9), QTime(17, 0));

inline int PassoMinuti(int grado)
{
    if (grado <= 3)
        return 24 * 60;
    if (grado <= 5)
        return 60;
    return grado <= 9 ? 15 : 5;
}

// Bar k (1 newest) lies k - 1 steps before the newest; future entry j lies j steps after.
inline QDateTime TempoBarra(int grado, int k)
{
    if (grado <= 3)
        return QDateTime(Ultima_Barra.date().addDays(-1 - (k - 1)), QTime(0, 0));
    return Ultima_Barra.addSecs(-qint64(k - 1) * PassoMinuti(grado) * 60);
}

inline QDateTime TempoFuturoProva(int grado, int j)
{
    if (grado <= 3)
        return QDateTime(Ultima_Barra.date().addDays(-1 + j), QTime(0, 0));
    return Ultima_Barra.addSecs(qint64(j) * PassoMinuti(grado) * 60);
}

// The stored columns of a used line row running from bar time `inizio` to `fine`.
inline std::vector<std::pair<QString, QString>> ValoriLinea(int grado, const QDateTime &inizio, const QDateTime &fine,
                                                            const QString &prezzo1, const QString &prezzo2,
                                                            const QString &colore)
{
    const auto ora = [grado](const QDateTime &t) {
        return dataora::ScriviOraCompatta(grado <= 3 ? 0 : t.time().hour() * 60 + t.time().minute());
    };
    return {{QStringLiteral("C0"), QStringLiteral("1")}, {QStringLiteral("C1"), dataora::ScriviDataCompatta(inizio.date())},
            {QStringLiteral("C2"), ora(inizio)},         {QStringLiteral("C3"), prezzo1},
            {QStringLiteral("C4"), dataora::ScriviDataCompatta(fine.date())},
            {QStringLiteral("C5"), ora(fine)},           {QStringLiteral("C6"), prezzo2},
            {QStringLiteral("C7"), colore}};
}

inline void RiempiSerie(SerieStorico &serie, int grado)
{
    for (int k = 1; k <= serie.capacita(); ++k) {
        const QDateTime t = TempoBarra(grado, k);
        serie.barra(k) = BarraStorico{t.date(), t.time().hour() * 60 + t.time().minute(), 100.0 + k % 7, 10.0};
    }
}

// A holiday in a series: the bars of `giorno` go, the older ones move up, and the
// rows freed at the end stay empty. How many bars went.
inline int TogliGiorno(SerieStorico &serie, const QDate &giorno)
{
    auto &b = serie.barre();
    const auto fine = std::remove_if(b.begin(), b.end(), [&](const BarraStorico &x) { return x.data == giorno; });
    const int tolte = int(b.end() - fine);
    std::fill(fine, b.end(), BarraStorico{});
    return tolte;
}

inline std::unique_ptr<Stato> NuovoStato()
{
    auto s = std::make_unique<Stato>();
    RiempiSerie(s->mercato.Storico_1D, 0);
    RiempiSerie(s->mercato.Storico_1H, 4);
    RiempiSerie(s->mercato.Storico_15M, 6);
    RiempiSerie(s->mercato.Storico_5M, 10);
    for (int g = 0; g <= costanti::Max_Grado; ++g) {
        s->cicli.Barre_Ciclo[size_t(g)] = Barre_Ciclo_Prova;
        s->cicli.Durata[size_t(g)] = 150;
        s->cicli.Scostamento_Ciclo[size_t(g)] = 10;
        s->cicli.Modo_Mouse_Grado[size_t(g)] = 1;
        auto &futuri = s->cicli.Tempi_Futuri[size_t(g)];
        for (int j = 1; j <= Futuri_Prova; ++j) {
            const QDateTime t = TempoFuturoProva(g, j);
            futuri.push_back({t.date(), g <= 3 ? 0 : t.time().hour() * 60 + t.time().minute()});
        }
    }
    s->disegno.Barre_Ciclo_Oggetti = s->cicli.Barre_Ciclo;
    for (int i = 0; i < costanti::Num_Colori; ++i)
        s->cicli.Colori[size_t(i)] = std::uint32_t(0x010101u * std::uint32_t(i));
    for (int slot = 0; slot < costanti::Num_Slot; ++slot)
        s->cicli.Conf_Grafici[size_t(slot)] = SlotGrafico{1, 5 + slot, slot};
    s->cicli.Grafico_Corrente = 2;
    s->cicli.Grado_Corrente = 7;
    s->shell.Blocco_Grafici = false;
    s->shell.Layout_Grafico = QStringLiteral("RIDOTTO");
    s->archivio.Sottostante_Corrente = 3;
    return s;
}

// The drawing layer's object stores over a whole session state.
inline bool Salva_Linea(const Stato &s, int grado, int slot, QString *errore = nullptr)
{
    return disegno::Salva_Linea(s.archivio, s.mercato, s.cicli, s.disegno, grado, slot, errore);
}

inline archivio::EsitoCaricaOggetti Carica_Linee(Stato &s)
{
    return disegno::Carica_Linee(s.archivio, s.mercato, s.cicli, s.disegno);
}

inline bool Salva_Testo(const Stato &s, int grado, int slot, QString *errore = nullptr)
{
    return disegno::Salva_Testo(s.archivio, s.mercato, s.cicli, s.disegno, grado, slot, errore);
}

inline archivio::EsitoCaricaOggetti Carica_Testi(Stato &s)
{
    return disegno::Carica_Testi(s.archivio, s.mercato, s.cicli, s.disegno);
}

inline bool Salva_Distanza(const Stato &s, int grado, int slot, QString *errore = nullptr)
{
    return disegno::Salva_Distanza(s.archivio, s.mercato, s.cicli, s.disegno, grado, slot, errore);
}

inline archivio::EsitoCaricaOggetti Carica_Distanze(Stato &s)
{
    return disegno::Carica_Distanze(s.archivio, s.mercato, s.cicli, s.disegno);
}

}  // namespace prova
