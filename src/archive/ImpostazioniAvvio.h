#pragma once

// The start-up settings: row 1 of TABAVV in Sistema3.dat.
//   C1 current underlying, C5 remembered user id ("@" none), C6 always "@",
//   C7 remember-me, C8 colour scheme, C9 real-time charts.
// The operations work on StatoArchivio; the start window copies the login part
// to and from its boxes.

#include "archive/StatoArchivio.h"

#include <QString>

namespace archivio {

// What the start window shows after Carica_Impostazioni_Avvio.
struct LoginRicordato {
    bool Ricordami = false;     // check Chk_Ricordami
    bool ImpostaUserId = false; // put UserId in Text_ID (otherwise leave the box as it is)
    QString UserId;
    bool SvuotaPassword = false;
};

// Reads C5, C7, C8, C9; sets Aspetto, Grafico_RT, Ricordami and UserId_Ricordato.
// A missing or unreadable row leaves the defaults (nothing remembered, dark, RT off).
LoginRicordato Carica_Impostazioni_Avvio(StatoArchivio &stato);

// Writes C7 with C5 and C6, in one statement. With remember-me on, a non-empty user id
// goes to C5; the password is never stored: C6 always holds "@".
// A refused save gives the database's reason in `errore`.
[[nodiscard]] bool Salva_Dati_Login(int ricordami, const QString &userId, const QString &password,
                                    QString *errore = nullptr);

[[nodiscard]] bool Salva_Aspetto(const StatoArchivio &stato, QString *errore = nullptr);
[[nodiscard]] bool Salva_Grafico_RT(const StatoArchivio &stato, QString *errore = nullptr);

// C1 as the current underlying: its integer part when that is 1..7, otherwise 2.
void Carica_Sottostante_Corrente(StatoArchivio &stato);

}  // namespace archivio
