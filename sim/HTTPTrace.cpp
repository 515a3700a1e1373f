#include "sim/HTTPTrace.h"

#include "ads/request/URLDownload.h"

namespace sim {

using foundation::Value;
using Reason = net::HTTPFailure::Reason;

foundation::Dictionary HTTPTrace::fields(const net::HTTPCompletion& completion) {
    foundation::Dictionary fields{{"method", completion.method}, {"url", completion.url}};
    if (completion.failure)
        fields.set("error", Value::integer(clientErrorCode(*completion.failure)));
    else
        fields.set("status", Value::integer(completion.statusCode));
    return fields;
}

// The client keeps none of the platform's error: every failed connection is one code to it.
long HTTPTrace::clientErrorCode(Reason reason) {
    switch (reason) {
    case Reason::CouldNotConnect:
    case Reason::TimedOut:
    case Reason::TooManyRedirects:
    case Reason::UnsupportedRedirect:
    case Reason::ResponseTooLarge:
    case Reason::ConnectionLost:
        return pennant::URLDownload::kConnectionFailed;
    }
    return pennant::URLDownload::kConnectionFailed;
}

} // namespace sim
