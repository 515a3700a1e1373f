#include "ads/actions/ClickToCallAlert.h"

#include "ads/request/Opener.h"
#include "platform/foundation/Log.h"

namespace pennant {

namespace {
void removeAll(std::string& text, std::string_view part) {
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

// "tel://555-0100" and "tel:555-0100" both read as 555-0100.
std::string numberText(const foundation::URL& url) {
    auto text = url.absoluteString();
    removeAll(text, "tel:");
    removeAll(text, "//");
    return text;
}
} // namespace

std::shared_ptr<ClickToCallAlert>
ClickToCallAlert::create(const std::optional<foundation::URL>& phoneNumberURL, bool prompt,
                         std::optional<std::string> acquisitionURL) {
    if (!phoneNumberURL) {
        foundation::log("No phone number in click response.");
        return nullptr;
    }
    const auto number = numberText(*phoneNumberURL);
    if (number.empty()) {
        foundation::log("Empty phone number in click response.");
        return nullptr;
    }
    std::shared_ptr<ClickToCallAlert> alert(
        new ClickToCallAlert(*phoneNumberURL, prompt, std::move(acquisitionURL)));
    alert->makeAlert("Call %@?", number, "Call");
    return alert;
}

ClickToCallAlert::ClickToCallAlert(foundation::URL phoneNumberURL, bool prompt,
                                   std::optional<std::string> acquisitionURL)
    : ClickPrompt(prompt, std::move(acquisitionURL)), phoneNumberURL_(std::move(phoneNumberURL)) {}

void ClickToCallAlert::startClickToCall() {
    fireAcquisitionURL();
    Opener::launchNewApplication(phoneNumberURL_, {});
}

} // namespace pennant
