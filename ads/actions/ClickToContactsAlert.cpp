#include "ads/actions/ClickToContactsAlert.h"

#include "ads/actions/Contact.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Log.h"

namespace pennant {

std::shared_ptr<ClickToContactsAlert>
ClickToContactsAlert::create(const std::optional<foundation::Dictionary>& contact, bool prompt,
                             std::optional<std::string> acquisitionURL) {
    if (!contact) {
        foundation::log("No contact information in click response.");
        return nullptr;
    }
    auto read = Contact::create(*contact);
    if (!read->organization()) {
        foundation::log("No organization name in the contact information in click response.");
        return nullptr;
    }
    if (!read->hasDetails()) {
        foundation::log("No usable contact information for {} in click response.",
                        *read->organization());
        return nullptr;
    }
    std::shared_ptr<ClickToContactsAlert> alert(
        new ClickToContactsAlert(read, prompt, std::move(acquisitionURL)));
    alert->makeAlert("Add %@ to your Address Book?", *read->organization(), "Add");
    return alert;
}

ClickToContactsAlert::ClickToContactsAlert(std::shared_ptr<Contact> contact, bool prompt,
                                           std::optional<std::string> acquisitionURL)
    : ClickPrompt(prompt, std::move(acquisitionURL)), contact_(std::move(contact)) {}

void ClickToContactsAlert::add() {
    contact_->addToAddressBook();
    fireAcquisitionURL();
}

} // namespace pennant
