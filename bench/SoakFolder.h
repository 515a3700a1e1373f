#pragma once

#include "platform/foundation/Result.h"

#include <cstddef>
#include <memory>
#include <string>

// The soak run's scratch folder: an ad catalogue of the shipped catalogue's plain text ads and
// the scenario to play, both removed with this object. An image banner in rotation would end
// the banner's refreshes for good, and flex or search ads are not what the classic banner
// shows, so only text ads are kept.
class SoakFolder {
public:
    static foundation::Result<std::unique_ptr<SoakFolder>> create(const std::string& catalog,
                                                                  const std::string& scenario);
    ~SoakFolder();
    SoakFolder(const SoakFolder&) = delete;
    SoakFolder& operator=(const SoakFolder&) = delete;

    std::string catalogDirectory() const { return path_ + "/catalog"; }
    std::string scenarioPath() const { return path_ + "/soak.scn"; }
    // The text ads the catalogue kept.
    std::size_t adCount() const { return adCount_; }

private:
    explicit SoakFolder(std::string path) : path_(std::move(path)) {}
    foundation::Status writeCatalog(const std::string& from);

    std::string path_;
    std::size_t adCount_ = 0;
};
