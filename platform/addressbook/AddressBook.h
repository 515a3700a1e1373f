#pragma once

#include "platform/addressbook/Change.h"
#include "platform/addressbook/Person.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Subscribers.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace addressbook {

class Statement;

// The device's address book: one SQLite database in the sandbox home. Additions and removals
// are staged and written by save() in one transaction, so the file never holds half of them.
// A file that is damaged, locked by another writer, written by a newer schema or not ours at
// all is reported and never written to. Main thread only.
class AddressBook {
public:
    static constexpr const char* kErrorDomain = "AddressBookErrorDomain";
    enum ErrorCode : long {
        kCorrupt = -1,
        kLocked = -2,
        kNewerSchema = -3,
        kNotOurs = -4,
        kMissing = -5,
        kFailed = -6,
    };
    static constexpr int kSchemaVersion = 1;
    static constexpr const char* kRelativePath = "Library/AddressBook/AddressBook.sqlitedb";

    enum class OpenMode { CreateIfMissing, ExistingOnly };

    // The address book of the current sandbox home.
    static foundation::Result<std::unique_ptr<AddressBook>>
    create(OpenMode mode = OpenMode::CreateIfMissing);
    ~AddressBook();
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;

    const std::string& path() const { return path_; }

    // Every saved record, in the order they were added.
    foundation::Result<std::vector<Person>> allPeople() const;
    // Staged until save(); the record's id is ignored.
    void addRecord(Person person);
    // Staged until save(); fails for a record that is not saved in the book.
    foundation::Status removeRecord(std::int64_t id);
    bool hasUnsavedChanges() const { return !added_.empty() || !removed_.empty(); }
    // Writes the staged changes, removals first, all or none; on failure they stay staged.
    foundation::Status save();

    // Told of every record that a save wrote or removed, after the save. Any address book
    // of the current platform context.
    [[nodiscard]] static foundation::Subscription
    observeChanges(std::function<void(const Change&)> observer);

private:
    struct Closer {
        void operator()(sqlite3* database) const;
    };

    AddressBook(sqlite3* database, std::string path);

    foundation::Status prepareSchema();
    foundation::Status createSchema();
    foundation::Status inTransaction(const std::function<foundation::Status()>& work);
    foundation::Status writeChanges(std::vector<Change>& changes);
    foundation::Status insert(Person& person);
    foundation::Status insertValues(std::int64_t person, int property,
                                    const std::vector<Labeled<std::string>>& values);
    foundation::Status insertAddresses(std::int64_t person,
                                       const std::vector<Labeled<Address>>& addresses);
    foundation::Result<std::int64_t> insertValue(std::int64_t person, int property,
                                                 const std::string& label,
                                                 const std::optional<std::string>& value);
    foundation::Status readValues(std::vector<Person>& people) const;
    foundation::Result<std::map<std::int64_t, Address>> readAddressComponents() const;
    foundation::Result<Statement> prepare(std::string_view sql) const;
    foundation::Error failure(const foundation::Error& cause) const;

    std::unique_ptr<sqlite3, Closer> database_;
    std::string path_;
    std::vector<Person> added_;
    std::vector<std::int64_t> removed_;
};

} // namespace addressbook
