#include "market/Protocollo.h"

#include "platform/Codec1252.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// Whether a byte in 0x80..0x9F lies in p[0..n), eight bytes at a time.
bool ControlloC1(const char *p, qsizetype n)
{
    constexpr quint64 uno = 0x0101010101010101ull;
    constexpr quint64 alto = 0x8080808080808080ull;
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        // A byte of the range has 100 in its top three bits: its masked value is 0x80.
        const quint64 v = (w & (0xE0 * uno)) ^ alto;
        if (((v - uno) & ~v & alto) != 0)
            return true;
    }
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c >= 0x80 && c < 0xA0)
            return true;
    }
    return false;
}

// Windows-1252 and Latin-1 differ only in 0x80..0x9F, which is rare in practice.
QString DecodificaTesto(const char *p, qsizetype n)
{
    if (ControlloC1(p, n))
        return codec1252::Decodifica(QByteArrayView(p, n));
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

QStringList Messaggio::Campi() const
{
    QStringList c;
    c.reserve(NumeroCampi());
    for (int k = 1; k <= NumeroCampi(); ++k)
        c.append(Campo(k));
    return c;
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
    return m_buffer.size() - (m_inMessaggio ? m_messaggio : m_inizio);
}

Messaggio Decodificatore::Estrai(bool completo)
{
    Messaggio m;
    m.Codice = CodiceCondiviso(m_buffer.constData() + m_messaggio);
    m.Completo = completo;
    m.m_testo = DecodificaTesto(m_buffer.constData() + m_messaggio, m_inizio - m_messaggio);
    m.m_fine = m_fine;
    m_esaminati += m_inizio - m_messaggio;
    m_fine.clear();
    m_inMessaggio = false;
    return m;
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
            m_attesi = attesi;
            m_inMessaggio = true;
            m_messaggio = m_inizio;
            m_fine.clear();
            m_fine.append(6);
            m_inizio += 7;
            m_scansione = m_inizio;
        }
        bool attende = false;
        bool completo = true;
        while (m_fine.size() <= m_attesi) {
            // The search goes on where the last read stopped, never from the field's start.
            const qsizetype fine = CercaTerminatore(m_scansione);
            if (fine < 0) {
                m_scansione = m_buffer.size();
                attende = true;
                break;
            }
            int altro = 0;
            if (fine - m_inizio == 6 && CodiceNoto(m_inizio, &altro)) {
                completo = false;  // the next message starts here
                break;
            }
            if (fine + 1 - m_messaggio > Limite_Messaggio) {
                Trabocca();
                return uscita;
            }
            m_fine.append(int(fine - m_messaggio));
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
        uscita.push_back(Estrai(completo));
    }
    Compatta();
    return uscita;
}

void Decodificatore::Compatta()
{
    // An unfinished message stays whole: it is cut into fields only once it ends.
    const qsizetype taglio = m_inMessaggio ? m_messaggio : m_inizio;
    if (taglio >= m_buffer.size()) {
        m_buffer.resize(0);  // keeps its capacity for the next read
    } else if (taglio > 65536 || taglio * 2 > m_buffer.size()) {
        m_buffer.remove(0, taglio);
    } else {
        return;
    }
    m_scansione = std::max<qsizetype>(0, m_scansione - taglio);
    m_inizio -= std::min(m_inizio, taglio);
    m_messaggio -= std::min(m_messaggio, taglio);
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
    m_messaggio = 0;
    m_fine.clear();
    m_attesi = 0;
    m_scansione = 0;
    m_traboccato = false;
}

}  // namespace protocollo
