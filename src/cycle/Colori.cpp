#include "cycle/Colori.h"

#include "cycle/StatoCicli.h"

namespace ciclo {

namespace {

constexpr std::uint32_t rgb(std::uint32_t esadecimale)
{
    // #RRGGBB -> 0x00BBGGRR
    return ((esadecimale >> 16) & 0xFF) | (esadecimale & 0xFF00) | ((esadecimale & 0xFF) << 16);
}

struct Voce {
    int indice;
    std::uint32_t scuro;
    std::uint32_t chiaro;
};

constexpr Voce Dipendenti[] = {
    {0, rgb(0x000000), rgb(0xFFFFFF)},  {1, rgb(0xFFFFFF), rgb(0x000000)},  {2, rgb(0xFFFFFF), rgb(0x808080)},
    {12, rgb(0x009944), rgb(0x009944)}, {13, rgb(0xFFFFFF), rgb(0x000000)}, {14, rgb(0xFFFF00), rgb(0x0000FF)},
    {20, rgb(0x000000), rgb(0xFFFFFF)}, {70, rgb(0xFFFFFF), rgb(0x000000)}, {80, rgb(0x000000), rgb(0xFFFFFF)},
    {81, rgb(0xFFFFFF), rgb(0x000000)}, {86, rgb(0x5F5F5F), rgb(0xBFBAAF)}, {87, rgb(0x444F51), rgb(0xBFBAAF)},
    {88, rgb(0x000000), rgb(0xFFFFFF)},
};

struct Comune {
    int indice;
    std::uint32_t valore;
};

constexpr Comune Comuni[] = {
    {10, rgb(0x000000)}, {11, rgb(0xD12D33)}, {21, rgb(0x00FF00)}, {30, rgb(0xFF0000)}, {31, rgb(0x0000FF)},
    {32, rgb(0x00FF00)}, {33, rgb(0xF9D616)}, {34, rgb(0x00FFFF)}, {40, Colore_Faccia_Pulsante},
    {41, Colore_Faccia_Pulsante}, {42, rgb(0x84E2A8)}, {50, rgb(0xFF0000)}, {51, rgb(0x00BCE2)},
    {52, rgb(0xF99B0C)}, {53, rgb(0xF9D616)}, {54, rgb(0x8E8C7A)}, {55, rgb(0xC6C1B2)}, {56, rgb(0xFF0000)},
    {57, rgb(0xD14414)}, {58, rgb(0xF9D616)}, {59, rgb(0xF7B50C)}, {60, rgb(0xEA4F00)}, {61, rgb(0xF9848E)},
    {62, rgb(0xA5DDE2)}, {63, rgb(0xFCCE87)}, {64, rgb(0xF9D616)}, {65, rgb(0xBABFB7)}, {66, rgb(0xCEEA82)},
    {67, rgb(0x8CD600)}, {68, rgb(0x56AA1C)}, {69, rgb(0x54BC00)}, {82, rgb(0xFF0000)}, {83, rgb(0x009944)},
    {84, rgb(0x353842)}, {85, rgb(0x808080)},
};

static_assert(rgb(0xD12D33) == 0x332DD1);

}  // namespace

std::array<std::uint32_t, 101> TabellaColori(int aspetto)
{
    std::array<std::uint32_t, 101> t{};
    for (const Voce &v : Dipendenti)
        t[size_t(v.indice)] = aspetto == 1 ? v.chiaro : v.scuro;
    for (const Comune &c : Comuni)
        t[size_t(c.indice)] = c.valore;
    return t;
}

void Imposta_Colori(StatoCicli &cicli, int aspetto)
{
    const auto t = TabellaColori(aspetto);
    std::copy(t.begin(), t.end(), cicli.Colori.begin());
}

}  // namespace ciclo
