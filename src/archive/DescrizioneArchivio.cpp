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

namespace {

bool sottostante(int u) { return u >= 1 && u <= costanti::Num_Sottostanti; }
bool grado(int d) { return d >= 0 && d <= costanti::Max_Grado; }

}  // namespace

void DatiArchivio::Aggiungi(const QString &tabella, int id)
{
    const bool noto = m_file == FileArchivio::Sistema1 ? aggiungiOggetto(tabella, id) : aggiungiImpostazione(tabella, id);
    if (!noto) {
        m_gruppi[Genere::Altro];
        m_altre.insert(tabella);
    }
}

// A row of Sistema2.dat or Sistema3.dat under its kind, market and degree; false for a
// table or row the program does not know.
bool DatiArchivio::aggiungiImpostazione(const QString &tabella, int id)
{
    static const QRegularExpression perGrado(QStringLiteral("^TAB(\\d+)$"));
    const bool sistema3 = m_file == FileArchivio::Sistema3;
    if (sistema3 && tabella == QLatin1String("TABAVV")) {
        m_gruppi[Genere::Avvio][0].insert(-1);
        return true;
    }
    if (sistema3 && tabella == QLatin1String("TABGRAF")) {
        if (sottostante(id))
            m_gruppi[Genere::Grafici][id].insert(-1);
        return sottostante(id);
    }
    const auto m = perGrado.match(tabella);
    const int d = m.hasMatch() ? m.captured(1).toInt() : -1;
    if (!grado(d) || !sottostante(id))
        return false;
    m_gruppi[sistema3 ? Genere::Cicli : Genere::Indicatori][id].insert(d);
    return true;
}

// A row of the lines, texts or distances of Sistema1.dat.
bool DatiArchivio::aggiungiOggetto(const QString &tabella, int id)
{
    static const QRegularExpression oggetti(QStringLiteral("^Dati_(Linee|Testo|Dista)_S(\\d+)$"));
    const auto m = oggetti.match(tabella);
    // Row ID = degree x 15 + slot, slots from 1.
    const int d = (id - 1) / costanti::Max_Linee;
    if (!m.hasMatch() || !sottostante(m.captured(2).toInt()) || id < 1 || !grado(d))
        return false;
    const QString tipo = m.captured(1);
    const Genere g = tipo == QLatin1String("Linee")   ? Genere::Linee
                     : tipo == QLatin1String("Testo") ? Genere::Testi
                                                      : Genere::Distanze;
    m_gruppi[g][m.captured(2).toInt()].insert(d);
    return true;
}

QString DatiArchivio::Testo(int massimo) const
{
    QStringList voci;
    for (const auto &[genere, mercati] : m_gruppi) {
        if (genere == Genere::Avvio) {
            voci << QStringLiteral("le impostazioni di avvio");
        } else if (genere == Genere::Altro) {
            for (const QString &t : m_altre)
                voci << QStringLiteral("i dati di %1").arg(t);
        } else {
            voci << vociPerMercato(genere, mercati);
        }
    }
    if (voci.size() > massimo)
        return voci.mid(0, massimo).join(QStringLiteral("; ")) + QStringLiteral("; e altro ancora");
    return voci.join(QStringLiteral("; "));
}

// One text for the markets that lost the same degrees of one kind: "le linee del Dax e
// del Bund, grado Kalvo +4".
QStringList DatiArchivio::vociPerMercato(Genere genere, const std::map<int, std::set<int>> &mercati)
{
    static const char *const nomi[] = {"", "i cicli", "le impostazioni dei grafici", "gli indicatori",
                                       "le linee", "i testi", "le distanze"};
    std::map<std::set<int>, std::vector<int>> perGradi;
    for (const auto &[u, gradi] : mercati)
        perGradi[gradi].push_back(u);
    std::vector<std::pair<std::vector<int>, std::set<int>>> gruppi;
    for (const auto &[gradi, us] : perGradi)
        gruppi.emplace_back(us, gradi);
    std::sort(gruppi.begin(), gruppi.end());
    QStringList voci;
    for (const auto &[us, gradi] : gruppi)
        voci << QLatin1String(nomi[int(genere)]) + QLatin1Char(' ') + quali(us, gradi);
    return voci;
}

// "di ogni mercato", "del Dax, grado Kalvo +4", "del Dax e del Bund, gradi Kalvo +1 e Kalvo 0".
QString DatiArchivio::quali(const std::vector<int> &mercati, const std::set<int> &gradi)
{
    QString voce;
    if (int(mercati.size()) == costanti::Num_Sottostanti) {
        voce = QStringLiteral("di ogni mercato");
    } else {
        QStringList m;
        for (int u : mercati)
            m << delMercato(u);
        voce = elenco(m);
    }
    if (gradi.count(-1) || int(gradi.size()) == costanti::Num_Gradi)
        return voce;
    QStringList g;
    for (int d : gradi)
        g << nomi_gradi::Nome(d);
    return voce + (gradi.size() == 1 ? QStringLiteral(", grado ") : QStringLiteral(", gradi ")) + elenco(g);
}

}  // namespace archivio
