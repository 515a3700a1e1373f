#include "sim/ContactTrace.h"
#include "platform/addressbook/AddressBook.h"
#include "tests/support/SandboxHome.h"

#include <gtest/gtest.h>

using addressbook::AddressBook;
using addressbook::Person;
using foundation::Dictionary;

class ContactTraceTest : public testing_support::SandboxHome {};

TEST_F(ContactTraceTest, SavedChangesAreTracedWithTheOrganisationOrTheName) {
    std::vector<Dictionary> events;
    auto observer = AddressBook::observeChanges([&](const addressbook::Change& change) {
        events.push_back(sim::ContactTrace::fields(change));
    });
    auto book = AddressBook::create().value();
    Person bakery;
    bakery.kind = Person::Kind::Organization;
    bakery.organization = "Corner Bakery";
    bakery.firstName = "ignored for an organisation";
    Person ada;
    ada.firstName = "Ada";
    book->addRecord(bakery);
    book->addRecord(ada);
    ASSERT_TRUE(book->save().ok());
    ASSERT_TRUE(book->removeRecord(book->allPeople().value()[0].id).ok());
    ASSERT_TRUE(book->save().ok());

    EXPECT_EQ(events, (std::vector<Dictionary>{
                          {{"event", "added"}, {"organization", "Corner Bakery"}},
                          {{"event", "added"}, {"first", "Ada"}},
                          {{"event", "removed"}, {"organization", "Corner Bakery"}},
                      }));
}
