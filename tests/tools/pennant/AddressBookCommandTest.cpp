#include "tools/pennant/AddressBookCommand.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/graphics/Image.h"
#include "tests/support/SandboxHome.h"
#include "tools/pennant/Console.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using addressbook::AddressBook;
using addressbook::Person;
using foundation::Value;

namespace {

struct Listing {
    int status;
    std::string out;
    std::string err;
};

class AddressBookCommandTest : public testing_support::SandboxHome {
protected:
    Listing list(const std::string& folder) {
        std::istringstream in;
        std::ostringstream out, err;
        tool::Console console{in, out, err};
        const std::vector<std::string> arguments{"list", "--home", folder};
        const int status = tool::AddressBookCommand().run(arguments, console);
        return {status, out.str(), err.str()};
    }
    static Value parsed(const std::string& text) {
        auto value = json::JSONDeserializer().deserialize(text);
        EXPECT_TRUE(value.ok()) << text;
        return value.ok() ? value.value() : Value();
    }
};

} // namespace

TEST_F(AddressBookCommandTest, ListsEveryPersonWithThePictureAsItsSize) {
    Person bakery;
    bakery.kind = Person::Kind::Organization;
    bakery.organization = "Corner Bakery";
    bakery.phones = {{"main", "555-0100"}};
    bakery.addresses = {{"work", {{"City", "Lyon"}}}};
    bakery.note = "Open on Sundays";
    bakery.imageData =
        graphics::Image::fromPixels(60, 40, std::vector<std::uint32_t>(60 * 40, 0xff336699))
            ->pngData();
    Person ada;
    ada.firstName = "Ada";
    ada.imageData = foundation::Data::fromString("not a picture");
    auto book = AddressBook::create().value();
    book->addRecord(bakery);
    book->addRecord(ada);
    ASSERT_TRUE(book->save().ok());

    const auto run = list(home.string());
    EXPECT_EQ(run.status, 0) << run.err;
    const auto people = parsed(run.out);
    ASSERT_EQ(people.asArray().size(), 2u);
    const auto& first = people[0];
    EXPECT_EQ(first["kind"], Value("organization"));
    EXPECT_EQ(first["organization"], Value("Corner Bakery"));
    EXPECT_EQ(first["phones"][0]["label"], Value("main"));
    EXPECT_EQ(first["phones"][0]["value"], Value("555-0100"));
    EXPECT_EQ(first["addresses"][0]["value"]["City"], Value("Lyon"));
    EXPECT_EQ(first["note"], Value("Open on Sundays"));
    EXPECT_EQ(first["image"]["width"].intValue(), 60);
    EXPECT_EQ(first["image"]["height"].intValue(), 40);
    EXPECT_EQ(people[1]["kind"], Value("person"));
    EXPECT_EQ(people[1]["first"], Value("Ada"));
    EXPECT_TRUE(people[1]["organization"].isNull());
    EXPECT_EQ(people[1]["image"]["bytes"].intValue(), 13) << "an undecodable picture";
}

TEST_F(AddressBookCommandTest, AMissingOrDamagedBookIsAClearFailure) {
    auto missing = list(home.string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no address book"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());
    EXPECT_FALSE(std::filesystem::exists(path("Library/AddressBook"))) << "listing creates nothing";

    std::filesystem::create_directories(path("Library/AddressBook"));
    std::ofstream(path(AddressBook::kRelativePath)) << std::string(2048, 'x');
    auto damaged = list(home.string());
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("damaged"), std::string::npos) << damaged.err;

    auto nowhere = list(home.string() + "-nowhere");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_FALSE(std::filesystem::exists(home.string() + "-nowhere"));
}
