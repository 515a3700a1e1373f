#include "ads/actions/ClickPrompt.h"

#include "ads/request/Localizer.h"
#include "ads/request/Opener.h"
#include "platform/ui/AlertView.h"

#include <utility>

namespace pennant {

namespace {
// A table's text carries one "%@"; a second one stays as it is rather than reading past the
// one argument there is.
std::string formatted(std::string format, const std::string& subject) {
    if (const auto at = format.find("%@"); at != std::string::npos)
        format.replace(at, 2, subject);
    return format;
}
} // namespace

ClickPrompt::ClickPrompt(bool prompt, std::optional<std::string> acquisitionURL)
    : prompt_(prompt), acquisitionURL_(std::move(acquisitionURL)) {}

void ClickPrompt::makeAlert(const std::string& titleFormat, const std::string& subject,
                            const std::string& acceptTitle) {
    auto& localizer = Localizer::sharedLocalizer();
    alert_ = ui::AlertView::create(formatted(localizer.localizedStringForKey(titleFormat), subject),
                                   std::string(), weak_from_this(),
                                   std::optional(localizer.localizedStringForKey("Cancel")),
                                   std::vector{localizer.localizedStringForKey(acceptTitle)});
}

void ClickPrompt::show() {
    if (!prompt_)
        return accept();
    keepAlive_ = shared_from_this();
    alert_->show();
}

void ClickPrompt::clickedButtonAtIndex(ui::AlertView& alert, int index) {
    if (index != alert.cancelButtonIndex())
        accept();
}

void ClickPrompt::didDismissWithButtonIndex(ui::AlertView&, int) {
    // Dropped last: this may be the final reference.
    auto ending = std::exchange(keepAlive_, nullptr);
}

void ClickPrompt::fireAcquisitionURL() const { Opener::fireAccountingURL(acquisitionURL_); }

} // namespace pennant
