#include "platform/foundation/Assertions.h"

#include "platform/foundation/RunLoop.h"

#include <cstdio>
#include <cstdlib>

namespace foundation {

void verificationFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "VERIFY(%s) failed at %s:%d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}

void assertIsMainThread() { VERIFY(RunLoop::main().isLoopThread()); }

} // namespace foundation
