#pragma once

#include <QString>
#include <functional>

// Runs `lavoro` a few times after a warm-up and prints
// "BENCH <name> <median> ms", the convention ./bench collects.
double MisuraMediana(const QString &nome, const std::function<void()> &lavoro, int ripetizioni = 9,
                     int riscaldamento = 2);
void StampaBench(const QString &nome, double valore, const QString &unita);
