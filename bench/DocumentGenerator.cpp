#include "DocumentGenerator.h"

#include <charconv>
#include <iterator>

namespace {

constexpr const char* kWords[] = {"coffee",
                                  "sale",
                                  "caf\xC3\xA9",
                                  "\\\"deal\\\"",
                                  "tickets",
                                  "na\xC3\xAFve",
                                  "shop",
                                  "today",
                                  "\xE2\x80\x94",
                                  "fr\xC3\xBCh",
                                  "\\n",
                                  "\xE6\x97\xA5\xE6\x9C\xAC",
                                  "http:\\/\\/ads.pennant.test\\/click",
                                  "\\u00e9t\\u00e9",
                                  "\xF0\x9F\x8E\x89",
                                  "banner",
                                  "video",
                                  "50%",
                                  "a\\tb",
                                  "search"};

} // namespace

std::string DocumentGenerator::mixed(std::size_t targetBytes) {
    std::string out = "[";
    for (int id = 0; out.size() < targetBytes; ++id) {
        if (id)
            out += ",\n";
        appendRecord(out, id);
    }
    return out + "]";
}

void DocumentGenerator::appendRecord(std::string& out, int id) {
    out += "{\"id\":" + std::to_string(id) + ",\"text\":\"";
    appendText(out, 3 + below(8));
    out += "\",\"6\":\"web\",\"cpm\":";
    appendNumber(out);
    out += ",\"active\":";
    out += below(2) ? "true" : "false";
    out += ",\"parent\":null,\"f\":[";
    for (int i = 0; i < 4; ++i) {
        out += i ? "," : "";
        appendNumber(out);
    }
    out += "],\"tags\":[";
    for (int i = 0, n = below(4); i < n; ++i)
        out += std::string(i ? "," : "") + "\"tag" + std::to_string(below(50)) + "\"";
    out += "],\"markup\":{\"v\":[{\"t\":\"l\",\"x\":\"";
    appendText(out, 2 + below(4));
    out += "\",\"fs\":12.5,\"fco\":[1,0.5,0.25,1]},{\"t\":\"i\",\"$\":\"logo\"}],"
           "\"$\":{\"logo\":{\"u\":\"http://static.pennant.test/flex/" +
           std::to_string(id) + "/logo.png\"}}}}";
}

void DocumentGenerator::appendText(std::string& out, std::size_t words) {
    for (std::size_t i = 0; i < words; ++i) {
        if (i)
            out += ' ';
        out += kWords[below(static_cast<int>(std::size(kWords)))];
    }
}

void DocumentGenerator::appendNumber(std::string& out) {
    char buffer[32];
    double value;
    switch (below(4)) {
    case 0:
        value = below(100000);
        break;
    case 1:
        value = -below(1000) / 8.0;
        break;
    case 2:
        value = below(1000000) / 1000.0 * 1e-5;
        break;
    default:
        value = (below(90000) + 10000) * 1e17;
        break;
    }
    const auto written = std::to_chars(buffer, std::end(buffer), value);
    // The scanner under test reads no '+' in exponents.
    for (const char* p = buffer; p < written.ptr; ++p)
        if (*p != '+')
            out += *p;
}

std::string DocumentGenerator::stringHeavy(std::size_t targetBytes) {
    std::string out = "[";
    for (int i = 0; out.size() < targetBytes; ++i) {
        out += i ? ",\n{\"title\":\"" : "{\"title\":\"";
        appendText(out, 4 + below(6));
        out += "\",\"body\":\"";
        appendText(out, 60 + below(120));
        out += "\"}";
    }
    return out + "]";
}

std::string DocumentGenerator::numberHeavy(std::size_t targetBytes) {
    std::string out = "[";
    for (int row = 0; out.size() < targetBytes; ++row) {
        out += row ? ",\n[" : "[";
        for (int i = 0; i < 16; ++i) {
            out += i ? "," : "";
            appendNumber(out);
        }
        out += "]";
    }
    return out + "]";
}
