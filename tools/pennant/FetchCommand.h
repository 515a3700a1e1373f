#pragma once

#include "platform/foundation/Result.h"
#include "tools/pennant/Command.h"

#include <chrono>
#include <iosfwd>

namespace tool {

// `pennant fetch [--post-body TEXT] [--home DIR] [--map HOST=ADDRESS:PORT]... [--wait SECONDS]
// URL`: one download the way the ad client makes it, with its headers, time-out and error codes.
class FetchCommand : public Command {
public:
    std::string_view name() const override { return "fetch"; }
    std::string_view summary() const override {
        return "download a URL the way the ad client does";
    }
    int run(std::span<const std::string> arguments, Console& console) const override;

    // The device facts the client's requests carry: locale, language and the sandbox home
    // (none when empty).
    static void prepareDevice(const std::string& home);

private:
    static foundation::Status applyMapping(const std::string& mapping);
    static foundation::Status parseWait(const std::string& text,
                                        std::chrono::duration<double>& wait);
    static int download(const std::string& url, const std::string* postBody,
                        std::chrono::duration<double> wait, Console& console);
    static void printUsage(std::ostream& out);
};

} // namespace tool
