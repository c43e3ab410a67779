// The program as shipped, with the test points its environment names
// (simulatore/PuntiProvaAmbiente.h): the tests that start a whole program with a point set
// start this one. Never shipped.

#include "shell/ui/Avvio.h"
#include "simulatore/PuntiProvaAmbiente.h"

int main(int argc, char *argv[])
{
    static PuntiProvaAmbiente punti;
    punti_prova::Imposta(&punti);
    return wavelore::Avvia(argc, argv);
}
