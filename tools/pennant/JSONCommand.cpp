#include "tools/pennant/JSONCommand.h"

#include "tools/pennant/Console.h"
#include "tools/pennant/InputSource.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <ostream>

namespace tool {

int JSONCommand::run(std::span<const std::string> arguments, Console& console) const {
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        printUsage(console.out);
        return kSuccess;
    }
    if (!arguments.empty() && arguments[0] == "parse")
        return parse(arguments.subspan(1), console);
    printUsage(console.err);
    return kUsageOrInputError;
}

int JSONCommand::parse(std::span<const std::string> arguments, Console& console) const {
    bool any = false;
    std::string path;
    for (const auto& argument : arguments) {
        if (argument == "--any") {
            any = true;
        } else if (path.empty() && (argument == "-" || !argument.starts_with("-"))) {
            path = argument;
        } else {
            printUsage(console.err);
            return kUsageOrInputError;
        }
    }
    const auto input = InputSource::read(path, console.in);
    if (!input) {
        console.err << "pennant: " << input.error().message << "\n";
        return kUsageOrInputError;
    }
    const json::JSONDeserializer deserializer;
    const auto parsed = any ? deserializer.deserialize(input.value())
                            : deserializer.deserializeAsDictionary(input.value());
    const auto printed = parsed ? json::JSONSerializer().serializeObject(parsed.value())
                                : foundation::Result<std::string>(parsed.error());
    if (!printed) {
        const auto& error = printed.error();
        console.out << "error " << error.domain << " " << error.code << ": " << error.message
                    << "\n";
        return kFailure;
    }
    console.out << printed.value() << "\n";
    return kSuccess;
}

void JSONCommand::printUsage(std::ostream& out) {
    out << "usage: pennant json parse [--any] [FILE|-]\n\n"
           "Parses FILE (standard input when absent or '-') as an ad response and prints it as\n"
           "compact JSON on one line. The document must be a dictionary starting at its first\n"
           "byte unless --any is given, which accepts any value after white space.\n\n"
           "exit status: 0 parsed, 1 not parsed ('error <domain> <code>: <message>' on\n"
           "standard output), 2 usage error or unreadable input.\n";
}

} // namespace tool
