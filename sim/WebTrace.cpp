#include "sim/WebTrace.h"

#include "platform/foundation/Value.h"
#include "platform/web/LoadEvent.h"

namespace sim {

foundation::Dictionary WebTrace::fields(const web::LoadEvent& event) {
    switch (event.kind) {
    case web::LoadEvent::Kind::Started:
        return {{"event", "started"}, {"url", event.url}};
    case web::LoadEvent::Kind::Finished:
        return {{"event", "finished"}, {"url", event.url}, {"title", event.title}};
    case web::LoadEvent::Kind::Failed:
        break;
    }
    foundation::Dictionary fields{{"event", "failed"}, {"url", event.url}};
    if (event.error) {
        fields.set("domain", event.error->domain);
        fields.set("code", foundation::Value::integer(event.error->code));
    }
    return fields;
}

foundation::Dictionary WebTrace::evaluation(const std::string& script, const std::string& result) {
    return {{"event", "eval"}, {"script", script}, {"result", result}};
}

} // namespace sim
