#pragma once

#include "shell/ui/DialoghiFinestra.h"

#include <cstdio>

// A benchmark's window dialogs: loading failures printed, no question answered Yes.
struct FallimentiStampati : DialoghiFinestra {
    bool Domanda_RT(const QString &, const QString &) override { return false; }
    void Fallimento(const QString &m) override { std::fprintf(stderr, "%s\n", qPrintable(m)); }
    void Avviso_Caricamento(const QString &) override {}
    void Apri_Url(const QUrl &) override {}
};
