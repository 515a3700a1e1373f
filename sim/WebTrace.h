#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/web/Forward.h"

namespace sim {

// The fields of the trace's "web" events: what happened to a page (started, finished with its
// title, failed with the platform's error code), and script evaluations a scenario asked for.
class WebTrace {
public:
    static foundation::Dictionary fields(const web::LoadEvent& event);
    static foundation::Dictionary evaluation(const std::string& script, const std::string& result);
};

} // namespace sim
