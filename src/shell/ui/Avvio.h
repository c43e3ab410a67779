#pragma once

namespace wavelore {

// Creates the application and the main window and runs the event loop.
int Avvia(int argc, char *argv[]);

}  // namespace wavelore
