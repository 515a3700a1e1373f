#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/FileManager.h"
#include "tests/support/SandboxHome.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

using addressbook::AddressBook;
using addressbook::Change;
using addressbook::Person;
using foundation::Data;

namespace {

Person bakery() {
    Person person;
    person.kind = Person::Kind::Organization;
    person.organization = "Corner Bakery";
    person.phones = {{"main", "555-0100"}, {"Night line", "555-0199"}};
    person.emails = {{"work", "hello@bakery.test"}};
    person.addresses = {{"work", {{"Street", "1 Rue du Pain"}, {"City", "Lyon"}, {"ZIP", "69001"}}},
                        {"depot", {}}};
    person.urls = {{"home page", "http://bakery.test/"}};
    person.note = "Open on Sundays";
    person.imageData = Data(std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0, 1, 2});
    return person;
}

Person named(std::string first, std::string last) {
    Person person;
    person.firstName = std::move(first);
    person.lastName = std::move(last);
    return person;
}

// Another program's connection to the same file.
class RawDatabase {
public:
    explicit RawDatabase(const std::string& path) {
        EXPECT_EQ(sqlite3_open(path.c_str(), &database_), SQLITE_OK);
    }
    ~RawDatabase() { sqlite3_close(database_); }
    void run(const std::string& sql) {
        char* message = nullptr;
        EXPECT_EQ(sqlite3_exec(database_, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
            << (message ? message : "");
        sqlite3_free(message);
    }

private:
    sqlite3* database_ = nullptr;
};

class AddressBookTest : public testing_support::SandboxHome {
protected:
    std::unique_ptr<AddressBook> open() {
        auto book = AddressBook::create();
        EXPECT_TRUE(book.ok()) << (book.ok() ? "" : book.error().message);
        return book.ok() ? std::move(book).value() : nullptr;
    }
    long refusal(AddressBook::OpenMode mode = AddressBook::OpenMode::CreateIfMissing) {
        auto book = AddressBook::create(mode);
        EXPECT_FALSE(book.ok());
        return book.ok() ? 0 : book.error().code;
    }
    std::vector<Person> people() {
        auto book = open();
        auto all = book->allPeople();
        EXPECT_TRUE(all.ok());
        return all.ok() ? all.value() : std::vector<Person>{};
    }
    std::string file() const { return path(AddressBook::kRelativePath); }
    void writeFile(const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(file()).parent_path());
        std::ofstream(file(), std::ios::binary) << text;
    }
    std::string fileContents() const {
        return foundation::FileManager::contentsAtPath(file())
            .value_or(Data())
            .utf8String()
            .value_or("(binary)");
    }
    void saveOne(const Person& person) {
        auto book = open();
        book->addRecord(person);
        ASSERT_TRUE(book->save().ok());
    }
};

} // namespace

TEST_F(AddressBookTest, EveryFieldKindSurvivesAReopenOfTheSameHome) {
    saveOne(bakery());
    saveOne(named("Ada", "Lovelace"));

    const auto all = people();
    ASSERT_EQ(all.size(), 2u);
    auto expected = bakery();
    expected.id = all[0].id;
    EXPECT_EQ(all[0], expected);
    EXPECT_NE(all[0].id, 0);
    EXPECT_EQ(all[1].kind, Person::Kind::Person);
    EXPECT_EQ(all[1].firstName, "Ada");
    EXPECT_FALSE(all[1].note);
    EXPECT_FALSE(all[1].imageData);
    EXPECT_TRUE(all[1].phones.empty());
}

TEST_F(AddressBookTest, RemovalsAndAdditionsWaitForTheSaveAndAreToldAfterIt) {
    saveOne(bakery());
    std::vector<std::string> heard;
    auto subscription = AddressBook::observeChanges([&](const Change& change) {
        heard.push_back((change.event == Change::Event::Added ? "added " : "removed ") +
                        change.person.organization + change.person.firstName);
    });
    auto book = open();
    const auto before = book->allPeople().value();
    ASSERT_TRUE(book->removeRecord(before[0].id).ok());
    book->addRecord(named("Ada", "Lovelace"));
    EXPECT_EQ(people().size(), 1u);
    EXPECT_TRUE(heard.empty());

    ASSERT_TRUE(book->save().ok());
    EXPECT_EQ(heard, (std::vector<std::string>{"removed Corner Bakery", "added Ada"}));
    ASSERT_EQ(people().size(), 1u);
    EXPECT_EQ(people()[0].firstName, "Ada");
    // Ids are never reused, so a stale one cannot remove the newcomer.
    const auto stale = book->removeRecord(before[0].id);
    ASSERT_FALSE(stale.ok());
    EXPECT_EQ(stale.error().code, AddressBook::kMissing);
}

TEST_F(AddressBookTest, AFailedSaveWritesNothingAndKeepsTheChangesStaged) {
    saveOne(bakery());
    {
        RawDatabase raw(file());
        raw.run("CREATE TRIGGER refuse BEFORE INSERT ON person WHEN NEW.organization = 'Poison' "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    }
    std::vector<Change> heard;
    auto subscription = AddressBook::observeChanges([&](const Change& c) { heard.push_back(c); });
    auto book = open();
    ASSERT_TRUE(book->removeRecord(book->allPeople().value()[0].id).ok());
    book->addRecord(named("Ada", "Lovelace"));
    auto poison = named("", "");
    poison.organization = "Poison";
    book->addRecord(poison);

    EXPECT_FALSE(book->save().ok());
    EXPECT_TRUE(book->hasUnsavedChanges());
    EXPECT_TRUE(heard.empty());
    const auto after = people();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].organization, "Corner Bakery");
    EXPECT_EQ(after[0].phones.size(), 2u);
}

TEST_F(AddressBookTest, ADamagedFileIsRefusedAndLeftAsItIs) {
    const std::string garbage(4096, 'x');
    writeFile(garbage);
    EXPECT_EQ(refusal(), AddressBook::kCorrupt);
    EXPECT_EQ(refusal(AddressBook::OpenMode::ExistingOnly), AddressBook::kCorrupt);
    EXPECT_EQ(fileContents(), garbage);
}

TEST_F(AddressBookTest, AnotherProgramsDatabaseIsNeverTakenOver) {
    std::filesystem::create_directories(std::filesystem::path(file()).parent_path());
    {
        RawDatabase raw(file());
        raw.run("CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('keep me')");
    }
    const auto before = foundation::FileManager::contentsAtPath(file());
    EXPECT_EQ(refusal(), AddressBook::kNotOurs);
    EXPECT_EQ(foundation::FileManager::contentsAtPath(file()), before);
}

TEST_F(AddressBookTest, ADatabaseFromANewerSchemaIsRefused) {
    saveOne(bakery());
    RawDatabase(file()).run("PRAGMA user_version = 2");
    EXPECT_EQ(refusal(), AddressBook::kNewerSchema);
}

TEST_F(AddressBookTest, ALockedDatabaseIsReportedAndTheSaveCanBeRetried) {
    saveOne(bakery());
    auto book = open();
    book->addRecord(named("Ada", "Lovelace"));
    {
        RawDatabase raw(file());
        raw.run("BEGIN EXCLUSIVE");
        EXPECT_EQ(refusal(), AddressBook::kLocked);
        const auto saved = book->save();
        ASSERT_FALSE(saved.ok());
        EXPECT_EQ(saved.error().code, AddressBook::kLocked);
        raw.run("ROLLBACK");
    }
    EXPECT_TRUE(book->save().ok());
    EXPECT_EQ(people().size(), 2u);
}

TEST_F(AddressBookTest, NothingIsCreatedWhereOnlyAnExistingBookIsWanted) {
    EXPECT_EQ(refusal(AddressBook::OpenMode::ExistingOnly), AddressBook::kMissing);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(file()).parent_path()));
    std::filesystem::create_directories(std::filesystem::path(file()).parent_path());
    EXPECT_EQ(refusal(AddressBook::OpenMode::ExistingOnly), AddressBook::kMissing);
    EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST_F(AddressBookTest, ALinkOutOfTheHomeIsNotFollowed) {
    linkOutside("Library/AddressBook");
    EXPECT_EQ(refusal(), AddressBook::kNotOurs);
    EXPECT_TRUE(outsideIsEmpty());
}
