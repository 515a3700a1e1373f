#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

// Every input must parse or fail without a fault; whatever parses and can be written back must
// read back as an equal value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const json::JSONDeserializer deserializer;
    (void)deserializer.deserializeAsDictionary(bytes);
    const auto parsed = deserializer.deserialize(bytes);
    if (!parsed)
        return 0;
    // Out-of-range numbers parse as infinities, which JSON cannot carry back.
    const auto text = json::JSONSerializer().serializeObject(parsed.value());
    if (!text)
        return 0;
    const auto reparsed = deserializer.deserialize(text.value());
    if (!reparsed || !(reparsed.value() == parsed.value())) {
        std::fprintf(stderr, "round trip changed the value: %s\n", text.value().c_str());
        std::abort();
    }
    return 0;
}
