#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace json {

// A cursor over a byte buffer with small scanning steps. The scanner borrows the bytes: they
// must outlive it. Reads at the end yield 0 and the cursor never moves past the last byte.
class DataScanner {
public:
    using Bytes = std::span<const std::uint8_t>;
    using ByteSet = std::bitset<256>;

    DataScanner();
    explicit DataScanner(Bytes data);
    virtual ~DataScanner() = default;

    static ByteSet byteSet(std::string_view members);
    static Bytes bytesOf(std::string_view text) {
        return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
    }

    Bytes data() const { return {start_, end_}; }
    // Virtual so a subclass can transcode the document once before scanning starts.
    virtual void setData(Bytes data);

    std::size_t length() const { return static_cast<std::size_t>(end_ - start_); }
    bool isAtEnd() const { return current_ >= end_; }
    std::size_t scanLocation() const { return static_cast<std::size_t>(current_ - start_); }
    // Locations past the end are clamped to the end.
    void setScanLocation(std::size_t location);

    // Bytes a number may contain; "0123456789eE-." unless changed.
    const ByteSet& doubleCharacters() const { return doubleCharacters_; }
    void setDoubleCharacters(const ByteSet& characters) { doubleCharacters_ = characters; }

    char16_t currentCharacter() const { return current_ < end_ ? *current_ : 0; }
    char16_t scanCharacter() { return current_ < end_ ? *current_++ : 0; }
    bool scanCharacter(char16_t character) {
        if (current_ >= end_ || *current_ != character)
            return false;
        ++current_;
        return true;
    }

    // Each returns whether it advanced; the text passed over goes to `out` when given.
    bool scanString(std::string_view text, std::string* out = nullptr);
    bool scanCharactersFromSet(const ByteSet& set, std::string* out = nullptr);
    bool scanUpToCharactersFromSet(const ByteSet& set, std::string* out = nullptr);
    bool scanUpToString(std::string_view text, std::string* out = nullptr);
    // The leading numeric value of the run of doubleCharacters: "-" or "1e" give 0 and 1.
    bool scanNumber(double* out);

    void skipWhitespace() {
        while (current_ < end_ && isWhitespace(*current_))
            ++current_;
    }
    std::string remainingString() const { return {current_, end_}; }

    static bool isWhitespace(std::uint8_t byte) {
        return byte == ' ' || (byte >= '\t' && byte <= '\r');
    }
    static double leadingDouble(const std::uint8_t* begin, const std::uint8_t* end);
    static bool isDigit(std::uint8_t byte) { return byte >= '0' && byte <= '9'; }

protected:
    const std::uint8_t* start_ = nullptr;
    const std::uint8_t* current_ = nullptr;
    const std::uint8_t* end_ = nullptr;

private:
    static std::optional<double> exactDouble(const std::uint8_t* begin, const std::uint8_t* end);
    bool advanceTo(const std::uint8_t* to, std::string* out);

    ByteSet doubleCharacters_;
};

} // namespace json
