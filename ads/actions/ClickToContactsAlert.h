#pragma once

#include "ads/actions/ClickPrompt.h"

#include <memory>
#include <optional>
#include <string>

namespace foundation {
class Dictionary;
}

namespace pennant {

class Contact;

// Asks whether to add the advertiser to the address book, then writes the entry and fires the
// acquisition ping.
class ClickToContactsAlert : public ClickPrompt {
public:
    // nullptr, with a log line, without a dictionary, without an organisation name, or when
    // nothing usable but the name is left of it.
    static std::shared_ptr<ClickToContactsAlert>
    create(const std::optional<foundation::Dictionary>& contact, bool prompt,
           std::optional<std::string> acquisitionURL);

    const std::shared_ptr<Contact>& contact() const { return contact_; }
    void add();

protected:
    void accept() override { add(); }

private:
    ClickToContactsAlert(std::shared_ptr<Contact> contact, bool prompt,
                         std::optional<std::string> acquisitionURL);

    std::shared_ptr<Contact> contact_;
};

} // namespace pennant
