#pragma once

#include "platform/foundation/Result.h"

#include <cstddef>
#include <string_view>

namespace foundation {

// Checks made on untrusted property-list bytes before libplist sees them: libplist builds and
// frees its tree recursively, so input that nests too deeply must be refused while it is
// still bytes. The checks are cheap, iterative and conservative: input they cannot vouch for
// is refused.
class PropertyListBounds {
public:
    // At most maxElementDepth elements open at once, counting every tag that is not a
    // comment, CDATA section, processing instruction or declaration.
    static Status checkXML(std::string_view text, int maxElementDepth);
    // Walks the object references from the top object: no path longer than maxDepth values,
    // no cycle, and no more than maxValues values once shared objects are expanded as the
    // parser expands them.
    static Status checkBinary(std::string_view bytes, int maxDepth, std::size_t maxValues);
};

} // namespace foundation
