#include "platform/foundation/StringsFormat.h"

#include "platform/foundation/ASCII.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/UTF8.h"

#include <cctype>
#include <optional>

namespace foundation {

namespace {

// UTF-16 with a byte order mark becomes UTF-8; anything else is returned as it is.
std::string toUTF8(std::string_view text) {
    if (text.size() < 2)
        return std::string(text);
    const auto b0 = static_cast<unsigned char>(text[0]), b1 = static_cast<unsigned char>(text[1]);
    const bool little = b0 == 0xFF && b1 == 0xFE, big = b0 == 0xFE && b1 == 0xFF;
    if (!little && !big) {
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        return std::string(text);
    }
    std::string out;
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto lo = static_cast<unsigned char>(text[i]),
                   hi = static_cast<unsigned char>(text[i + 1]);
        return little ? (hi << 8 | lo) : (lo << 8 | hi);
    };
    for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < text.size()) {
            std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        UTF8::append(out, code);
    }
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Result<Dictionary> parse() {
        Dictionary table;
        skipBlanks();
        while (pos_ < text_.size()) {
            auto key = token();
            skipBlanks();
            if (!key || !consume('='))
                return failure("expected a quoted key followed by '='");
            skipBlanks();
            auto value = token();
            skipBlanks();
            if (!value || !consume(';'))
                return failure("expected a quoted value followed by ';'");
            table.set(std::move(*key), Value(std::move(*value)));
            skipBlanks();
        }
        return table;
    }

private:
    Error failure(const char* what) const {
        return Error{"StringsFormatErrorDomain", -1,
                     std::string("Malformed strings table: ") + what + " at byte " +
                         std::to_string(pos_)};
    }

    bool consume(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void skipBlanks() {
        while (pos_ < text_.size()) {
            if (std::isspace(static_cast<unsigned char>(text_[pos_]))) {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "//") {
                auto end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else if (text_.substr(pos_, 2) == "/*") {
                auto end = text_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    std::optional<std::string> token() {
        if (consume('"'))
            return quoted();
        std::string word;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_' ||
                text_[pos_] == '.' || text_[pos_] == '-'))
            word += text_[pos_++];
        return word.empty() ? std::nullopt : std::optional(word);
    }

    std::optional<std::string> quoted() {
        std::string out;
        while (pos_ < text_.size()) {
            char c = text_[pos_++];
            if (c == '"')
                return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size())
                return std::nullopt;
            if (!escape(out))
                return std::nullopt;
        }
        return std::nullopt;
    }

    bool escape(std::string& out) {
        char c = text_[pos_++];
        switch (c) {
        case 'n':
            out += '\n';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 'U':
        case 'u': {
            auto code = hexUnit();
            if (!code)
                return false;
            // Characters beyond the basic plane are written as two escapes, high then low.
            if (*code >= 0xD800 && *code <= 0xDBFF && pos_ + 1 < text_.size() &&
                text_[pos_] == '\\' && (text_[pos_ + 1] == 'U' || text_[pos_ + 1] == 'u')) {
                const std::size_t mark = pos_;
                pos_ += 2;
                auto low = hexUnit();
                if (low && *low >= 0xDC00 && *low <= 0xDFFF)
                    code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
                else
                    pos_ = mark;
            }
            UTF8::append(out, *code);
            return true;
        }
        default:
            out += c;
            return true;
        }
    }

    // Four hex digits; nullopt when fewer follow.
    std::optional<std::uint32_t> hexUnit() {
        std::uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            if (pos_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[pos_])))
                return std::nullopt;
            char h = ASCII::lowercased(text_[pos_++]);
            code = code * 16 + static_cast<std::uint32_t>(h <= '9' ? h - '0' : h - 'a' + 10);
        }
        return code;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

Result<Dictionary> StringsFormat::parse(std::string_view text) {
    const std::string utf8 = toUTF8(text);
    if (Data::firstInvalidUTF8(utf8))
        return Error{"StringsFormatErrorDomain", -2, "Strings table is not valid UTF-8 or UTF-16"};
    return Parser(utf8).parse();
}

} // namespace foundation
