#include "tools/pennant/InputSource.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tool {

namespace {

foundation::Result<std::string> readAll(std::istream& in, std::string_view name) {
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return foundation::Error{"InputSource", errno, "cannot read " + std::string(name)};
    return content;
}

} // namespace

foundation::Result<std::string> InputSource::read(std::string_view path,
                                                  std::istream& standardInput) {
    if (path.empty() || path == kStandardInput)
        return readAll(standardInput, "standard input");
    const std::string name(path);
    std::error_code ignored;
    if (std::filesystem::is_directory(name, ignored))
        return foundation::Error{"InputSource", EISDIR, "cannot read " + name + ": is a directory"};
    errno = 0;
    std::ifstream file{name, std::ios::binary};
    if (!file) {
        const std::string reason = errno ? std::strerror(errno) : "cannot open";
        return foundation::Error{"InputSource", errno, "cannot read " + name + ": " + reason};
    }
    return readAll(file, name);
}

} // namespace tool
