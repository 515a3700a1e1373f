#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Result.h"

#include <memory>
#include <optional>
#include <string>

namespace foundation {
template <typename T>
class Singleton;
}

namespace pennant {

class URLDownload;

// The client's user-visible texts, looked up by key in a strings table for the preferred
// language. The table is downloaded once from the static-content server into
// Documents/pennant/localization_cache/20091119/<language>.strings; an empty file there marks
// a language the server does not have. The table is loaded once per process, so a file that
// arrives after the first lookup is used from the next launch on. Only a table that reads is
// kept: a download that does not is dropped, and a stored one that does not is removed so the
// next launch fetches it again. The folder is found from the current sandbox home at each use.
class Localizer {
public:
    static Localizer& sharedLocalizer();

    // Empty while there is no sandbox home.
    std::string cacheDirectory() const;
    // Element 0 of the user default "AppleLanguages", read once.
    const std::optional<std::string>& preferredLanguage() const { return preferredLanguage_; }
    // The user default "AppleLocale" when it is a string; read on every call.
    std::optional<std::string> currentLocale() const;
    // nullopt without a sandbox home or for a language code that cannot be a file name.
    std::optional<std::string> stringsPathForLanguage(const std::string& language) const;

    // Starts the download of the preferred language's table unless its file exists or a
    // download of it is already running.
    void downloadResourcesIfNecessary();
    // The text for the key; the key itself when there is none or it is empty.
    std::string localizedStringForKey(const std::string& key);

private:
    friend class foundation::Singleton<Localizer>;
    Localizer();

    // Below the sandbox home; nullopt for a language code that cannot be a file name.
    static std::optional<std::string> relativeStringsPath(const std::string& language);
    static foundation::Result<foundation::Dictionary> readTable(const foundation::Data& bytes);

    void loadStrings();
    void downloadDidSucceed(URLDownload& download);
    void downloadDidFail(URLDownload& download);
    void keep(const std::string& language, const foundation::Data& table);
    void discard(const std::string& relativePath, const foundation::Error& why);

    std::optional<std::string> preferredLanguage_;
    std::optional<foundation::Dictionary> strings_;
    std::shared_ptr<URLDownload> download_;
};

} // namespace pennant
