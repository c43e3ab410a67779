#pragma once

#include "VariabileTemporanea.h"

#include <QString>
#include <QTemporaryDir>

// A fresh program folder for one test: WAVELORE_HOME points at it while it lives.
class CartellaTemporanea {
public:
    CartellaTemporanea() = default;
    CartellaTemporanea(const CartellaTemporanea &) = delete;
    CartellaTemporanea &operator=(const CartellaTemporanea &) = delete;

    QString percorso() const { return m_dir.path(); }
    QString sistema() const;  // <folder>/Sistema, created

private:
    QTemporaryDir m_dir;
    VariabileTemporanea m_home{"WAVELORE_HOME", m_dir.path().toUtf8()};
};
