#pragma once

// The test points a child process is told by its environment, for the tests that start a
// whole program:
//   WAVELORE_PROVA_ARRESTO_RIPARAZIONE  copia | completa | accantonato | in_posto: the process
//                                       ends with status 86 at that step of a repair, as a crash would;
//   WAVELORE_PROVA_RITARDO_BLOCCO       milliseconds between opening the single-copy lock's
//                                       folder or file and locking it;
//   WAVELORE_PROVA_SENZA_CARATTERI      set: the program's face is sought where there is none.
// The shipped program never reads them: only tools/wavelore-prova and the tests set these points.

#include "platform/PuntiProva.h"

class PuntiProvaAmbiente : public PuntiProva {
public:
    PuntiProvaAmbiente();
    void Passo_Riparazione(PassoRiparazione passo) override;
    void Prima_Del_Blocco() override;
    bool Senza_Caratteri() override { return m_senzaCaratteri; }

    // Status of a process ended at a step of a repair.
    static constexpr int Codice_Arresto = 86;

private:
    int m_arresto = -1;  // the step, as a PassoRiparazione
    int m_ritardoMs = 0;
    bool m_senzaCaratteri = false;
};
