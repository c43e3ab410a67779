#pragma once

// What the line, text and distance stores share: reading a point or a colour code
// back from a row, and writing one slot (its columns, or the free row).

#include "archive/ArchivioOggetti.h"
#include "drawing/StatoDisegno.h"

#include <optional>
#include <utility>
#include <vector>

namespace disegno::tabelle {

using ColonneOggetto = std::vector<std::pair<QString, QString>>;

// Reasons a slot could not be written, in the object's own words.
struct MessaggiOggetto {
    QString fuori_limiti;     // degree or slot outside the table
    QString senza_posizione;  // in use but never placed on the chart
    QString fuori_asse;       // a point maps to no bar
    QString archivio;         // the archive refused; %1 is its reason
};

// The colour code of an object: nothing a trader drew is dropped for its colour, so
// any text is taken; a whole number as read (drawn in the default style when it
// names no entry 1..100), 0 for a text that is none.
int CodiceColoreOggetto(const QString &testo);

// The position of a stored point (ddmmyy, hhmm): NonValida for texts that are no
// date or time, FuoriPortata when the bar is neither in the history nor on the future axis.
struct PuntoLetto {
    archivio::Collocazione esito = archivio::Collocazione::NonValida;
    int x = 0;
};
PuntoLetto LeggiPunto(int grado, const QString &data, const QString &ora, const archivio::MappaTempi &mappa,
                      int annoOggi);

// The date, time and price columns of a point, named C<prima>, C<prima+1>, C<prima+2>;
// false when the position maps to no bar.
bool AggiungiPunto(ColonneOggetto &colonne, int prima, const archivio::MappaTempi &mappa, int grado, int x,
                   double prezzo);

[[nodiscard]] bool ScriviSlot(const QString &tabella, int id, const ColonneOggetto *colonne,
                              const archivio::RigaLibera &libera, QString &errore);

// Writes slot `slot` of degree `grado` at once: `colonne(oggetto)` gives the columns of
// an object in use (nullopt when a point maps to no bar), a free slot becomes a free row.
template <typename T, typename Colonne>
[[nodiscard]] bool SalvaSlot(const QString &prefisso, int sottostante, const SlotOggetti<T> &tabella, int grado, int slot,
               int limite, const archivio::RigaLibera &libera, const MessaggiOggetto &messaggi, Colonne colonne,
               QString *errore)
{
    auto fallisce = [errore](const QString &testo) {
        if (errore)
            *errore = testo;
        return false;
    };
    const QString nome = archivio::NomeTabellaOggetti(prefisso, sottostante);
    if (nome.isEmpty() || grado < 0 || grado > costanti::Max_Grado || slot < 1 || slot > limite)
        return fallisce(messaggi.fuori_limiti);
    const T &oggetto = tabella[size_t(grado)][size_t(slot)];
    if (oggetto.in_uso && !oggetto.trovata)
        return fallisce(messaggi.senza_posizione);
    std::optional<ColonneOggetto> valori;
    if (oggetto.in_uso) {
        valori = colonne(oggetto);
        if (!valori)
            return fallisce(messaggi.fuori_asse);
    }
    QString motivo;
    if (!ScriviSlot(nome, archivio::IdRigaOggetto(grado, slot), valori ? &*valori : nullptr, libera, motivo))
        return fallisce(messaggi.archivio.arg(motivo));
    return true;
}

}  // namespace disegno::tabelle
