#pragma once

namespace graphics {

// How text that does not fit its width is broken or shortened, in the platform's order.
enum class LineBreakMode : int {
    WordWrap,
    CharacterWrap,
    Clip,
    TruncateHead,
    TruncateTail,
    TruncateMiddle
};

} // namespace graphics
