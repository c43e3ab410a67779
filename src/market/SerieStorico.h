#pragma once

#include <QDate>
#include <vector>

// One bar of a history series. Times are minutes since midnight; daily bars use 0.
struct BarraStorico {
    QDate data;
    int minuti = 0;
    double chiusura = 0.0;
    double volume = 0.0;

    bool operator==(const BarraStorico &) const = default;
};

// A history series of fixed capacity with 1-based access, bar 1 the newest.
class SerieStorico {
public:
    explicit SerieStorico(int capacita = 0) : m_barre(capacita) {}

    int capacita() const { return int(m_barre.size()); }
    // i in 1..capacita()
    BarraStorico &barra(int i) { return m_barre[size_t(i - 1)]; }
    const BarraStorico &barra(int i) const { return m_barre[size_t(i - 1)]; }
    bool valida(int i) const { return i >= 1 && i <= capacita(); }

    std::vector<BarraStorico> &barre() { return m_barre; }
    const std::vector<BarraStorico> &barre() const { return m_barre; }

private:
    std::vector<BarraStorico> m_barre;
};
