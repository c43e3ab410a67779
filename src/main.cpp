#include "shell/ui/Avvio.h"

int main(int argc, char *argv[])
{
    return wavelore::Avvia(argc, argv);
}
