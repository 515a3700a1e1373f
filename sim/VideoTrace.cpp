#include "sim/VideoTrace.h"

#include "ads/video/VideoEvent.h"

#include <cmath>

namespace sim {

namespace {

const char* eventName(pennant::VideoEvent::Kind kind) {
    switch (kind) {
    case pennant::VideoEvent::Kind::Started:
        return "started";
    case pennant::VideoEvent::Kind::Finished:
        return "finished";
    case pennant::VideoEvent::Kind::Skipped:
        return "skipped";
    case pennant::VideoEvent::Kind::Replayed:
        return "replayed";
    }
    return "unknown";
}

} // namespace

foundation::Dictionary VideoTrace::fields(const pennant::VideoEvent& event) {
    // Milliseconds are plenty, and keep float noise out of traces that are compared.
    return {{"event", eventName(event.kind)},
            {"url", event.url.absoluteString()},
            {"position", foundation::Value::number(std::round(event.position * 1000) / 1000)}};
}

} // namespace sim
