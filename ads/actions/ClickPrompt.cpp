#include "ads/actions/ClickPrompt.h"

#include "ads/request/Localizer.h"
#include "ads/request/Opener.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/ui/AlertView.h"

#include <set>
#include <utility>

namespace pennant {

namespace {

// The prompts on screen, kept here rather than by themselves so that a context torn down
// with one still up releases it.
struct ShownPrompts {
    std::set<std::shared_ptr<ClickPrompt>> prompts;
};

ShownPrompts& shownPrompts() {
    return foundation::PlatformContext::current().object<ShownPrompts>(
        [] { return new ShownPrompts(); });
}

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
    shownPrompts().prompts.insert(shared_from_this());
    alert_->show();
}

void ClickPrompt::clickedButtonAtIndex(ui::AlertView& alert, int index) {
    if (index != alert.cancelButtonIndex())
        accept();
}

void ClickPrompt::didDismissWithButtonIndex(ui::AlertView&, int) {
    // Dropped last: this may be the final reference.
    const auto ending = shared_from_this();
    shownPrompts().prompts.erase(ending);
}

void ClickPrompt::fireAcquisitionURL() const { Opener::fireAccountingURL(acquisitionURL_); }

} // namespace pennant
