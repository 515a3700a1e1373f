#pragma once

#include <memory>
#include <utility>

// Views and responders live only in shared_ptr, so shared_from_this always finds an owner:
// their constructors are protected and create() is the one way to make them. Put this first
// in the class body of every class that can be made; what follows it is public.
#define UI_CREATABLE(Class)                                                                        \
public:                                                                                            \
    template <typename... Args>                                                                    \
    static std::shared_ptr<Class> create(Args&&... args) {                                         \
        return std::shared_ptr<Class>(new Class(std::forward<Args>(args)...));                     \
    }
