#include "archive/DescrizioneArchivio.h"

#include "archive/TabSottostanti.h"
#include "platform/NomiGradi.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

namespace archivio {

namespace {

const StatoArchivio &sottostanti()
{
    static const std::unique_ptr<StatoArchivio> stato = [] {
        auto s = std::make_unique<StatoArchivio>();
        Inizializza_Tab_Sottostanti(*s);
        return s;
    }();
    return *stato;
}

// "del Dax", "dell'Eurostoxx".
QString delMercato(int u)
{
    const QString nome = sottostanti().Tab_Sottostanti[size_t(u)].Nome;
    static const QRegularExpression vocale(QStringLiteral("^[AEIOUaeiou]"));
    return (vocale.match(nome).hasMatch() ? QStringLiteral("dell'") : QStringLiteral("del ")) + nome;
}

// "a", "a e b", "a, b e c".
QString elenco(const QStringList &voci)
{
    if (voci.size() < 2)
        return voci.join(QString());
    return voci.mid(0, voci.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" e ") + voci.last();
}

}  // namespace

void DatiArchivio::Aggiungi(const QString &tabella, int id)
{
    static const QRegularExpression perGrado(QStringLiteral("^TAB(\\d+)$"));
    static const QRegularExpression oggetti(QStringLiteral("^Dati_(Linee|Testo|Dista)_S(\\d+)$"));
    const auto sottostante = [](int u) { return u >= 1 && u <= costanti::Num_Sottostanti; };
    const auto grado = [](int d) { return d >= 0 && d <= costanti::Max_Grado; };
    if (m_file == FileArchivio::Sistema3 && tabella == QLatin1String("TABAVV")) {
        m_gruppi[Genere::Avvio][0].insert(-1);
        return;
    }
    if (m_file == FileArchivio::Sistema3 && tabella == QLatin1String("TABGRAF") && sottostante(id)) {
        m_gruppi[Genere::Grafici][id].insert(-1);
        return;
    }
    if (const auto m = perGrado.match(tabella); m.hasMatch() && m_file != FileArchivio::Sistema1) {
        const int d = m.captured(1).toInt();
        if (grado(d) && sottostante(id)) {
            m_gruppi[m_file == FileArchivio::Sistema3 ? Genere::Cicli : Genere::Indicatori][id].insert(d);
            return;
        }
    }
    if (const auto m = oggetti.match(tabella); m.hasMatch() && m_file == FileArchivio::Sistema1) {
        const int u = m.captured(2).toInt();
        // Row ID = degree x 15 + slot, slots from 1.
        const int d = (id - 1) / costanti::Max_Linee;
        if (sottostante(u) && id >= 1 && grado(d)) {
            const QString tipo = m.captured(1);
            const Genere g = tipo == QLatin1String("Linee")   ? Genere::Linee
                             : tipo == QLatin1String("Testo") ? Genere::Testi
                                                              : Genere::Distanze;
            m_gruppi[g][u].insert(d);
            return;
        }
    }
    m_gruppi[Genere::Altro];
    m_altre.insert(tabella);
}

QString DatiArchivio::Testo(int massimo) const
{
    QStringList voci;
    for (const auto &[genere, mercati] : m_gruppi) {
        if (genere == Genere::Avvio) {
            voci << QStringLiteral("le impostazioni di avvio");
            continue;
        }
        if (genere == Genere::Altro) {
            for (const QString &t : m_altre)
                voci << QStringLiteral("i dati di %1").arg(t);
            continue;
        }
        static const char *const nomi[] = {"", "i cicli", "le impostazioni dei grafici", "gli indicatori",
                                           "le linee", "i testi", "le distanze"};
        // Markets that lost the same degrees are named together.
        std::map<std::set<int>, std::vector<int>> perGradi;
        for (const auto &[u, gradi] : mercati)
            perGradi[gradi].push_back(u);
        std::vector<std::pair<std::vector<int>, std::set<int>>> gruppi;
        for (const auto &[gradi, us] : perGradi)
            gruppi.emplace_back(us, gradi);
        std::sort(gruppi.begin(), gruppi.end());
        for (const auto &[us, gradi] : gruppi) {
            QString voce = QLatin1String(nomi[int(genere)]);
            if (int(us.size()) == costanti::Num_Sottostanti) {
                voce += QStringLiteral(" di ogni mercato");
            } else {
                QStringList m;
                for (int u : us)
                    m << delMercato(u);
                voce += QLatin1Char(' ') + elenco(m);
            }
            if (!gradi.count(-1) && int(gradi.size()) < costanti::Num_Gradi) {
                QStringList g;
                for (int d : gradi)
                    g << nomi_gradi::Nome(d);
                voce += (gradi.size() == 1 ? QStringLiteral(", grado ") : QStringLiteral(", gradi ")) + elenco(g);
            }
            voci << voce;
        }
    }
    if (voci.size() > massimo)
        return voci.mid(0, massimo).join(QStringLiteral("; ")) + QStringLiteral("; e altro ancora");
    return voci.join(QStringLiteral("; "));
}

}  // namespace archivio
