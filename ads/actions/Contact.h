#pragma once

#include "platform/addressbook/Person.h"
#include "platform/foundation/Data.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace addressbook {
class AddressBook;
}
namespace foundation {
class Dictionary;
}

namespace pennant {

class URLDownload;

// An advertiser's organisation entry, read from the contact dictionary of the open parameters
// or the click response, and written to the address book in place of any older entry of the
// same organisation. The dictionary comes from the network, so each text is bounded and each
// multi-value field keeps at most a few values; what exceeds a bound is left out. While its
// picture downloads the contact keeps itself alive; the entry is then written again with it.
class Contact : public std::enable_shared_from_this<Contact> {
public:
    static constexpr std::size_t kMaxTextBytes = 1024;
    static constexpr std::size_t kMaxValues = 20;

    using Values = std::vector<addressbook::Labeled<std::string>>;
    using Addresses = std::vector<addressbook::Labeled<addressbook::Address>>;

    static std::shared_ptr<Contact> create(const foundation::Dictionary& dictionary);

    const std::optional<std::string>& organization() const { return organization_; }
    const Values& phoneNumbers() const { return phoneNumbers_; }
    const Values& emailAddresses() const { return emailAddresses_; }
    const Addresses& addresses() const { return addresses_; }
    const Values& links() const { return links_; }
    const std::optional<std::string>& note() const { return note_; }
    const std::optional<std::string>& imageLocation() const { return imageLocation_; }
    const std::optional<foundation::Data>& image() const { return image_; }
    // Anything besides the name worth an entry.
    bool hasDetails() const;

    // Writes the entry, then fetches the picture if there is one to fetch.
    void addToAddressBook();
    void saveToAddressBook();
    void downloadContactImageAndAddToAddressBook();
    // Removes every organisation entry of that name; the last removal's success.
    static bool deleteContact(const std::string& organization, addressbook::AddressBook& book);

private:
    Contact() = default;

    void read(const foundation::Dictionary& dictionary);
    addressbook::Person person() const;
    void contactImageDownloadDidSucceed(URLDownload& download);
    void contactImageDownloadDidFail(URLDownload& download);
    void endDownload();

    std::optional<std::string> organization_;
    Values phoneNumbers_;
    Values emailAddresses_;
    Addresses addresses_;
    Values links_;
    std::optional<std::string> note_;
    std::optional<std::string> imageLocation_;
    std::optional<foundation::Data> image_;
    std::shared_ptr<URLDownload> download_;
    std::shared_ptr<Contact> keepAlive_;
};

} // namespace pennant
