#include "json/JSONScanner.h"

#include "platform/foundation/Dictionary.h"
#include "json/TextEncoding.h"

#include <cstring>

namespace json {

using foundation::Error;
using foundation::Value;

namespace {

constexpr std::size_t kInitialStackSize = 64;

bool isDigit(std::uint8_t byte) { return DataScanner::isDigit(byte); }

bool isLetter(std::uint8_t byte) { return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z'; }

bool isWordByte(std::uint8_t byte) { return isLetter(byte) || isDigit(byte) || byte == '_'; }

int hexDigit(std::uint8_t byte) {
    if (isDigit(byte))
        return byte - '0';
    const int lower = byte | 0x20;
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

char32_t hexUnit(const std::uint8_t* p) {
    char32_t unit = 0;
    for (int i = 0; i < 4; ++i)
        unit = unit << 4 | static_cast<char32_t>(hexDigit(p[i]));
    return unit;
}

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Skips ASCII bytes other than '"' and '\', eight at a time: most string bytes are plain.
const std::uint8_t* skipPlain(const std::uint8_t* p, const std::uint8_t* end) {
    constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t quote = word ^ (ones * '"'), backslash = word ^ (ones * '\\');
        const std::uint64_t zeroes = ((quote - ones) & ~quote) | ((backslash - ones) & ~backslash);
        if ((zeroes | word) & highs)
            break;
        p += 8;
    }
    while (p < end && *p < 0x80 && *p != '"' && *p != '\\')
        ++p;
    return p;
}

} // namespace

Error JSONScanner::error(ErrorCode code) {
    static constexpr const char* messages[] = {
        "Could not scan dictionary. Dictionary that does not start with '{' character.",
        "Could not scan dictionary. Failed to scan a key.",
        "Could not scan dictionary. Key was not terminated with a ':' character.",
        "Could not scan dictionary. Failed to scan a value.",
        "Could not scan dictionary. Key value pairs not delimited with a ',' character.",
        "Could not scan dictionary. Dictionary not terminated by a '}' character.",
        "Could not scan array. Array not started by a '{' character.",
        "Could not scan array. Could not scan a value.",
        "Could not scan array. Array not terminated by a ']' character.",
        "Could not scan array. Array not terminated by a ']' character.",
        "Could not scan string constant. String not started by a '\"' character.",
        "Could not scan string constant. Unicode character could not be decoded.",
        "Could not scan string constant. Unknown escape code.",
        "Could not scan number constant.",
        "Could not scan string constant. String not terminated by a '\"' character.",
        "Could not scan JSON. Nesting is deeper than 512 levels.",
    };
    return {kErrorDomain, code, messages[-code - 1]};
}

JSONScanner::JSONScanner() {
    // Sized so ordinary documents never regrow them.
    elements_.reserve(kInitialStackSize);
    entries_.reserve(kInitialStackSize);
}

JSONScanner::JSONScanner(Bytes data) : JSONScanner() { JSONScanner::setData(data); }

void JSONScanner::setData(Bytes data) {
    const auto kind = TextEncoding::detect(data);
    if (kind == TextEncoding::Kind::UTF8) {
        DataScanner::setData(data);
        return;
    }
    transcoded_ = TextEncoding::toUTF8(data, kind);
    DataScanner::setData(bytesOf(transcoded_));
}

// The public entry points share one shape: a fresh depth state, a scan into a local value,
// and the result handed out only on success (the out pointer may be null).
template <typename Scan>
bool JSONScanner::scanInto(Value* out, Scan scan) {
    tooDeep_ = false;
    Value value;
    if (!scan(value))
        return false;
    if (out)
        *out = std::move(value);
    return true;
}

bool JSONScanner::scanJSONObject(Value* out, Error* error) {
    return scanInto(out, [&](Value& v) { return scanValue(v, error) != Outcome::Failed; });
}

bool JSONScanner::scanJSONDictionary(Value* out, Error* error) {
    return scanInto(out, [&](Value& v) { return scanDictionary(v, error); });
}

bool JSONScanner::scanJSONArray(Value* out, Error* error) {
    return scanInto(out, [&](Value& v) { return scanArray(v, error); });
}

bool JSONScanner::scanJSONStringConstant(Value* out, Error* error) {
    return scanInto(out, [&](Value& v) {
        std::string_view text;
        if (!scanText(text, error))
            return false;
        v = Value(text);
        return true;
    });
}

bool JSONScanner::scanJSONNumberConstant(Value* out, Error* error) {
    return scanInto(out, [&](Value& v) { return scanNumberConstant(v, error); });
}

JSONScanner::Outcome JSONScanner::scanValue(Value& out, Error* error) {
    skipWhitespace();
    if (isAtEnd())
        return Outcome::Absent;
    const std::uint8_t byte = *current_;
    if (byte == '"' || byte == '\'') {
        std::string_view text;
        if (!scanText(text, error))
            return Outcome::Failed;
        out = Value(text);
        return Outcome::Found;
    }
    bool scanned;
    if (byte == '{')
        scanned = scanDictionary(out, error);
    else if (byte == '[')
        scanned = scanArray(out, error);
    else if (byte == '-' || isDigit(byte))
        scanned = scanNumberConstant(out, error);
    else
        return scanWord(out);
    return scanned ? Outcome::Found : Outcome::Failed;
}

JSONScanner::Outcome JSONScanner::scanWord(Value& out) {
    if (!isLetter(*current_))
        return Outcome::Absent;
    const auto* begin = current_;
    while (current_ < end_ && isWordByte(*current_))
        ++current_;
    const std::string_view word(reinterpret_cast<const char*>(begin), current_ - begin);
    if (word == "true" || word == "false")
        out = Value::boolean(word == "true");
    else if (word == "null")
        out = Value();
    else
        return Outcome::Absent;
    return Outcome::Found;
}

bool JSONScanner::scanDictionary(Value& out, Error* error) {
    const auto* mark = current_;
    if (!scanCharacter('{'))
        return fail(mark, DictionaryNotStarted, error);
    if (!enter(mark, error))
        return false;
    const std::size_t base = entries_.size();
    const auto failure = scanEntries(error);
    --depth_;
    const auto first = entries_.begin() + static_cast<std::ptrdiff_t>(base);
    if (failure) {
        entries_.erase(first, entries_.end());
        return fail(mark, *failure, error);
    }
    ++current_;
    foundation::Dictionary dictionary;
    dictionary.reserve(entries_.size() - base);
    for (auto entry = first; entry != entries_.end(); ++entry) {
        if (entry->second)
            dictionary.setIncludingNull(std::move(entry->first), std::move(*entry->second));
        else
            dictionary.remove(entry->first);
    }
    entries_.erase(first, entries_.end());
    out = Value(std::move(dictionary));
    return true;
}

std::optional<JSONScanner::ErrorCode> JSONScanner::scanEntries(Error* error) {
    for (;;) {
        skipWhitespace();
        if (isAtEnd())
            return DictionaryNotTerminated;
        if (*current_ == '}')
            return std::nullopt;
        std::string_view keyText;
        if (!scanText(keyText, error))
            return DictionaryKeyMissing;
        // Copied now: an escaped key's text is overwritten by the next string decoded.
        std::string key(keyText);
        skipWhitespace();
        if (isAtEnd())
            return DictionaryNotTerminated;
        if (!scanCharacter(':'))
            return DictionaryColonMissing;
        Value value;
        const Outcome outcome = scanValue(value, error);
        if (outcome == Outcome::Failed)
            return DictionaryValueMissing;
        entries_.emplace_back(std::move(key), outcome == Outcome::Found
                                                  ? std::optional(std::move(value))
                                                  : std::nullopt);
        skipWhitespace();
        if (scanCharacter(','))
            continue;
        if (isAtEnd())
            return DictionaryNotTerminated;
        return *current_ == '}' ? std::nullopt : std::optional(DictionaryCommaMissing);
    }
}

bool JSONScanner::scanArray(Value& out, Error* error) {
    const auto* mark = current_;
    if (!scanCharacter('['))
        return fail(mark, ArrayNotStarted, error);
    if (!enter(mark, error))
        return false;
    const std::size_t base = elements_.size();
    const auto failure = scanElements(error);
    --depth_;
    const auto first = elements_.begin() + static_cast<std::ptrdiff_t>(base);
    if (failure) {
        elements_.erase(first, elements_.end());
        return fail(mark, *failure, error);
    }
    ++current_;
    out = Value::array(std::span<Value>(first, elements_.end()));
    elements_.erase(first, elements_.end());
    return true;
}

std::optional<JSONScanner::ErrorCode> JSONScanner::scanElements(Error* error) {
    for (;;) {
        skipWhitespace();
        if (isAtEnd())
            return ArrayNotTerminated;
        if (*current_ == ']')
            return std::nullopt;
        Value value;
        const Outcome outcome = scanValue(value, error);
        if (outcome == Outcome::Failed)
            return ArrayValueMissing;
        if (outcome == Outcome::Found)
            elements_.push_back(std::move(value));
        skipWhitespace();
        if (scanCharacter(','))
            continue;
        if (isAtEnd())
            return ArrayNotTerminated;
        return *current_ == ']' ? std::nullopt : std::optional(ArrayCommaMissing);
    }
}

bool JSONScanner::scanText(std::string_view& out, Error* error) {
    const auto* mark = current_;
    skipWhitespace();
    if (!scanCharacter('"'))
        return fail(mark, StringNotStarted, error);
    bool escaped = false;
    ErrorCode code = StringNotTerminated;
    const auto* close = findClosingQuote(current_, escaped, code);
    if (!close)
        return fail(mark, code, error);
    const auto length = static_cast<std::size_t>(close - current_);
    if (!escaped) {
        out = std::string_view(reinterpret_cast<const char*>(current_), length);
    } else {
        // Escapes only shrink the text, so the raw length bounds the decoded one.
        decoded_.clear();
        decoded_.reserve(length);
        for (const auto* p = current_; p < close;) {
            const void* found = std::memchr(p, '\\', static_cast<std::size_t>(close - p));
            const auto* backslash = found ? static_cast<const std::uint8_t*>(found) : close;
            decoded_.append(reinterpret_cast<const char*>(p),
                            static_cast<std::size_t>(backslash - p));
            p = backslash < close ? decodeEscape(backslash + 1, decoded_) : close;
        }
        out = decoded_;
    }
    current_ = close + 1;
    return true;
}

// Checks the whole string before anything is decoded, so decoding needs no bounds tests.
const std::uint8_t* JSONScanner::findClosingQuote(const std::uint8_t* p, bool& escaped,
                                                  ErrorCode& code) const {
    for (;;) {
        p = skipPlain(p, end_);
        if (p == end_)
            return nullptr;
        if (*p == '"')
            return p;
        if (*p != '\\') {
            const int length = TextEncoding::sequenceLength(p, end_);
            if (length == 0) {
                code = StringUndecodable;
                return nullptr;
            }
            p += length;
            continue;
        }
        escaped = true;
        if (end_ - p < 2)
            return nullptr;
        if (p[1] == 'u') {
            for (int i = 2; i < 6; ++i) {
                if (p + i >= end_)
                    return nullptr;
                if (hexDigit(p[i]) < 0) {
                    code = StringUndecodable;
                    return nullptr;
                }
            }
            p += 6;
        } else if (p[1] != 0 && std::strchr("\"\\/bfnrt", p[1])) {
            p += 2;
        } else {
            code = StringUnknownEscape;
            return nullptr;
        }
    }
}

const std::uint8_t* JSONScanner::decodeEscape(const std::uint8_t* p, std::string& out) const {
    switch (*p) {
    case 'b':
        out += '\b';
        return p + 1;
    case 'f':
        out += '\f';
        return p + 1;
    case 'n':
        out += '\n';
        return p + 1;
    case 'r':
        out += '\r';
        return p + 1;
    case 't':
        out += '\t';
        return p + 1;
    case 'u':
        break;
    default:
        out += static_cast<char>(*p);
        return p + 1;
    }
    char32_t unit = hexUnit(p + 1);
    p += 5;
    // The string was checked up to its closing quote, so a following escape is complete.
    if (isHighSurrogate(unit) && p[0] == '\\' && p[1] == 'u' && isLowSurrogate(hexUnit(p + 2))) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (hexUnit(p + 2) - 0xDC00);
        p += 6;
    }
    const bool lone = isHighSurrogate(unit) || isLowSurrogate(unit);
    foundation::UTF8::append(out, lone ? TextEncoding::kReplacementCharacter : unit);
    return p;
}

bool JSONScanner::scanNumberConstant(Value& out, Error* error) {
    double number = 0;
    if (!scanNumber(&number))
        return fail(current_, NumberMissing, error);
    out = Value::number(number);
    return true;
}

bool JSONScanner::enter(const std::uint8_t* mark, Error* error) {
    if (depth_ >= kMaxDepth) {
        tooDeep_ = true;
        return fail(mark, NestingTooDeep, error);
    }
    ++depth_;
    return true;
}

bool JSONScanner::fail(const std::uint8_t* mark, ErrorCode code, Error* error) {
    current_ = mark;
    if (error && (!tooDeep_ || code == NestingTooDeep))
        *error = JSONScanner::error(code);
    return false;
}

} // namespace json
