#pragma once

#include <QLocale>

struct StatoShell;

namespace finestra {

// Chooses the "UE" or "US" convention from the machine's decimal separator alone
// (one half written as text: "0,5" means UE) and sets Formato_Locale, Formato_Data,
// Formato_Ora and Formato_Ora_Secondi.
void Imposta_Formati_Locali(StatoShell &shell, const QLocale &locale = QLocale());

}  // namespace finestra
