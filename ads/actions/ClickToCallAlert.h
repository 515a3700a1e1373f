#pragma once

#include "ads/actions/ClickPrompt.h"
#include "platform/foundation/URL.h"

#include <memory>
#include <optional>
#include <string>

namespace pennant {

// Asks whether to call the advertiser's number, then fires the acquisition ping and hands the
// telephone URL to the system once the opener's pings have ended.
class ClickToCallAlert : public ClickPrompt {
public:
    // nullptr, with a log line, without a URL or when the URL holds no number.
    static std::shared_ptr<ClickToCallAlert>
    create(const std::optional<foundation::URL>& phoneNumberURL, bool prompt,
           std::optional<std::string> acquisitionURL);

    const foundation::URL& phoneNumberURL() const { return phoneNumberURL_; }
    void startClickToCall();

protected:
    void accept() override { startClickToCall(); }

private:
    ClickToCallAlert(foundation::URL phoneNumberURL, bool prompt,
                     std::optional<std::string> acquisitionURL);

    foundation::URL phoneNumberURL_;
};

} // namespace pennant
