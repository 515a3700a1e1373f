#pragma once

#include "platform/ui/AlertViewDelegate.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class AlertView;
}

namespace pennant {

// What the call and add-contact prompts share: a two-button alert (the localised "Cancel" and
// one that accepts) that the opener shows and forgets. Shown, the prompt keeps itself alive
// until the alert has gone; without the prompt flag show() accepts at once and nothing is
// displayed.
class ClickPrompt : public ui::AlertViewDelegate, public std::enable_shared_from_this<ClickPrompt> {
public:
    void show();
    bool prompt() const { return prompt_; }
    const std::optional<std::string>& acquisitionURL() const { return acquisitionURL_; }
    const std::shared_ptr<ui::AlertView>& alert() const { return alert_; }

    // Any button but the cancel button accepts.
    void clickedButtonAtIndex(ui::AlertView& alert, int index) override;
    void didDismissWithButtonIndex(ui::AlertView& alert, int index) override;

protected:
    ClickPrompt(bool prompt, std::optional<std::string> acquisitionURL);

    // Run once the prompt is owned: the title is the localised titleFormat with its "%@"
    // replaced by subject.
    void makeAlert(const std::string& titleFormat, const std::string& subject,
                   const std::string& acceptTitle);
    void fireAcquisitionURL() const;
    virtual void accept() = 0;

private:
    bool prompt_;
    std::optional<std::string> acquisitionURL_;
    std::shared_ptr<ui::AlertView> alert_;
};

} // namespace pennant
