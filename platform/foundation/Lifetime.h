#pragma once

#include <memory>

namespace foundation {

// Marks how long an owner that is not itself held by shared_ptr lives. Work posted against
// handle() never runs once the owner (and with it this member) is destroyed, or after
// cancelAll(). Objects held by shared_ptr use weak_from_this() instead.
class Lifetime {
public:
    Lifetime() : token_(std::make_shared<char>()) {}
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;

    // Taken on the owner's thread; the copy may travel to other threads.
    std::weak_ptr<const void> handle() const { return token_; }
    // Drops everything posted against this lifetime so far; later posts run as usual.
    void cancelAll() { token_ = std::make_shared<char>(); }

private:
    std::shared_ptr<const void> token_;
};

} // namespace foundation
