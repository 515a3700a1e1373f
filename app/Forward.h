#pragma once

namespace kessa {

class AppDelegate;
class ViewController;

} // namespace kessa
