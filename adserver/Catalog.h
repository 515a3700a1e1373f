#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adserver {

// The ads the server plays and the static files it serves, read from a catalogue folder:
// ads.json ({"ads": [{"id", "response", "click"}...], "suggestions": [...]}) and static/.
// Files made at build time (the video clips) live in a second folder searched after static/.
class Catalog {
public:
    struct File {
        foundation::Data contents;
        std::string contentType;
    };

    static foundation::Result<std::shared_ptr<Catalog>> load(const std::string& directory,
                                                             std::string generatedDirectory = {});

    std::size_t adCount() const { return ads_.size(); }
    // The first ad whose action is the test action, else the ad of that identifier; otherwise
    // the next ad in rotation.
    const foundation::Value& chooseAd(const std::optional<std::string>& testAction);
    // nullptr when no ad has that identifier.
    const foundation::Value* findAd(std::string_view identifier) const;
    // The rotation goes on from the ad of that identifier; false when there is none.
    bool startRotationAt(std::string_view identifier);
    std::vector<std::string> suggestionsFor(std::string_view query) const;
    // A file under static/, addressed by its URL path below "/static/"; nullopt when the path
    // is unsafe or names nothing.
    std::optional<File> staticFile(std::string_view path) const;

private:
    Catalog(std::string directory, std::string generatedDirectory, foundation::Value::Array ads,
            std::vector<std::string> suggestions);

    std::string directory_;
    std::string generatedDirectory_;
    foundation::Value::Array ads_;
    std::vector<std::string> suggestions_;
    std::atomic<std::size_t> rotation_{0};
};

} // namespace adserver
