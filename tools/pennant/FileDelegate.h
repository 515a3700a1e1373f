#pragma once

#include "ads/request/Delegate.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

#include <memory>
#include <optional>
#include <string>

namespace tool {

// A host whose answers come from a JSON object, one key per delegate method; a missing key
// is a method the host does not implement.
class FileDelegate : public pennant::Delegate {
public:
    static constexpr const char* kDefaultPublisherId = "a1b2c3d4e5f6a7b";

    // Fails with a message naming the file and the key when the file cannot be read, is not
    // a JSON object, or gives a known key a value of the wrong form.
    static foundation::Result<std::shared_ptr<FileDelegate>> load(const std::string& path);
    static foundation::Result<std::shared_ptr<FileDelegate>>
    fromObject(const foundation::Value& object);

    std::string publisherId() override { return publisherId_; }
    std::optional<graphics::Color> adBackgroundColor() override { return background_; }
    std::optional<graphics::Color> primaryTextColor() override { return primaryText_; }
    std::optional<graphics::Color> secondaryTextColor() override { return secondaryText_; }
    std::optional<bool> useGraySpinner() override { return graySpinner_; }
    std::optional<bool> mayAskForLocation() override { return mayAskForLocation_; }
    std::optional<std::optional<location::Location>> location() override { return location_; }
    std::optional<bool> useTestAd() override { return useTestAd_; }
    std::optional<std::string> testAdAction() override { return testAdAction_; }
    std::optional<std::string> postalCode() override { return postalCode_; }
    std::optional<std::string> areaCode() override { return areaCode_; }
    std::optional<foundation::Date> dateOfBirth() override { return dateOfBirth_; }
    std::optional<std::string> gender() override { return gender_; }
    std::optional<std::string> keywords() override { return keywords_; }
    std::optional<std::string> searchString() override { return searchString_; }
    std::optional<std::string> adserverEndpoint() override { return adserverEndpoint_; }

private:
    class Reader;

    std::string publisherId_ = kDefaultPublisherId;
    std::optional<graphics::Color> background_, primaryText_, secondaryText_;
    std::optional<bool> graySpinner_, mayAskForLocation_, useTestAd_;
    std::optional<std::optional<location::Location>> location_;
    std::optional<std::string> testAdAction_, postalCode_, areaCode_, gender_, keywords_,
        searchString_, adserverEndpoint_;
    std::optional<foundation::Date> dateOfBirth_;
};

} // namespace tool
