#pragma once

// The whole state of one client session. Each subsystem keeps its values in its
// own struct, under the names the rest of the program knows them by; FormS1 owns
// the one instance, computation takes the parts it needs by reference.

#include "shell/StatoShell.h"
#include "archive/StatoArchivio.h"
#include "market/StatoMercato.h"
#include "cycle/StatoCicli.h"
#include "indicators/StatoIndicatori.h"
#include "drawing/StatoDisegno.h"

struct Stato {
    StatoShell shell;
    StatoArchivio archivio;
    StatoMercato mercato;
    StatoCicli cicli;
    StatoIndicatori indicatori;
    StatoDisegno disegno;
};
