#pragma once

#include <QString>

struct StatoArchivio;
struct StatoCicli;
struct StatoMercato;
struct StatoProgramma;

// The five cycle texts of a degree's chart. `fineValida` is false when the end
// bar lies beyond the history or the future time axis: no end text is written.
struct TestiCiclo {
    QString durata;
    QString inizio;
    QString fine;
    bool fineValida = false;
    QString trascorso;
    QString residuo;
};

namespace ciclo {

TestiCiclo Componi_Testi_Ciclo(const StatoProgramma &programma, const StatoArchivio &archivio,
                               const StatoMercato &mercato, const StatoCicli &cicli, int grado);

}  // namespace ciclo
