#pragma once

#include <QByteArray>
#include <QtGlobal>

// An environment variable set for as long as this lives, then put back as it was
// (unset again when it was not set).
class VariabileTemporanea {
public:
    VariabileTemporanea(const char *nome, const QByteArray &valore)
        : m_nome(nome), m_aveva(qEnvironmentVariableIsSet(nome)), m_precedente(qgetenv(nome))
    {
        qputenv(m_nome, valore);
    }
    ~VariabileTemporanea()
    {
        if (m_aveva)
            qputenv(m_nome, m_precedente);
        else
            qunsetenv(m_nome);
    }
    VariabileTemporanea(const VariabileTemporanea &) = delete;
    VariabileTemporanea &operator=(const VariabileTemporanea &) = delete;

private:
    const char *m_nome;
    bool m_aveva;
    QByteArray m_precedente;
};
