#include "CartellaTemporanea.h"

#include <QDir>

QString CartellaTemporanea::sistema() const
{
    const QString p = m_dir.path() + QStringLiteral("/Sistema");
    QDir().mkpath(p);
    return p;
}
