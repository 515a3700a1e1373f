#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// An absolute URL split into its parts. Creation fails (nullopt) on text the platform would
// reject: no scheme, spaces, control characters, non-ASCII bytes, characters that must be
// escaped, or a malformed percent escape. "tel:555-0100" has an empty host and the path
// "555-0100"; "tel://555-0100" has the host "555-0100".
class URL {
public:
    static constexpr std::size_t kMaxLength = 64 * 1024;

    static std::optional<URL> create(std::string_view text);
    static URL fileURLWithPath(const std::string& path);

    const std::string& absoluteString() const { return text_; }
    const std::string& scheme() const { return scheme_; }
    const std::string& host() const { return host_; }
    std::optional<int> port() const { return port_; }
    const std::string& user() const { return user_; }
    const std::string& path() const { return path_; }
    // Without the leading "?" / "#"; empty when absent.
    const std::string& query() const { return query_; }
    const std::string& fragment() const { return fragment_; }
    bool hasAuthority() const { return hasAuthority_; }
    bool isFileURL() const { return scheme_ == "file"; }

    // The path's last component ("" for an empty path, "/" for the root).
    std::string lastPathComponent() const;
    // The last component's text after its last ".", or "".
    std::string pathExtension() const;

    bool operator==(const URL& other) const { return text_ == other.text_; }

private:
    bool parseAfterScheme(std::string_view rest);
    bool parseAuthority(std::string_view authority);

    std::string text_;
    std::string scheme_;
    std::string user_;
    std::string host_;
    std::optional<int> port_;
    std::string path_;
    std::string query_;
    std::string fragment_;
    bool hasAuthority_ = false;
};

} // namespace foundation
