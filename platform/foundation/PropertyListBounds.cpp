#include "platform/foundation/PropertyListBounds.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace foundation {

namespace {

constexpr const char* kDomain = "PropertyListErrorDomain";

Error refused(const std::string& why) {
    return Error{kDomain, -3, "Property list refused: " + why};
}

// --- XML ------------------------------------------------------------------------------------

// Where the markup that starts at text[at] ends (one past it), or npos when it is malformed
// or something this check does not vouch for.
std::size_t skipSpecialMarkup(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    auto through = [&](std::string_view terminator, std::size_t from) {
        const std::size_t end = text.find(terminator, at + from);
        return end == std::string_view::npos ? end : end + terminator.size();
    };
    if (rest.starts_with("<!--"))
        return through("-->", 4);
    if (rest.starts_with("<![CDATA["))
        return through("]]>", 9);
    // Instructions and declarations (the DOCTYPE line) must not hide markup: an internal
    // subset or a '<' inside them is refused.
    const std::size_t end = rest.starts_with("<?") ? through("?>", 2) : through(">", 2);
    if (end == std::string_view::npos)
        return end;
    const std::string_view inside = text.substr(at + 1, end - at - 2);
    return inside.find_first_of("<[") == std::string_view::npos ? end : std::string_view::npos;
}

std::string_view elementName(std::string_view body) {
    return body.substr(0, body.find_first_of(" \t\r\n/"));
}

} // namespace

Status PropertyListBounds::checkXML(std::string_view text, int maxElementDepth) {
    std::vector<std::string_view> open;
    std::size_t at = 0;
    while ((at = text.find('<', at)) != std::string_view::npos) {
        if (at + 1 < text.size() && (text[at + 1] == '!' || text[at + 1] == '?')) {
            at = skipSpecialMarkup(text, at);
            if (at == std::string_view::npos)
                return refused("unterminated or unexpected markup");
            continue;
        }
        const std::size_t end = text.find('>', at);
        if (end == std::string_view::npos)
            return refused("unterminated tag");
        const std::string_view body = text.substr(at + 1, end - at - 1);
        at = end + 1;
        if (body.find('<') != std::string_view::npos)
            return refused("'<' inside a tag");
        if (body.starts_with('/')) {
            const std::string_view name = body.substr(1, body.find_last_not_of(" \t\r\n"));
            if (open.empty() || open.back() != name)
                return refused("mismatched closing tag");
            open.pop_back();
        } else if (body.ends_with('/')) {
            // A quoted '/' could end an attribute rather than the element.
            if (body.find_first_of("\"'") != std::string_view::npos)
                return refused("attributes in an empty element");
        } else {
            if (elementName(body).empty())
                return refused("tag without a name");
            if (static_cast<int>(open.size()) >= maxElementDepth)
                return refused("nested too deeply");
            open.push_back(elementName(body));
        }
    }
    return success();
}

namespace {

// --- Binary ---------------------------------------------------------------------------------

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, unsigned width) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < width; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// A depth-first walk over the object graph with an explicit stack (never deeper than the
// limit) and each object's depth and expanded size remembered, so shared objects cost once.
class BinaryWalk {
public:
    BinaryWalk(std::string_view bytes, int maxDepth, std::size_t maxValues)
        : bytes_(bytes), maxDepth_(static_cast<std::size_t>(maxDepth)), maxValues_(maxValues) {}

    Status run() {
        if (auto trailer = readTrailer(); !trailer)
            return trailer;
        if (auto entered = enter(root_); !entered)
            return entered;
        while (!stack_.empty()) {
            if (auto stepped = step(); !stepped)
                return stepped;
        }
        return success();
    }

private:
    enum class State : std::uint8_t { Unseen, Open, Done };
    struct Frame {
        std::uint64_t object;
        std::size_t refsAt;
        std::uint64_t refs;
        std::uint64_t next = 0;
        std::uint32_t deepest = 0;
        std::uint64_t values = 1;
    };

    std::size_t end() const { return bytes_.size() - kTrailerSize; }

    Status readTrailer() {
        if (bytes_.size() < kHeaderSize + 1 + kTrailerSize)
            return refused("binary list too short");
        const std::size_t trailer = end();
        offsetSize_ = static_cast<unsigned char>(bytes_[trailer + 6]);
        refSize_ = static_cast<unsigned char>(bytes_[trailer + 7]);
        count_ = bigEndian(bytes_, trailer + 8, 8);
        root_ = bigEndian(bytes_, trailer + 16, 8);
        table_ = bigEndian(bytes_, trailer + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8 || count_ < 1 ||
            count_ > maxValues_ || root_ >= count_ || table_ < kHeaderSize || table_ > end() ||
            count_ * offsetSize_ > end() - table_)
            return refused("binary list trailer out of range");
        state_.assign(count_, State::Unseen);
        depth_.assign(count_, 0);
        values_.assign(count_, 0);
        return success();
    }

    // A container's reference list, or refs == 0 for a value that holds none.
    Result<Frame> frameFor(std::uint64_t object) const {
        const std::uint64_t offset = bigEndian(bytes_, table_ + object * offsetSize_, offsetSize_);
        if (offset < kHeaderSize || offset >= end())
            return refused("binary object offset out of range");
        const auto marker = static_cast<unsigned char>(bytes_[offset]);
        const unsigned type = marker >> 4;
        // Arrays, ordered sets, sets and dictionaries hold references; nothing else does.
        if (type < 0xA || type > 0xD)
            return Frame{object, 0, 0};
        std::uint64_t count = marker & 0xF;
        std::size_t at = offset + 1;
        if (count == 0xF) {
            if (at >= end() || (static_cast<unsigned char>(bytes_[at]) >> 4) != 0x1)
                return refused("binary object count malformed");
            const unsigned width = 1u << (bytes_[at] & 0xF);
            if (width > 8 || at + 1 + width > end())
                return refused("binary object count malformed");
            count = bigEndian(bytes_, at + 1, width);
            at += 1 + width;
        }
        const std::uint64_t perEntry = type == 0xD ? 2 : 1;
        if (count > (end() - at) / refSize_ / perEntry)
            return refused("binary object references out of range");
        return Frame{object, at, count * perEntry};
    }

    Status enter(std::uint64_t object) {
        auto frame = frameFor(object);
        if (!frame)
            return frame.error();
        if (frame.value().refs == 0) {
            state_[object] = State::Done;
            depth_[object] = 1;
            values_[object] = 1;
            return success();
        }
        if (stack_.size() >= maxDepth_)
            return refused("nested too deeply");
        state_[object] = State::Open;
        stack_.push_back(frame.value());
        return success();
    }

    Status step() {
        Frame& top = stack_.back();
        if (top.next == top.refs)
            return close();
        const std::uint64_t child = bigEndian(bytes_, top.refsAt + top.next * refSize_, refSize_);
        ++top.next;
        if (child >= count_)
            return refused("binary object reference out of range");
        if (state_[child] == State::Open)
            return refused("binary object refers to itself");
        if (state_[child] == State::Unseen) {
            if (auto entered = enter(child); !entered)
                return entered;
            if (state_[child] == State::Open)
                return success();
        }
        return addToTop(child);
    }

    Status close() {
        const Frame done = stack_.back();
        stack_.pop_back();
        state_[done.object] = State::Done;
        depth_[done.object] = done.deepest + 1;
        values_[done.object] = done.values;
        return stack_.empty() ? success() : addToTop(done.object);
    }

    Status addToTop(std::uint64_t child) {
        Frame& top = stack_.back();
        if (stack_.size() + depth_[child] > maxDepth_)
            return refused("nested too deeply");
        top.deepest = std::max(top.deepest, depth_[child]);
        top.values += values_[child];
        if (top.values > maxValues_)
            return refused("too many values");
        return success();
    }

    std::string_view bytes_;
    std::size_t maxDepth_;
    std::size_t maxValues_;
    unsigned offsetSize_ = 0, refSize_ = 0;
    std::uint64_t count_ = 0, root_ = 0, table_ = 0;
    std::vector<State> state_;
    std::vector<std::uint32_t> depth_;
    std::vector<std::uint64_t> values_;
    std::vector<Frame> stack_;
};

} // namespace

Status PropertyListBounds::checkBinary(std::string_view bytes, int maxDepth,
                                       std::size_t maxValues) {
    return BinaryWalk(bytes, maxDepth, maxValues).run();
}

} // namespace foundation
