#pragma once

namespace pennant {
class Controller;
class View;
} // namespace pennant
