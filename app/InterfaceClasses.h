#pragma once

namespace kessa {

// Makes the application's classes known to interface descriptions.
void registerInterfaceClasses();

} // namespace kessa
