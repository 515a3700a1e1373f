#pragma once

#include "platform/foundation/Dictionary.h"

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
// arrives after the first lookup is used from the next launch on.
class Localizer {
public:
    static Localizer& sharedLocalizer();

    const std::string& cacheDirectory() const { return directory_; }
    // Element 0 of the user default "AppleLanguages", read once.
    const std::optional<std::string>& preferredLanguage() const { return preferredLanguage_; }
    // The user default "AppleLocale" when it is a string; read on every call.
    std::optional<std::string> currentLocale() const;
    // nullopt for a language code that cannot be a file name.
    std::optional<std::string> stringsPathForLanguage(const std::string& language) const;

    // Starts the download of the preferred language's table unless its file exists or a
    // download of it is already running.
    void downloadResourcesIfNecessary();
    // The text for the key; the key itself when there is none or it is empty.
    std::string localizedStringForKey(const std::string& key);

private:
    friend class foundation::Singleton<Localizer>;
    Localizer();

    void loadStrings();
    void downloadDidSucceed(URLDownload& download);
    void downloadDidFail(URLDownload& download);
    void keep(const std::string& path, const foundation::Data& table);

    std::string directory_;
    std::optional<std::string> preferredLanguage_;
    std::optional<foundation::Dictionary> strings_;
    std::shared_ptr<URLDownload> download_;
};

} // namespace pennant
