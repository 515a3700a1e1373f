#pragma once

namespace graphics {

enum class TextAlignment : int { Left, Center, Right };

} // namespace graphics
