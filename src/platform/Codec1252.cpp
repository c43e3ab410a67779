#include "platform/Codec1252.h"

#include <array>

namespace codec1252 {

namespace {

// 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined (kept as C1 controls).
constexpr std::array<char16_t, 32> alti = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

char16_t daByte(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F && alti[b - 0x80] != 0)
        return alti[b - 0x80];
    return char16_t(b);
}

int aByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i)
        if (alti[size_t(i)] == c)
            return 0x80 + i;
    if (c >= 0x80 && c <= 0x9F && alti[size_t(c - 0x80)] == 0)
        return int(c);  // undefined bytes round-trip as their C1 control
    return -1;
}

}  // namespace

QString Decodifica(QByteArrayView byte)
{
    QString s;
    s.resize(byte.size());
    for (qsizetype i = 0; i < byte.size(); ++i)
        s[i] = QChar(daByte(static_cast<unsigned char>(byte[i])));
    return s;
}

QByteArray Codifica(const QString &testo, bool *ok)
{
    QByteArray b;
    b.resize(testo.size());
    bool tutti = true;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const int v = aByte(testo[i].unicode());
        if (v < 0) {
            tutti = false;
            b[i] = '?';
        } else {
            b[i] = char(v);
        }
    }
    if (ok)
        *ok = tutti;
    return b;
}

bool Codificabile(const QString &testo)
{
    bool ok = false;
    Codifica(testo, &ok);
    return ok;
}

}  // namespace codec1252
