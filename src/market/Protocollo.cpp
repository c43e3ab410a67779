#include "market/Protocollo.h"

#include "platform/Codec1252.h"

#include <algorithm>
#include <array>
#include <utility>

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

qsizetype Decodificatore::CercaCodice(qsizetype da)
{
    int n = 0;
    for (qsizetype j = m_buffer.indexOf("COMM", da); j >= 0; j = m_buffer.indexOf("COMM", j + 1)) {
        // j + 7 beyond the end: may be a code still arriving.
        if (j + 7 > m_buffer.size() || CodiceNoto(j, &n)) {
            m_esaminati += std::min(j + 7, m_buffer.size()) - da;
            return j;
        }
    }
    m_esaminati += m_buffer.size() - da;
    return -1;
}

qsizetype Decodificatore::CercaTerminatore(qsizetype da)
{
    const qsizetype fine = m_buffer.indexOf(Terminatore, da);
    m_esaminati += (fine >= 0 ? fine + 1 : m_buffer.size()) - da;
    return fine;
}

qsizetype Decodificatore::InAttesa() const
{
    return m_buffer.size() - m_inizio + (m_inMessaggio ? m_byteMessaggio : 0);
}

std::vector<Messaggio> Decodificatore::Aggiungi(const QByteArray &byte)
{
    std::vector<Messaggio> uscita;
    if (m_traboccato)
        return uscita;
    uscita.reserve(size_t(byte.size() / 48 + 1));  // a tick is about 50 bytes
    m_buffer.append(byte);
    for (;;) {
        if (!m_inMessaggio) {
            const qsizetype disponibili = m_buffer.size() - m_inizio;
            if (disponibili < 7) {
                // Too short to tell; but bytes that cannot start a code are dropped now.
                const char *inizio = "COMM";
                for (qsizetype k = 0; k < disponibili && k < 4; ++k) {
                    if (m_buffer[m_inizio + k] != inizio[k]) {
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
                // Without one, only the last three bytes may still begin one.
                const qsizetype j = CercaCodice(m_inizio + 1);
                if (j < 0) {
                    m_inizio = m_buffer.size() - 3;
                    break;
                }
                m_inizio = j;
                continue;
            }
            m_corrente.Codice = CodiceCondiviso(m_buffer.constData() + m_inizio);
            m_corrente.Campi.reserve(attesi);
            m_attesi = attesi;
            m_inMessaggio = true;
            m_byteMessaggio = 7;
            m_inizio += 7;
            m_scansione = m_inizio;
        }
        bool attende = false;
        while (m_corrente.Campi.size() < m_attesi) {
            // The search goes on where the last read stopped, never from the field's start.
            const qsizetype fine = CercaTerminatore(m_scansione);
            if (fine < 0) {
                m_scansione = m_buffer.size();
                attende = true;
                break;
            }
            int altro = 0;
            if (fine - m_inizio == 6 && CodiceNoto(m_inizio, &altro)) {
                m_corrente.Completo = false;  // the next message starts here
                break;
            }
            if (m_byteMessaggio + fine + 1 - m_inizio > Limite_Messaggio) {
                Trabocca();
                return uscita;
            }
            m_corrente.Campi.append(DecodificaCampo(m_buffer.constData() + m_inizio, fine - m_inizio));
            m_esaminati += fine - m_inizio;
            m_byteMessaggio += fine + 1 - m_inizio;
            m_inizio = fine + 1;
            m_scansione = m_inizio;
        }
        if (attende) {
            if (InAttesa() > Limite_Messaggio) {
                Trabocca();
                return uscita;
            }
            break;
        }
        m_inMessaggio = false;
        uscita.push_back(std::exchange(m_corrente, Messaggio()));
    }
    Compatta();
    return uscita;
}

void Decodificatore::Compatta()
{
    if (m_inizio >= m_buffer.size()) {
        m_buffer.clear();
    } else if (m_inizio > 65536 || m_inizio * 2 > m_buffer.size()) {
        m_buffer.remove(0, m_inizio);
    } else {
        return;
    }
    m_scansione = std::max<qsizetype>(0, m_scansione - m_inizio);
    m_inizio = 0;
}

void Decodificatore::Trabocca()
{
    Azzera();
    m_traboccato = true;
}

void Decodificatore::Azzera()
{
    m_buffer = QByteArray();
    m_inizio = 0;
    m_inMessaggio = false;
    m_corrente = Messaggio();
    m_attesi = 0;
    m_byteMessaggio = 0;
    m_scansione = 0;
    m_traboccato = false;
}

}  // namespace protocollo
