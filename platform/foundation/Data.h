#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// An immutable-by-convention byte buffer, the platform's NSData.
class Data {
public:
    Data() = default;
    explicit Data(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    Data(const void* bytes, std::size_t length);
    static Data fromString(std::string_view text);

    const std::uint8_t* bytes() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    std::span<const std::uint8_t> span() const { return bytes_; }
    const std::vector<std::uint8_t>& vector() const { return bytes_; }
    std::string_view view() const {
        return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()};
    }

    void append(const void* bytes, std::size_t length);
    void clear() { bytes_.clear(); }

    // The bytes as UTF-8 text; nullopt when they are not well-formed UTF-8.
    std::optional<std::string> utf8String() const;
    // Offset of the first byte that breaks UTF-8, or nullopt when the text is well formed.
    static std::optional<std::size_t> firstInvalidUTF8(std::string_view text);

    bool operator==(const Data&) const = default;

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace foundation
