#include "ads/actions/ClickToContactsAlert.h"
#include "ads/actions/Contact.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/FileManager.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "tests/support/ClickPromptFixture.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

using addressbook::AddressBook;
using addressbook::Person;
using foundation::Dictionary;
using pennant::ClickToContactsAlert;

namespace {

constexpr const char* kAcquisition = "http://ads.pennant.test/pixel/track/contact-ok";
constexpr const char* kAcquisitionPath = "/pixel/track/contact-ok";
constexpr const char* kBakery = R"({"organization": "Corner Bakery",
    "phonenums": {"main": "555-0100", "Night line": "555-0199"},
    "emails": {"work": "hello@bakery.test"},
    "addresses": {"work": {"Street": "1 Rue du Pain", "City": "Lyon", "ZIP": "69001"}},
    "links": {"home page": "http://bakery.test/"},
    "note": "Open on Sundays"})";

Dictionary parse(std::string_view json) {
    auto parsed = json::JSONDeserializer().deserializeAsDictionary(json);
    EXPECT_TRUE(parsed.ok()) << json;
    return parsed.ok() ? parsed.value().asDictionary() : Dictionary{};
}

Dictionary bakeryWith(std::string_view key, foundation::Value value) {
    auto contact = parse(kBakery);
    contact.set(std::string(key), std::move(value));
    return contact;
}

class ClickToContactsAlertTest : public testing_support::ClickPromptFixture {
protected:
    static std::shared_ptr<ClickToContactsAlert> promptFor(const Dictionary& contact,
                                                           bool prompt = true) {
        return ClickToContactsAlert::create(contact, prompt, kAcquisition);
    }
    static std::vector<Person> people() {
        auto book = AddressBook::create();
        EXPECT_TRUE(book.ok());
        auto all = book.ok() ? book.value()->allPeople() : std::vector<Person>{};
        EXPECT_TRUE(all.ok());
        return all.ok() ? all.value() : std::vector<Person>{};
    }
    static void save(Person::Kind kind, const std::string& organization) {
        Person person;
        person.kind = kind;
        person.organization = organization;
        auto book = AddressBook::create().value();
        book->addRecord(person);
        ASSERT_TRUE(book->save().ok());
    }
    static std::string image(const std::string& name) {
        return "http://static.pennant.test/static/phone/img/" + name;
    }
    // Adds without a prompt and waits for the picture download to end.
    std::weak_ptr<pennant::Contact> addWithPicture(const std::string& url) {
        std::weak_ptr<pennant::Contact> contact;
        {
            const auto alert = promptFor(bakeryWith("image", url), false);
            contact = alert->contact();
            alert->show();
        }
        EXPECT_FALSE(contact.expired()) << "the contact lives while its picture downloads";
        EXPECT_TRUE(waitFor([&] { return contact.expired(); }));
        return contact;
    }
};

} // namespace

TEST_F(ClickToContactsAlertTest, ContactsThatCannotMakeAnEntryGetNoPrompt) {
    EXPECT_FALSE(ClickToContactsAlert::create(std::nullopt, true, kAcquisition));
    EXPECT_FALSE(promptFor(parse(R"({"phonenums": {"main": "555-0100"}})")));
    EXPECT_FALSE(promptFor(parse(R"({"organization": 7, "note": "x"})")));
    EXPECT_FALSE(promptFor(parse(R"({"organization": "Corner Bakery", "note": "",
        "phonenums": {"main": 5}, "emails": "hello@bakery.test", "addresses": {"work": {}}})")));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "No contact information in click response.",
                         "No organization name in the contact information in click response.",
                         "No organization name in the contact information in click response.",
                         "No usable contact information for Corner Bakery in click response."}));
}

TEST_F(ClickToContactsAlertTest, TheTitleNamesTheOrganisationInTheTablesLanguage) {
    const auto english = promptFor(parse(kBakery));
    ASSERT_TRUE(english);
    EXPECT_EQ(english->alert()->title(), "Add Corner Bakery to your Address Book?");
    EXPECT_EQ(english->alert()->buttonTitles(), (std::vector<std::string>{"Cancel", "Add"}));
    EXPECT_EQ(english->alert()->cancelButtonIndex(), 0);
}

TEST_F(ClickToContactsAlertTest, TheFrenchTableGivesFrenchTexts) {
    useFrenchTexts();
    const auto french = promptFor(parse(kBakery));
    EXPECT_EQ(french->alert()->title(), "Ajouter Corner Bakery à votre carnet d'adresses ?");
    EXPECT_EQ(french->alert()->buttonTitles(), (std::vector<std::string>{"Annuler", "Ajouter"}));
}

TEST_F(ClickToContactsAlertTest, AcceptingWritesTheOrganisationEntryAndPings) {
    std::weak_ptr<ClickToContactsAlert> shown;
    {
        const auto alert = promptFor(parse(kBakery));
        alert->show();
        shown = alert;
    }
    tap(*shown.lock()->alert(), 1);
    EXPECT_TRUE(shown.expired());
    const auto all = people();
    ASSERT_EQ(all.size(), 1u);
    const auto& entry = all[0];
    EXPECT_EQ(entry.kind, Person::Kind::Organization);
    EXPECT_EQ(entry.organization, "Corner Bakery");
    using Values = pennant::Contact::Values;
    EXPECT_EQ(entry.phones, (Values{{"main", "555-0100"}, {"Night line", "555-0199"}}));
    EXPECT_EQ(entry.emails, (Values{{"work", "hello@bakery.test"}}));
    EXPECT_EQ(entry.urls, (Values{{"home page", "http://bakery.test/"}}));
    ASSERT_EQ(entry.addresses.size(), 1u);
    EXPECT_EQ(entry.addresses[0].label, "work");
    EXPECT_EQ(
        entry.addresses[0].value,
        (addressbook::Address{{"Street", "1 Rue du Pain"}, {"City", "Lyon"}, {"ZIP", "69001"}}));
    EXPECT_EQ(entry.note, "Open on Sundays");
    EXPECT_FALSE(entry.imageData);
    EXPECT_TRUE(logged("Added contact Corner Bakery to the address book."));
    EXPECT_TRUE(waitFor([&] { return requestsTo(kAcquisitionPath) == 1; }));
}

TEST_F(ClickToContactsAlertTest, CancellingWritesNothingAndSendsNoPing) {
    const auto alert = promptFor(parse(kBakery));
    alert->show();
    tap(*alert->alert(), 0);
    foundation::RunLoop::main().runUntilIdle(foundation::Seconds(5));
    EXPECT_TRUE(people().empty());
    EXPECT_EQ(requestsTo(kAcquisitionPath), 0u);
}

TEST_F(ClickToContactsAlertTest, EveryOlderEntryOfTheOrganisationIsReplaced) {
    save(Person::Kind::Organization, "Corner Bakery");
    save(Person::Kind::Organization, "Garden Centre");
    save(Person::Kind::Organization, "Corner Bakery");
    save(Person::Kind::Person, "Corner Bakery");
    promptFor(parse(kBakery), false)->show();

    const auto all = people();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].organization, "Garden Centre");
    EXPECT_EQ(all[1].kind, Person::Kind::Person) << "only organisation entries are replaced";
    EXPECT_EQ(all[2].organization, "Corner Bakery");
    EXPECT_EQ(all[2].phones.size(), 2u);
    EXPECT_EQ(std::ranges::count(lines, "Address Corner Bakery is already in the address book.  "
                                        "Erasing the old entry before adding the new one."),
              2);
}

TEST_F(ClickToContactsAlertTest, ThePictureArrivesInASecondWriteOfTheEntry) {
    const auto contact = addWithPicture(image("contact.png"));
    const auto all = people();
    ASSERT_EQ(all.size(), 1u);
    ASSERT_TRUE(all[0].imageData);
    EXPECT_EQ(*all[0].imageData,
              foundation::FileManager::contentsAtPath(
                  adserver::AdServer::defaultCatalogDirectory() + "/static/phone/img/contact.png"));
    EXPECT_EQ(all[0].phones.size(), 2u);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Added contact Corner Bakery to the address book.",
                         "Address Corner Bakery is already in the address book.  Erasing the old "
                         "entry before adding the new one.",
                         "Added contact Corner Bakery to the address book."}));
}

TEST_F(ClickToContactsAlertTest, APictureThatFailsOrIsNoImageLeavesTheEntryWithoutOne) {
    for (const auto& url : {image("missing.png"), std::string("http://static.pennant.test/static/"
                                                              "phone/canvas.html")}) {
        addWithPicture(url);
        const auto all = people();
        ASSERT_EQ(all.size(), 1u) << url;
        EXPECT_FALSE(all[0].imageData) << url;
        EXPECT_EQ(all[0].note, "Open on Sundays");
    }
}

TEST_F(ClickToContactsAlertTest, HostileContactDataIsBounded) {
    const std::string huge(pennant::Contact::kMaxTextBytes + 1, 'x');
    Dictionary phones;
    for (int i = 0; i < 30; ++i)
        phones.set("line " + std::to_string(i), "555-01" + std::to_string(10 + i));
    auto contact = bakeryWith("phonenums", phones);
    contact.set("emails",
                Dictionary{{"work", huge}, {huge, "a@bakery.test"}, {"home", "b@x.test"}});
    contact.set("addresses", Dictionary{{"work", Dictionary{{"Street", huge}, {"City", "Lyon"}}}});
    contact.set("note", huge);
    promptFor(contact, false)->show();

    const auto all = people();
    ASSERT_EQ(all.size(), 1u);
    ASSERT_EQ(all[0].phones.size(), pennant::Contact::kMaxValues);
    EXPECT_EQ(all[0].phones.back().label, "line 19");
    EXPECT_EQ(all[0].emails, (pennant::Contact::Values{{"home", "b@x.test"}}));
    EXPECT_EQ(all[0].addresses[0].value, (addressbook::Address{{"City", "Lyon"}}));
    EXPECT_FALSE(all[0].note);

    EXPECT_FALSE(promptFor(bakeryWith("organization", huge)));
}
