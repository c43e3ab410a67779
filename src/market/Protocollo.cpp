#include "market/Protocollo.h"

#include "platform/Codec1252.h"

#include <array>

namespace protocollo {

namespace {

struct Voce {
    const char *codice;
    int campi;
};

// Fields of every message the server sends.
constexpr Voce CatalogoServer[] = {
    {"COMM12", 3}, {"COMM13", 0}, {"COMM14", 1}, {"COMM16", 0}, {"COMM17", 2},
    {"COMM19", 3}, {"COMM20", 1}, {"COMM25", 1}, {"COMM31", 4}, {"COMM33", 12},
    {"COMM35", 0}, {"COMM37", 32},
};

// Fields of every message the client sends.
constexpr Voce CatalogoClient[] = {
    {"COMM11", 3}, {"COMM15", 2}, {"COMM18", 0}, {"COMM30", 1},
    {"COMM32", 0}, {"COMM34", 1}, {"COMM36", 1},
};

int cerca(Verso verso, const char *p)
{
    // p points at six bytes "COMMdd".
    if (p[0] != 'C' || p[1] != 'O' || p[2] != 'M' || p[3] != 'M')
        return -1;
    if (p[4] < '0' || p[4] > '9' || p[5] < '0' || p[5] > '9')
        return -1;
    const int numero = (p[4] - '0') * 10 + (p[5] - '0');
    auto trova = [numero](const auto &catalogo) {
        for (const Voce &v : catalogo) {
            if ((v.codice[4] - '0') * 10 + (v.codice[5] - '0') == numero)
                return v.campi;
        }
        return -1;
    };
    return verso == Verso::DalServer ? trova(CatalogoServer) : trova(CatalogoClient);
}

// Codes are shared texts, so a decoded message allocates nothing for its code.
QString CodiceCondiviso(const char *p)
{
    static const std::array<QString, 100> codici = [] {
        std::array<QString, 100> c;
        for (int n = 0; n < 100; ++n)
            c[size_t(n)] = QStringLiteral("COMM%1").arg(n, 2, 10, QLatin1Char('0'));
        return c;
    }();
    return codici[size_t((p[4] - '0') * 10 + (p[5] - '0'))];
}

QString DecodificaCampo(const char *p, qsizetype n)
{
    // Plain ASCII is the common case and needs no table.
    for (qsizetype i = 0; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return codec1252::Decodifica(QByteArray(p, n));
    }
    return QString::fromLatin1(p, n);
}

}  // namespace

int CampiAttesi(Verso verso, const QString &codice)
{
    if (codice.size() != 6)
        return -1;
    const QByteArray b = codice.toLatin1();
    return cerca(verso, b.constData());
}

QString Componi(const QString &codice, const QStringList &campi)
{
    QString t = codice;
    t += TerminatoreTesto;
    for (const QString &c : campi) {
        t += c;
        t += TerminatoreTesto;
    }
    return t;
}

bool Decodificatore::CodiceNoto(qsizetype i, int *campi) const
{
    if (i + 7 > m_buffer.size() || m_buffer[i + 6] != Terminatore)
        return false;
    const int n = cerca(m_verso, m_buffer.constData() + i);
    if (n < 0)
        return false;
    *campi = n;
    return true;
}

qsizetype Decodificatore::CercaCodice(qsizetype da) const
{
    int n = 0;
    for (qsizetype j = m_buffer.indexOf("COMM", da); j >= 0; j = m_buffer.indexOf("COMM", j + 1)) {
        if (j + 7 > m_buffer.size())
            return j;  // may be a code still arriving
        if (CodiceNoto(j, &n))
            return j;
    }
    return -1;
}

std::vector<Messaggio> Decodificatore::Aggiungi(const QByteArray &byte)
{
    std::vector<Messaggio> uscita;
    uscita.reserve(size_t(byte.size() / 48 + 1));  // a tick is about 50 bytes
    m_buffer.append(byte);
    const char *dati = m_buffer.constData();
    for (;;) {
        const qsizetype disponibili = m_buffer.size() - m_inizio;
        if (disponibili < 7) {
            // Too short to tell; but bytes that cannot start a code are dropped now.
            const QByteArray inizio("COMM");
            for (qsizetype k = 0; k < disponibili && k < 4; ++k) {
                if (dati[m_inizio + k] != inizio[k]) {
                    const qsizetype j = CercaCodice(m_inizio + 1);
                    m_inizio = j >= 0 ? j : m_buffer.size() - std::min<qsizetype>(disponibili - 1, 3);
                    break;
                }
            }
            break;
        }
        int attesi = 0;
        if (!CodiceNoto(m_inizio, &attesi)) {
            // Not a message start (unknown code or stray bytes): skip to the next known code.
            const qsizetype j = CercaCodice(m_inizio + 1);
            if (j < 0) {
                m_inizio = m_buffer.size() - 6;
                break;
            }
            m_inizio = j;
            continue;
        }
        Messaggio m;
        m.Codice = CodiceCondiviso(dati + m_inizio);
        m.Campi.reserve(attesi);
        qsizetype cursore = m_inizio + 7;
        bool incompleto = false;
        for (int k = 0; k < attesi; ++k) {
            const qsizetype fine = m_buffer.indexOf(Terminatore, cursore);
            if (fine < 0) {
                incompleto = true;
                break;
            }
            int altro = 0;
            if (fine - cursore == 6 && CodiceNoto(cursore, &altro)) {
                m.Completo = false;  // the next message starts here
                break;
            }
            m.Campi.append(DecodificaCampo(dati + cursore, fine - cursore));
            cursore = fine + 1;
        }
        if (incompleto)
            break;
        m_inizio = cursore;
        uscita.push_back(std::move(m));
    }
    if (m_inizio >= m_buffer.size()) {
        m_buffer.clear();
        m_inizio = 0;
    } else if (m_inizio > 65536 || m_inizio * 2 > m_buffer.size()) {
        m_buffer.remove(0, m_inizio);
        m_inizio = 0;
    }
    return uscita;
}

void Decodificatore::Azzera()
{
    m_buffer.clear();
    m_inizio = 0;
}

}  // namespace protocollo
