#include "sim/Trace.h"

#include "json/JSONSerializer.h"
#include "platform/foundation/RunLoop.h"

#include <cmath>

namespace sim {

Trace::~Trace() {
    if (ownsFile_)
        std::fclose(file_);
}

bool Trace::open(const std::string& path, double startTime) {
    startTime_ = startTime;
    if (path.empty())
        return true;
    if (path == "-") {
        file_ = stdout;
        return true;
    }
    file_ = std::fopen(path.c_str(), "w");
    ownsFile_ = file_ != nullptr;
    return file_ != nullptr;
}

double Trace::elapsed() const {
    // Rounded to microseconds so equal virtual runs print equal traces.
    return std::round((foundation::RunLoop::main().now() - startTime_) * 1e6) / 1e6;
}

void Trace::record(const std::string& type, const foundation::Dictionary& fields) {
    counts_.set(type, foundation::Value::integer(static_cast<long long>(count(type)) + 1));
    if (!file_)
        return;
    foundation::Dictionary event{{"t", foundation::Value::number(elapsed())}, {"type", type}};
    for (const auto& [key, value] : fields)
        if (key != "t" && key != "type")
            event.set(key, value);
    auto line = json::JSONSerializer().serializeDictionary(event);
    if (!line)
        line = json::JSONSerializer().serializeDictionary(
            {{"t", foundation::Value::number(elapsed())}, {"type", "trace-error"}, {"message", line.error().message}});
    std::fputs(line.value().c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

std::size_t Trace::count(const std::string& type) const {
    return static_cast<std::size_t>(counts_.get(type).intValue());
}

} // namespace sim
