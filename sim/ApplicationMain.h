#pragma once

namespace ui {

// The process entry the application calls: reads the simulator's options, boots the platform
// with the device profile, loads the main interface description and runs the loop. Returns
// the process exit status.
int ApplicationMain(int argc, char** argv);

} // namespace ui
