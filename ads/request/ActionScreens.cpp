#include "ads/request/ActionScreens.h"

namespace pennant {

namespace {

// Installed once, before the first click; read on the main thread only afterwards.
std::shared_ptr<ActionScreens>& installedScreens() {
    static std::shared_ptr<ActionScreens> screens;
    return screens;
}

} // namespace

void ActionScreens::install(std::shared_ptr<ActionScreens> screens) {
    installedScreens() = std::move(screens);
}

std::shared_ptr<ActionScreens> ActionScreens::installed() { return installedScreens(); }

} // namespace pennant
