#pragma once

// Checks that stay on in every build: a broken invariant here would corrupt state silently,
// so the process stops with the condition and its place instead.
#define VERIFY(condition)                                                                          \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::foundation::verificationFailed(#condition, __FILE__, __LINE__))

namespace foundation {

[[noreturn]] void verificationFailed(const char* condition, const char* file, int line);

// Views, timers, run-loop scheduling, notifications and downloads belong to the main loop's
// thread; their entry points call this.
void assertIsMainThread();

} // namespace foundation
