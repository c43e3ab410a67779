#pragma once

class QComboBox;

namespace finestra {

// A closed list changes its value by a click or by keys while it has the focus,
// never by a mouse wheel passing over it: the wheel goes on to what lies beneath.
void Ignora_Rotella(QComboBox *elenco);

}  // namespace finestra
