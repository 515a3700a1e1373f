#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/net/HTTPCompletion.h"

namespace sim {

// The fields of the trace's "http" events: method, URL as sent, and the final status or, for a
// request that failed, the ad client's download error code. The platform's HTTP client knows
// only why a request failed; the codes belong to the ad client built on top of it, which the
// platform must not depend on. The simulator sees both, so the table between them lives here.
class HTTPTrace {
public:
    static foundation::Dictionary fields(const net::HTTPCompletion& completion);
    static long clientErrorCode(net::HTTPFailure::Reason reason);
};

} // namespace sim
