#include "ads/actions/Contact.h"

#include "ads/request/URLDownload.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"

#include <utility>

namespace pennant {

using addressbook::Person;
using foundation::Value;

namespace {

// Empty, oversized or non-text values are unusable and left out.
std::optional<std::string> boundedText(const Value& value) {
    if (!value.isString() || value.asString().empty() ||
        value.asString().size() > Contact::kMaxTextBytes)
        return std::nullopt;
    return std::string(value.asString());
}

template <typename T, typename Read>
std::vector<addressbook::Labeled<T>> labeled(const Value& value, Read read) {
    std::vector<addressbook::Labeled<T>> entries;
    if (!value.isDictionary())
        return entries;
    for (const auto& [label, item] : value.asDictionary()) {
        if (entries.size() == Contact::kMaxValues)
            break;
        auto readValue = read(item);
        if (readValue && boundedText(Value(label)))
            entries.push_back({label, std::move(*readValue)});
    }
    return entries;
}

// The components pass through under whatever keys the server used.
std::optional<addressbook::Address> boundedAddress(const Value& value) {
    addressbook::Address address;
    for (auto& [key, text] : labeled<std::string>(value, boundedText))
        address.emplace(std::move(key), std::move(text));
    if (address.empty())
        return std::nullopt;
    return address;
}

} // namespace

std::shared_ptr<Contact> Contact::create(const foundation::Dictionary& dictionary) {
    std::shared_ptr<Contact> contact(new Contact());
    contact->read(dictionary);
    return contact;
}

void Contact::read(const foundation::Dictionary& dictionary) {
    organization_ = boundedText(dictionary.get("organization"));
    phoneNumbers_ = labeled<std::string>(dictionary.get("phonenums"), boundedText);
    emailAddresses_ = labeled<std::string>(dictionary.get("emails"), boundedText);
    addresses_ = labeled<addressbook::Address>(dictionary.get("addresses"), boundedAddress);
    links_ = labeled<std::string>(dictionary.get("links"), boundedText);
    note_ = boundedText(dictionary.get("note"));
    imageLocation_ = boundedText(dictionary.get("image"));
}

bool Contact::hasDetails() const {
    return !phoneNumbers_.empty() || !emailAddresses_.empty() || !addresses_.empty() ||
           !links_.empty() || note_ || imageLocation_;
}

void Contact::addToAddressBook() {
    if (!organization_)
        return;
    saveToAddressBook();
    if (imageLocation_)
        downloadContactImageAndAddToAddressBook();
}

void Contact::saveToAddressBook() {
    if (!organization_)
        return;
    auto book = addressbook::AddressBook::create();
    if (!book) {
        foundation::log("Could not open the address book: {}", book.error().message);
        return;
    }
    deleteContact(*organization_, *book.value());
    book.value()->addRecord(person());
    if (book.value()->save())
        foundation::log("Added contact {} to the address book.", *organization_);
}

Person Contact::person() const {
    Person person;
    person.kind = Person::Kind::Organization;
    person.organization = organization_.value_or("");
    person.phones = phoneNumbers_;
    person.emails = emailAddresses_;
    person.addresses = addresses_;
    person.urls = links_;
    person.note = note_;
    person.imageData = image_;
    return person;
}

bool Contact::deleteContact(const std::string& organization, addressbook::AddressBook& book) {
    const auto people = book.allPeople();
    if (!people)
        return false;
    bool removed = false;
    for (const auto& person : people.value()) {
        if (person.kind != Person::Kind::Organization || person.organization != organization)
            continue;
        foundation::log("Address {} is already in the address book.  Erasing the old entry "
                        "before adding the new one.",
                        organization);
        removed = book.removeRecord(person.id).ok();
    }
    if (!removed)
        return false;
    if (auto saved = book.save(); !saved)
        foundation::log("Error removing old contact {} from the address book:  {}", organization,
                        saved.error().message);
    return removed;
}

void Contact::downloadContactImageAndAddToAddressBook() {
    if (!imageLocation_ || image_ || download_)
        return;
    keepAlive_ = shared_from_this();
    download_ = URLDownload::create();
    download_->setSuccessCallback(
        [this](URLDownload& done) { contactImageDownloadDidSucceed(done); });
    download_->setFailureCallback([this](URLDownload& done) { contactImageDownloadDidFail(done); });
    download_->loadContentsOfURLAtString(*imageLocation_);
}

void Contact::contactImageDownloadDidSucceed(URLDownload& download) {
    // The image layer's decoder bounds the picture; what it refuses is not kept.
    if (graphics::Image::fromData(download.data())) {
        image_ = download.data();
        addToAddressBook();
    } else {
        foundation::log("The picture of {} is not an image; the entry stays without one.",
                        organization_.value_or(""));
    }
    endDownload();
}

void Contact::contactImageDownloadDidFail(URLDownload&) { endDownload(); }

void Contact::endDownload() {
    download_->cancel();
    download_.reset();
    // Dropped last: this may be the final reference.
    auto ending = std::exchange(keepAlive_, nullptr);
}

} // namespace pennant
