#include "SoakFolder.h"

#include "platform/foundation/Data.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <filesystem>
#include <unistd.h>

namespace {

foundation::Error failure(std::string message) {
    return foundation::Error{"banner_soak", 0, std::move(message)};
}

// What the classic banner draws as text: text, no image banner, no search field, no markup.
bool isPlainTextAd(const foundation::Value& ad) {
    const auto& response = ad["response"];
    return response["text"].isString() && response["banner"].isNull() &&
           !response.asDictionary().contains("20") && response["markup"].isNull();
}

} // namespace

foundation::Result<std::unique_ptr<SoakFolder>> SoakFolder::create(const std::string& catalog,
                                                                   const std::string& scenario) {
    const auto path =
        std::filesystem::temp_directory_path() / ("banner_soak-" + std::to_string(::getpid()));
    // A folder left by an earlier run with the same process id is stale.
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    std::unique_ptr<SoakFolder> folder(new SoakFolder(path.string()));
    if (auto made = foundation::FileManager::createDirectory(folder->catalogDirectory()); !made)
        return made.error();
    if (auto written = folder->writeCatalog(catalog); !written)
        return written.error();
    if (auto written = foundation::FileManager::writeAtomically(
            folder->scenarioPath(), foundation::Data::fromString(scenario));
        !written)
        return written.error();
    return folder;
}

SoakFolder::~SoakFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

foundation::Status SoakFolder::writeCatalog(const std::string& from) {
    const auto bytes = foundation::FileManager::contentsAtPath(from + "/ads.json");
    if (!bytes)
        return failure("cannot read " + from + "/ads.json");
    auto parsed = json::JSONDeserializer().deserializeAsDictionary(*bytes);
    if (!parsed)
        return failure(from + "/ads.json: " + parsed.error().message);
    foundation::Value::Array ads;
    for (const auto& ad : parsed.value()["ads"].asArray())
        if (isPlainTextAd(ad))
            ads.push_back(ad);
    adCount_ = ads.size();
    if (ads.empty())
        return failure(from + "/ads.json has no plain text ad");
    auto catalog = parsed.value().asDictionary();
    catalog.set("ads", foundation::Value(std::move(ads)));
    auto text = json::JSONSerializer().serializeDictionary(catalog);
    if (!text)
        return failure(text.error().message);
    if (auto written = foundation::FileManager::writeAtomically(
            catalogDirectory() + "/ads.json", foundation::Data::fromString(text.value()));
        !written)
        return written;
    // The static files (tiles, icons, strings) are the shipped ones.
    std::error_code error;
    std::filesystem::create_directory_symlink(std::filesystem::absolute(from + "/static"),
                                              catalogDirectory() + "/static", error);
    return error ? failure("cannot link the static files: " + error.message())
                 : foundation::success();
}
