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

namespace pennant {

Localizer& Localizer::sharedLocalizer() { return foundation::Singleton<Localizer>::shared(); }

Localizer::Localizer() {
    const auto documents = foundation::Sandbox::searchPathForDirectory(foundation::Sandbox::Directory::Documents);
    if (!documents.empty()) {
        directory_ = documents.front() + "/pennant/localization_cache/20091119";
        foundation::FileManager::createDirectory(directory_);
    }
    if (auto languages = foundation::UserDefaults::standard().arrayForKey("AppleLanguages");
        languages && !languages->empty() && languages->front().isString())
        preferredLanguage_ = languages->front().asString();
}

std::optional<std::string> Localizer::currentLocale() const {
    return foundation::UserDefaults::standard().stringForKey("AppleLocale");
}

std::optional<std::string> Localizer::stringsPathForLanguage(const std::string& language) const {
    if (directory_.empty() || !CacheFileName::isSafe(language + ".strings"))
        return std::nullopt;
    return directory_ + "/" + language + ".strings";
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
    if (auto path = stringsPathForLanguage(download.identifier()))
        keep(*path, download.data());
    download.cancel();
    download_.reset();
}

void Localizer::keep(const std::string& path, const foundation::Data& table) {
    if (auto written = foundation::FileManager::writeAtomically(path, table); !written)
        foundation::log("Pennant: could not keep strings table: {}", written.error().message);
}

void Localizer::downloadDidFail(URLDownload& download) {
    // A server that answered with an error does not have the language: an empty file keeps
    // it from being asked again. Network failures leave nothing, so the next request retries.
    const auto& error = download.error();
    if (error && error->code == URLDownload::kHTTPError)
        if (auto path = stringsPathForLanguage(download.identifier()))
            keep(*path, foundation::Data());
    download.cancel();
    download_.reset();
}

void Localizer::loadStrings() {
    if (strings_)
        return;
    strings_.emplace();
    if (!preferredLanguage_)
        return;
    auto path = stringsPathForLanguage(*preferredLanguage_);
    auto bytes = path ? foundation::FileManager::contentsAtPath(*path) : std::nullopt;
    if (!bytes || bytes->empty())
        return;
    auto table = foundation::PropertyList::read(*bytes);
    if (table && table.value().isDictionary())
        strings_ = table.value().asDictionary();
}

std::string Localizer::localizedStringForKey(const std::string& key) {
    loadStrings();
    const foundation::Value& text = strings_->get(key);
    return text.isString() && !text.asString().empty() ? std::string(text.asString()) : key;
}

} // namespace pennant
