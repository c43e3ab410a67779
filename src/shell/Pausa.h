#pragma once

// The program's one way of waiting.

namespace finestra {

// Waits about `secondi` seconds while every pending window, timer and socket event
// is handled. Measured on a monotonic clock, so a pause across midnight still ends;
// 0 (or less) handles the pending events once and returns.
void Pausa(double secondi);

}  // namespace finestra
