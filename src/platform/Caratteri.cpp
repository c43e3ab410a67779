#include "platform/Caratteri.h"

#include "platform/PuntiProva.h"
#include "platform/Schermo.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

namespace schermo {

bool Registra_Caratteri()
{
    static bool registrati = false;
    if (registrati)
        return true;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    // A test has the faces sought where there are none, to see the start say so.
    const QString cartella =
        punti_prova::Senza_Caratteri() ? QStringLiteral(":/caratteri-assenti/") : QStringLiteral(":/caratteri/");
    bool ok = true;
    for (const char *file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(cartella + QLatin1String(file));
        ok = ok && id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(Famiglia_Testi());
    }
    // Fontconfig would serve a bare "Arial" with whatever sans face the machine has.
    QFont::insertSubstitution(QStringLiteral("Arial"), Famiglia_Testi());
    registrati = ok;
    return ok;
}

}  // namespace schermo
