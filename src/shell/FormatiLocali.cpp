#include "shell/FormatiLocali.h"

#include "shell/StatoShell.h"

namespace finestra {

void Imposta_Formati_Locali(StatoShell &shell, const QLocale &locale)
{
    const QString mezzo = locale.toString(0.5);
    const bool ue = mezzo.size() > 1 && mezzo.at(1) == QLatin1Char(',');
    if (ue) {
        shell.Formato_Locale = QStringLiteral("UE");
        shell.Formato_Data = QStringLiteral("DD/MM/YY");
        shell.Formato_Ora = QStringLiteral("h:mm");
        shell.Formato_Ora_Secondi = QStringLiteral("h:mm:ss");
    } else {
        shell.Formato_Locale = QStringLiteral("US");
        shell.Formato_Data = QStringLiteral("MM/DD/YY");
        shell.Formato_Ora = QStringLiteral("h:mm AM/PM");
        shell.Formato_Ora_Secondi = QStringLiteral("h:mm:ss AM/PM");
    }
}

}  // namespace finestra
