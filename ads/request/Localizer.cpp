#include "ads/request/Localizer.h"

#include "ads/request/CacheFileName.h"
#include "ads/request/Endpoints.h"
#include "ads/request/URLDownload.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Singleton.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HTTPClient.h"

#include <cerrno>

namespace pennant {

namespace {
constexpr std::string_view kFolder = "pennant/localization_cache/20091119";

const std::string& home() { return foundation::Sandbox::current().home(); }
} // namespace

Localizer& Localizer::sharedLocalizer() { return foundation::Singleton<Localizer>::shared(); }

Localizer::Localizer() {
    // Made after the HTTP client, so torn down before it: a strings download still running
    // then is cancelled while the client can hear it.
    net::HTTPClient::shared();
    if (auto languages = foundation::UserDefaults::standard().arrayForKey("AppleLanguages");
        languages && !languages->empty() && languages->front().isString())
        preferredLanguage_ = languages->front().asString();
}

std::string Localizer::cacheDirectory() const {
    const auto documents =
        foundation::Sandbox::searchPathForDirectory(foundation::Sandbox::Directory::Documents);
    return documents.empty() ? std::string() : documents.front() + "/" + std::string(kFolder);
}

std::optional<std::string> Localizer::currentLocale() const {
    return foundation::UserDefaults::standard().stringForKey("AppleLocale");
}

std::optional<std::string> Localizer::relativeStringsPath(const std::string& language) {
    if (!CacheFileName::isSafe(language + ".strings"))
        return std::nullopt;
    return foundation::Sandbox::relativePath(foundation::Sandbox::Directory::Documents) + "/" +
           std::string(kFolder) + "/" + language + ".strings";
}

std::optional<std::string> Localizer::stringsPathForLanguage(const std::string& language) const {
    auto relative = relativeStringsPath(language);
    if (!relative || home().empty())
        return std::nullopt;
    return home() + "/" + *relative;
}

foundation::Result<foundation::Dictionary> Localizer::readTable(const foundation::Data& bytes) {
    auto table = foundation::PropertyList::read(bytes);
    if (!table)
        return table.error();
    if (!table.value().isDictionary())
        return foundation::Error{"PennantLocalizerErrorDomain", -1,
                                 "the strings table is not a dictionary"};
    return table.value().asDictionary();
}

void Localizer::downloadResourcesIfNecessary() {
    if (!preferredLanguage_ || download_)
        return;
    auto path = stringsPathForLanguage(*preferredLanguage_);
    if (!path || foundation::FileManager::fileExists(*path))
        return;
    download_ = URLDownload::create();
    download_->setIdentifier(*preferredLanguage_);
    download_->setSuccessCallback([this](URLDownload& download) { downloadDidSucceed(download); });
    download_->setFailureCallback([this](URLDownload& download) { downloadDidFail(download); });
    download_->loadContentsOfURLAtString(Endpoints::stringsURL(*preferredLanguage_));
}

void Localizer::downloadDidSucceed(URLDownload& download) {
    // A table that would not read must not be kept: every later launch would read it.
    if (auto table = readTable(download.data()); !table)
        foundation::log("Pennant: refusing the downloaded strings table for {}: {}",
                        download.identifier(), table.error().message);
    else
        keep(download.identifier(), download.data());
    download.cancel();
    download_.reset();
}

void Localizer::keep(const std::string& language, const foundation::Data& table) {
    const auto relative = relativeStringsPath(language);
    if (!relative)
        return;
    if (auto written = foundation::FileManager::writeAtomicallyBelow(home(), *relative, table);
        !written)
        foundation::log("Pennant: could not keep strings table: {}", written.error().message);
}

void Localizer::downloadDidFail(URLDownload& download) {
    // A server that answered with an error does not have the language: an empty file keeps
    // it from being asked again. Network failures leave nothing, so the next request retries.
    const auto& error = download.error();
    if (error && error->code == URLDownload::kHTTPError)
        keep(download.identifier(), foundation::Data());
    download.cancel();
    download_.reset();
}

void Localizer::discard(const std::string& relativePath, const foundation::Error& why) {
    foundation::log("Pennant: discarding the stored strings table {}: {}", relativePath,
                    why.message);
    if (auto removed = foundation::FileManager::removeItemBelow(home(), relativePath); !removed)
        foundation::log("Pennant: could not remove strings table: {}", removed.error().message);
}

void Localizer::loadStrings() {
    if (strings_)
        return;
    strings_.emplace();
    const auto relative =
        preferredLanguage_ ? relativeStringsPath(*preferredLanguage_) : std::nullopt;
    if (!relative || home().empty())
        return;
    auto bytes = foundation::FileManager::contentsBelow(home(), *relative);
    if (!bytes) {
        if (bytes.error().code != ENOENT)
            discard(*relative, bytes.error());
        return;
    }
    // An empty file marks a language the server does not have.
    if (bytes.value().empty())
        return;
    auto table = readTable(bytes.value());
    if (!table) {
        discard(*relative, table.error());
        return;
    }
    strings_ = std::move(table.value());
}

std::string Localizer::localizedStringForKey(const std::string& key) {
    loadStrings();
    const foundation::Value& text = strings_->get(key);
    return text.isString() && !text.asString().empty() ? std::string(text.asString()) : key;
}

} // namespace pennant
