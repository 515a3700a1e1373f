#include "tools/pennant/InputSource.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tool {

namespace {

foundation::Result<std::string> readAll(std::istream& in, std::string_view name,
                                        std::size_t limit) {
    std::string content;
    std::array<char, 64 * 1024> chunk;
    while (in) {
        in.read(chunk.data(), chunk.size());
        content.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (content.size() > limit)
            return foundation::Error{"InputSource", EFBIG,
                                     "cannot read " + std::string(name) +
                                         ": larger than the limit of " + std::to_string(limit) +
                                         " bytes"};
    }
    if (in.bad())
        return foundation::Error{"InputSource", errno, "cannot read " + std::string(name)};
    return content;
}

} // namespace

foundation::Result<std::string> InputSource::read(std::string_view path,
                                                  std::istream& standardInput, std::size_t limit) {
    if (path.empty() || path == kStandardInput)
        return readAll(standardInput, "standard input", limit);
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
    return readAll(file, name, limit);
}

} // namespace tool
