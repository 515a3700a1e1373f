#include "platform/foundation/URL.h"

#include "platform/foundation/ASCII.h"
#include "platform/foundation/PercentEncoding.h"

#include <cctype>
#include <filesystem>

namespace foundation {

namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Bytes a URL may carry as they are; everything else must arrive percent-escaped.
bool isAllowedCharacter(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F)
        return false;
    switch (c) {
    case '"':
    case '<':
    case '>':
    case '\\':
    case '^':
    case '`':
    case '{':
    case '|':
    case '}':
        return false;
    default:
        return true;
    }
}

bool validCharacters(std::string_view text) {
    bool seenFragment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '#') {
            if (seenFragment)
                return false;
            seenFragment = true;
        }
        if (!isAllowedCharacter(c))
            return false;
        if (c == '%' && (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2])))
            return false;
    }
    return true;
}

std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ':')
            return i;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return 0;
    }
    return 0;
}

} // namespace

std::optional<URL> URL::create(std::string_view text) {
    if (text.empty() || text.size() > kMaxLength || !validCharacters(text))
        return std::nullopt;
    const std::size_t length = schemeLength(text);
    if (length == 0)
        return std::nullopt;
    URL url;
    url.text_ = std::string(text);
    url.scheme_ = ASCII::lowercased(text.substr(0, length));
    if (!url.parseAfterScheme(text.substr(length + 1)))
        return std::nullopt;
    return url;
}

URL URL::fileURLWithPath(const std::string& path) {
    URL url;
    url.scheme_ = "file";
    url.hasAuthority_ = true;
    // A relative path is taken from the current directory: written after "file://" its first
    // component would read as a host.
    url.path_ = path.starts_with('/') ? path : (std::filesystem::current_path() / path).string();
    url.text_ = "file://" + PercentEncoding::encode(url.path_, "/!$&'()*+,;=:@");
    return url;
}

bool URL::parseAfterScheme(std::string_view rest) {
    if (auto hash = rest.find('#'); hash != std::string_view::npos) {
        fragment_ = std::string(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    if (auto question = rest.find('?'); question != std::string_view::npos) {
        query_ = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }
    if (rest.starts_with("//")) {
        hasAuthority_ = true;
        rest.remove_prefix(2);
        const auto slash = rest.find('/');
        if (!parseAuthority(rest.substr(0, slash)))
            return false;
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    path_ = std::string(rest);
    return true;
}

bool URL::parseAuthority(std::string_view authority) {
    if (auto at = authority.rfind('@'); at != std::string_view::npos) {
        user_ = std::string(authority.substr(0, at));
        authority.remove_prefix(at + 1);
    }
    std::size_t portStart = std::string_view::npos;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            return false;
        host_ = std::string(authority.substr(1, close - 1));
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':')
                return false;
            portStart = close + 2;
        }
    } else {
        const auto colon = authority.find(':');
        host_ = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos)
            portStart = colon + 1;
    }
    if (portStart == std::string_view::npos)
        return true;
    const auto digits = authority.substr(portStart);
    if (digits.empty())
        return true;
    if (digits.size() > 5)
        return false;
    int port = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        port = port * 10 + (c - '0');
    }
    if (port > 65535)
        return false;
    port_ = port;
    return true;
}

std::string URL::lastPathComponent() const {
    std::string_view path = path_;
    if (path.empty())
        return "";
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    if (path == "/")
        return "/";
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string URL::pathExtension() const {
    const std::string last = lastPathComponent();
    const auto dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == last.size())
        return "";
    return last.substr(dot + 1);
}

} // namespace foundation
