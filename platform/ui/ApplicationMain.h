#pragma once

namespace ui {

// The process entry the application calls: reads the host's options, boots the platform with
// the device profile, loads the main interface description and runs the loop. Returns the
// process exit status. The host running the platform defines it, as the phone's system library
// does; here that host is the simulator (sim/ApplicationMain.cpp).
int ApplicationMain(int argc, char** argv);

} // namespace ui
