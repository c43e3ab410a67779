#pragma once

// Where a test steps into the program: at each step of an archive repair (to end the
// process there as a crash would, or to change a file behind the repair's back), between
// opening the single-copy lock and taking it (to widen the race of two starts), and when
// the program's face is registered (to have it missing). The shipped program sets none, and
// then every point does nothing; the tests and the test build of the program
// (tools/wavelore-prova) set theirs.

// The steps of a repair, in their order.
enum class PassoRiparazione {
    Copia,        // rows half copied into the new file
    Completa,     // new file synced beside the damaged one, its notice kept beside it
    Accantonato,  // damaged file set aside, the new one not yet in its place
    In_Posto      // new file in place, its notice not yet shown
};

class PuntiProva {
public:
    virtual ~PuntiProva() = default;
    virtual void Passo_Riparazione(PassoRiparazione passo) = 0;
    virtual void Prima_Del_Blocco() = 0;
    // True: the faces are sought where there are none.
    virtual bool Senza_Caratteri() = 0;
};

namespace punti_prova {

// From now on the program calls `punti` (nullptr: nothing). Set before anything runs that
// reaches a point, and kept alive until the end.
void Imposta(PuntiProva *punti);

void Passo_Riparazione(PassoRiparazione passo);
void Prima_Del_Blocco();
bool Senza_Caratteri();

}  // namespace punti_prova
