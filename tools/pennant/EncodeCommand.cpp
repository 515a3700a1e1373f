#include "tools/pennant/EncodeCommand.h"

#include "ads/request/URLDownload.h"
#include "tools/pennant/Console.h"

#include <ostream>

namespace tool {

int EncodeCommand::run(std::span<const std::string> arguments, Console& console) const {
    if (arguments.size() == 1 && arguments[0] == "--help") {
        console.out << "usage: pennant encode TEXT\n\nPrints TEXT with every byte except ASCII "
                       "letters, digits, '-', '_', '.' and '~' written as %XX.\n";
        return kSuccess;
    }
    if (arguments.size() != 1) {
        console.err << "usage: pennant encode TEXT\n";
        return kUsageOrInputError;
    }
    console.out << pennant::URLDownload::encodeURL(arguments[0]) << "\n";
    return kSuccess;
}

} // namespace tool
