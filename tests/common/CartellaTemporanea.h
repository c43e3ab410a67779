#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh program folder for one test: WAVELORE_HOME points at it while it lives.
class CartellaTemporanea {
public:
    CartellaTemporanea();
    ~CartellaTemporanea();
    CartellaTemporanea(const CartellaTemporanea &) = delete;
    CartellaTemporanea &operator=(const CartellaTemporanea &) = delete;

    QString percorso() const { return m_dir.path(); }
    QString sistema() const;  // <folder>/Sistema, created

private:
    QTemporaryDir m_dir;
    QByteArray m_precedente;
    bool m_avevaPrecedente = false;
};
