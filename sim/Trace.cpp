#include "sim/Trace.h"

#include "platform/foundation/RunLoop.h"
#include "json/JSONSerializer.h"

#include <cerrno>
#include <cmath>
#include <cstring>

namespace sim {

Trace::~Trace() {
    // A run that wants to know whether its trace was written calls close() itself.
    static_cast<void>(close());
}

bool Trace::open(const std::string& path, double startTime) {
    startTime_ = startTime;
    path_ = path;
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

foundation::Status Trace::close() {
    std::lock_guard lock(mutex_);
    if (file_) {
        if (std::fflush(file_) != 0 && !writeError_)
            writeError_ = errno;
        if (ownsFile_ && std::fclose(file_) != 0 && !writeError_)
            writeError_ = errno;
        file_ = nullptr;
        ownsFile_ = false;
    }
    if (!writeError_)
        return foundation::success();
    return foundation::Error{"TraceErrorDomain", writeError_,
                             "cannot write the trace to " +
                                 (path_ == "-" ? std::string("standard output") : path_) + ": " +
                                 std::strerror(writeError_)};
}

double Trace::elapsed() const {
    // Rounded to microseconds so equal virtual runs print equal traces.
    return std::round((foundation::RunLoop::main().now() - startTime_) * 1e6) / 1e6;
}

void Trace::record(const std::string& type, const foundation::Dictionary& fields) {
    std::lock_guard lock(mutex_);
    counts_.set(type, foundation::Value::integer(counts_.get(type).intValue() + 1));
    if (file_ && !writeError_)
        write(line(type, fields));
}

std::string Trace::line(const std::string& type, const foundation::Dictionary& fields) const {
    foundation::Dictionary event{{"t", foundation::Value::number(elapsed())}, {"type", type}};
    for (const auto& [key, value] : fields)
        if (key != "t" && key != "type")
            event.set(key, value);
    auto text = json::JSONSerializer().serializeDictionary(event);
    if (!text)
        text =
            json::JSONSerializer().serializeDictionary({{"t", foundation::Value::number(elapsed())},
                                                        {"type", "trace-error"},
                                                        {"message", text.error().message}});
    return text.value() + "\n";
}

void Trace::write(const std::string& line) {
    if (std::fputs(line.c_str(), file_) == EOF || std::fflush(file_) != 0)
        writeError_ = errno ? errno : EIO;
}

std::size_t Trace::count(const std::string& type) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(counts_.get(type).intValue());
}

} // namespace sim
