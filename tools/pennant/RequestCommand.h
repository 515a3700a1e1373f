#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Result.h"
#include "tools/pennant/Command.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

namespace pennant {
class Ad;
}

namespace tool {

class FileDelegate;

// `pennant request [--server URL] [--delegate FILE] [--home DIR] [--format 0|1]
// [--click [--click-data JSON]]`: one ad from request to click against an ad network, printed
// as one JSON object the way the client read it.
class RequestCommand : public Command {
public:
    std::string_view name() const override { return "request"; }
    std::string_view summary() const override {
        return "request one ad and print how the client read it";
    }
    int run(std::span<const std::string> arguments, Console& console) const override;

    struct ServerAddress {
        std::string address;
        int port = 0;
    };
    // The value of --server: http://ADDRESS:PORT.
    static foundation::Result<ServerAddress> parseServer(const std::string& value);

private:
    struct Options {
        std::optional<ServerAddress> server;
        std::optional<std::string> delegateFile, home;
        int format = 0;
        bool click = false;
        std::optional<foundation::Dictionary> clickData;
    };
    class Session;

    // Empty with a message on err and kUsageOrInputError as the status to return.
    static std::optional<Options> parse(std::span<const std::string> arguments, Console& console,
                                        int& status);
    static foundation::Status parseValue(const std::string& option, const std::string& value,
                                         Options& options);
    static foundation::Dictionary describe(const pennant::Ad& ad);
    static void printUsage(std::ostream& out);
};

} // namespace tool
