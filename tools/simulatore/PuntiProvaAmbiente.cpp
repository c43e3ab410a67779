#include "simulatore/PuntiProvaAmbiente.h"

#include <QByteArray>
#include <chrono>
#include <cstdlib>
#include <thread>

PuntiProvaAmbiente::PuntiProvaAmbiente()
    : m_ritardoMs(qEnvironmentVariableIntValue("WAVELORE_PROVA_RITARDO_BLOCCO")),
      m_senzaCaratteri(qEnvironmentVariableIsSet("WAVELORE_PROVA_SENZA_CARATTERI"))
{
    const QByteArray passo = qgetenv("WAVELORE_PROVA_ARRESTO_RIPARAZIONE");
    const char *const passi[] = {"copia", "completa", "accantonato", "in_posto"};
    for (int i = 0; i < 4; ++i)
        if (passo == passi[i])
            m_arresto = i;
}

void PuntiProvaAmbiente::Passo_Riparazione(PassoRiparazione passo)
{
    if (int(passo) == m_arresto)
        std::_Exit(Codice_Arresto);
}

void PuntiProvaAmbiente::Prima_Del_Blocco()
{
    if (m_ritardoMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(m_ritardoMs));
}
