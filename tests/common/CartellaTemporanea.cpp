#include "CartellaTemporanea.h"

#include <QDir>

CartellaTemporanea::CartellaTemporanea()
{
    m_avevaPrecedente = qEnvironmentVariableIsSet("WAVELORE_HOME");
    m_precedente = qgetenv("WAVELORE_HOME");
    qputenv("WAVELORE_HOME", m_dir.path().toUtf8());
}

CartellaTemporanea::~CartellaTemporanea()
{
    if (m_avevaPrecedente)
        qputenv("WAVELORE_HOME", m_precedente);
    else
        qunsetenv("WAVELORE_HOME");
}

QString CartellaTemporanea::sistema() const
{
    const QString p = m_dir.path() + QStringLiteral("/Sistema");
    QDir().mkpath(p);
    return p;
}
