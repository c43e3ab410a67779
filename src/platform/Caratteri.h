#pragma once

// The program carries the face its forms and charts were laid out for (Arial's
// metrics; caratteri/OFL.txt has its licence) and registers it at start, so a
// machine without it installed shows the same whole texts.

namespace schermo {

// Registers the shipped regular and bold faces once and has every request for Arial
// served by them. Needs a QGuiApplication; false when the faces could not be added.
bool Registra_Caratteri();

}  // namespace schermo
