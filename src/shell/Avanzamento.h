#pragma once

#include <QString>

// The twelve loading steps: each shows one caption and one percentage on the
// start panel and on the change-of-underlying panel.
struct PassoAvanzamento {
    bool valido = false;   // false outside 1..12: captions unchanged, bars to 0
    int percentuale = 0;
    QString didascalia;
};

namespace finestra {

// Step 2 reads differently ONLINE (the history comes from the server).
PassoAvanzamento Passo_Avanzamento(int passo, const QString &modalita);

}  // namespace finestra
