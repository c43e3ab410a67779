#include "platform/NomiGradi.h"

namespace nomi_gradi {

namespace {

const Grado *Di(int grado)
{
    return grado >= 0 && grado <= costanti::Max_Grado ? &Tabella[size_t(grado)] : nullptr;
}

// "+4", "-1"; Kalvo 0 as `zero` says.
QString Numero(const Grado &g, const QString &zero)
{
    return g.kalvo > 0 ? QLatin1Char('+') + QString::number(g.kalvo) : g.kalvo < 0 ? QString::number(g.kalvo) : zero;
}

const QString Kalvo = QStringLiteral("Kalvo");

}  // namespace

QString Nome(int grado)
{
    const Grado *g = Di(grado);
    return g ? Kalvo + QLatin1Char(' ') + Numero(*g, QStringLiteral("0")) : QString();
}

QString Titolo(int grado)
{
    const Grado *g = Di(grado);
    if (!g)
        return QString();
    const QString numero = Numero(*g, QString());
    return QStringLiteral("  ") + Kalvo + (numero.isEmpty() ? QString() : QLatin1Char(' ') + numero) +
           QStringLiteral("  ") + QLatin1String(g->serie);
}

QString Etichetta(int grado)
{
    const Grado *g = Di(grado);
    return g ? Kalvo + Numero(*g, QString()) + QLatin1String(g->spazio) + QStringLiteral(": ") : QString();
}

bool Linea_Dopo(int grado)
{
    const Grado *g = Di(grado);
    return g && g->linea_dopo;
}

}  // namespace nomi_gradi
