#include "tools/pennant/AddressBookCommand.h"

#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Image.h"
#include "tools/pennant/Console.h"
#include "json/JSONSerializer.h"

#include <ostream>

namespace tool {

using foundation::Dictionary;
using foundation::Value;

namespace {

void printUsage(std::ostream& out) {
    out << "usage: pennant addressbook list --home DIR\n\n"
           "Prints the address book of the sandbox home DIR as one JSON array of people.\n"
           "exit status: 0 printed, 1 no readable address book, 2 usage error.\n";
}

template <typename T, typename Convert>
void setLabeled(Dictionary& fields, const char* key,
                const std::vector<addressbook::Labeled<T>>& values, Convert convert) {
    if (values.empty())
        return;
    Value::Array entries;
    for (const auto& [label, value] : values)
        entries.emplace_back(Dictionary{{"label", label}, {"value", convert(value)}});
    fields.set(key, Value(std::move(entries)));
}

Value text(const std::string& value) { return Value(value); }

Value addressValue(const addressbook::Address& address) {
    Dictionary components;
    for (const auto& [key, value] : address)
        components.set(key, value);
    return Value(std::move(components));
}

// The picture's pixel size, or only its length when it does not decode.
Value imageValue(const foundation::Data& data) {
    const auto image = graphics::Image::fromData(data);
    if (!image)
        return Dictionary{{"bytes", Value::integer(static_cast<long long>(data.size()))}};
    return Dictionary{{"width", Value::integer(image->pixelWidth())},
                      {"height", Value::integer(image->pixelHeight())}};
}

void setText(Dictionary& fields, const char* key, const std::string& value) {
    if (!value.empty())
        fields.set(key, value);
}

Value personValue(const addressbook::Person& person) {
    const bool organization = person.kind == addressbook::Person::Kind::Organization;
    Dictionary fields{{"id", Value::integer(person.id)},
                      {"kind", organization ? "organization" : "person"}};
    setText(fields, "first", person.firstName);
    setText(fields, "last", person.lastName);
    setText(fields, "organization", person.organization);
    setLabeled(fields, "phones", person.phones, text);
    setLabeled(fields, "emails", person.emails, text);
    setLabeled(fields, "addresses", person.addresses, addressValue);
    setLabeled(fields, "urls", person.urls, text);
    if (person.note)
        fields.set("note", *person.note);
    if (person.imageData)
        fields.set("image", imageValue(*person.imageData));
    return Value(std::move(fields));
}

} // namespace

int AddressBookCommand::run(std::span<const std::string> arguments, Console& console) const {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        printUsage(console.out);
        return kSuccess;
    }
    if (arguments.size() != 3 || arguments[0] != "list" || arguments[1] != "--home") {
        printUsage(console.err);
        return kUsageOrInputError;
    }
    return list(arguments[2], console);
}

int AddressBookCommand::list(const std::string& home, Console& console) {
    // Setting a home makes its standard folders; a mistyped one is not made.
    if (!foundation::FileManager::isDirectory(home)) {
        console.err << "pennant: no sandbox home at " << home << "\n";
        return kFailure;
    }
    if (auto set = foundation::Sandbox::current().setHome(home); !set) {
        console.err << "pennant: " << set.error().message << "\n";
        return kFailure;
    }
    auto book = addressbook::AddressBook::create(addressbook::AddressBook::OpenMode::ExistingOnly);
    if (!book) {
        console.err << "pennant: " << book.error().message << "\n";
        return kFailure;
    }
    auto all = book.value()->allPeople();
    if (!all) {
        console.err << "pennant: " << all.error().message << "\n";
        return kFailure;
    }
    Value::Array list;
    for (const auto& person : all.value())
        list.push_back(personValue(person));
    console.out << json::JSONSerializer().serializeObject(Value(std::move(list))).valueOr("[]")
                << "\n";
    return kSuccess;
}

} // namespace tool
