#include "tools/pennant/QueryParseCommand.h"

#include "ads/request/URLDownload.h"
#include "platform/foundation/Dictionary.h"
#include "tools/pennant/Console.h"
#include "json/JSONSerializer.h"

#include <ostream>

namespace tool {

int QueryParseCommand::run(std::span<const std::string> arguments, Console& console) const {
    if (arguments.size() == 1 && arguments[0] == "--help") {
        console.out << "usage: pennant query-parse TEXT\n\nSplits TEXT at '&' and ';', keeps the "
                       "pieces that are exactly KEY=VALUE, decodes both, lower-cases the key\n"
                       "and prints the result as a JSON object.\n";
        return kSuccess;
    }
    if (arguments.size() != 1) {
        console.err << "usage: pennant query-parse TEXT\n";
        return kUsageOrInputError;
    }
    const auto dictionary = pennant::URLDownload::dictionaryFromQueryString(arguments[0]);
    const auto printed = json::JSONSerializer().serializeDictionary(dictionary);
    console.out << (printed ? printed.value() : "{}") << "\n";
    return kSuccess;
}

} // namespace tool
