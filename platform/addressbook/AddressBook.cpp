#include "platform/addressbook/AddressBook.h"

#include "platform/addressbook/Statement.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/Sandbox.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace addressbook {

using foundation::Error;
using foundation::Result;
using foundation::Status;

namespace {

// Marks the file as ours in its header, so a foreign database is never taken over.
constexpr std::int64_t kApplicationID = 0x4b414242;
enum Property : int { kPhone = 1, kEmail = 2, kAddress = 3, kURL = 4 };

// Record ids are never reused (AUTOINCREMENT), so an id kept from an older read cannot name a
// newer record.
constexpr const char* kSchema = R"sql(
CREATE TABLE person (id INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL, first TEXT NOT NULL,
    last TEXT NOT NULL, organization TEXT NOT NULL, note TEXT, image BLOB);
CREATE TABLE multivalue (id INTEGER PRIMARY KEY,
    person INTEGER NOT NULL REFERENCES person(id) ON DELETE CASCADE,
    property INTEGER NOT NULL, label TEXT NOT NULL, value TEXT);
CREATE TABLE address_component (
    multivalue INTEGER NOT NULL REFERENCES multivalue(id) ON DELETE CASCADE,
    key TEXT NOT NULL, value TEXT NOT NULL);
)sql";

struct Observers {
    foundation::Subscribers<Change> subscribers;
};
Observers& observers() { return foundation::PlatformContext::current().object<Observers>(); }

Error error(long code, std::string message) {
    return {AddressBook::kErrorDomain, code, std::move(message)};
}

// Each folder on the way from the home must be a real folder, never a link or a file, so the
// database can never be outside the home. Missing folders are made when asked to.
Status checkDirectoryBelow(const std::filesystem::path& home, const std::filesystem::path& relative,
                           bool create) {
    auto path = home;
    for (const auto& part : relative) {
        path /= part;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (!create)
                return error(AddressBook::kMissing, path.string());
            if (::mkdir(path.c_str(), 0755) != 0 || ::lstat(path.c_str(), &info) != 0)
                return error(
                    AddressBook::kFailed,
                    fmt::format("Cannot create {}: {}", path.string(), std::strerror(errno)));
        }
        if (!S_ISDIR(info.st_mode))
            return error(AddressBook::kNotOurs, fmt::format("{} is not a folder", path.string()));
    }
    return foundation::success();
}

// Whether a file is at path; anything there but a regular file is not ours to open.
Result<bool> existingFile(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode))
        return error(AddressBook::kNotOurs, fmt::format("{} is not an address book", path));
    return true;
}

// Whether the database is there to open; a missing one is an error unless it may be made.
Result<bool> existingDatabase(const std::filesystem::path& home,
                              const std::filesystem::path& relative, bool create) {
    const auto path = (home / relative).string();
    const auto missing =
        error(AddressBook::kMissing, fmt::format("There is no address book at {}.", path));
    if (auto checked = checkDirectoryBelow(home, relative.parent_path(), create); !checked)
        return checked.error().code == AddressBook::kMissing ? missing : checked.error();
    auto exists = existingFile(path);
    if (exists && !exists.value() && !create)
        return missing;
    return exists;
}

} // namespace

void AddressBook::Closer::operator()(sqlite3* database) const { sqlite3_close_v2(database); }

AddressBook::AddressBook(sqlite3* database, std::string path)
    : database_(database), path_(std::move(path)) {}

AddressBook::~AddressBook() = default;

Result<std::unique_ptr<AddressBook>> AddressBook::create(OpenMode mode) {
    const std::filesystem::path home = foundation::Sandbox::current().home();
    if (home.empty())
        return error(kMissing, "There is no sandbox home for an address book.");
    const std::filesystem::path relative = kRelativePath;
    const auto path = (home / relative).string();
    const bool create = mode == OpenMode::CreateIfMissing;
    const auto exists = existingDatabase(home, relative, create);
    if (!exists)
        return exists.error();
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW;
    if (!exists.value())
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* database = nullptr;
    const int code = sqlite3_open_v2(path.c_str(), &database, flags, nullptr);
    std::unique_ptr<AddressBook> book(new AddressBook(database, path));
    if (code != SQLITE_OK)
        return book->failure(Statement::lastError(database, code));
    if (auto ready = book->prepareSchema(); !ready)
        return ready.error();
    return book;
}

Status AddressBook::prepareSchema() {
    if (auto keys = Statement::execute(database_.get(), "PRAGMA foreign_keys = ON"); !keys)
        return failure(keys.error());
    auto header = prepare("SELECT (SELECT application_id FROM pragma_application_id), "
                          "(SELECT user_version FROM pragma_user_version), "
                          "(SELECT count(*) FROM sqlite_master)");
    if (!header)
        return header.error();
    auto& statement = header.value();
    if (auto row = statement.step(); !row)
        return failure(row.error());
    const auto application = statement.integer(0);
    const auto version = statement.integer(1);
    const auto objects = statement.integer(2);
    if (application == 0 && version == 0 && objects == 0)
        return createSchema();
    if (application != kApplicationID)
        return error(kNotOurs,
                     fmt::format("{} is not an address book; it is left as it is.", path_));
    if (version > kSchemaVersion)
        return error(kNewerSchema,
                     fmt::format("The address book at {} has schema version {}, newer than {}.",
                                 path_, version, kSchemaVersion));
    return foundation::success();
}

Status AddressBook::createSchema() {
    return inTransaction([this]() -> Status {
        if (auto made = Statement::execute(database_.get(), kSchema); !made)
            return made;
        // PRAGMA takes no parameters; both values are our own constants.
        return Statement::execute(
            database_.get(), fmt::format("PRAGMA application_id = {}; PRAGMA user_version = {}",
                                         kApplicationID, kSchemaVersion));
    });
}

Status AddressBook::inTransaction(const std::function<Status()>& work) {
    if (auto begun = Statement::execute(database_.get(), "BEGIN IMMEDIATE"); !begun)
        return failure(begun.error());
    auto done = work();
    if (done)
        done = Statement::execute(database_.get(), "COMMIT");
    if (!done) {
        (void)Statement::execute(database_.get(), "ROLLBACK");
        return failure(done.error());
    }
    return done;
}

Result<std::vector<Person>> AddressBook::allPeople() const {
    auto rows = prepare("SELECT id, kind, first, last, organization, note, image FROM person "
                        "ORDER BY id");
    if (!rows)
        return rows.error();
    std::vector<Person> people;
    for (;;) {
        auto row = rows.value().step();
        if (!row)
            return failure(row.error());
        if (!row.value())
            break;
        const auto& at = rows.value();
        Person person;
        person.id = at.integer(0);
        person.kind = at.integer(1) == int(Person::Kind::Organization) ? Person::Kind::Organization
                                                                       : Person::Kind::Person;
        person.firstName = at.text(2);
        person.lastName = at.text(3);
        person.organization = at.text(4);
        person.note = at.optionalText(5);
        person.imageData = at.blob(6);
        people.push_back(std::move(person));
    }
    if (auto values = readValues(people); !values)
        return values.error();
    return people;
}

Status AddressBook::readValues(std::vector<Person>& people) const {
    auto components = readAddressComponents();
    if (!components)
        return components.error();
    auto rows = prepare("SELECT id, person, property, label, value FROM multivalue ORDER BY id");
    if (!rows)
        return rows.error();
    std::map<std::int64_t, Person*> byID;
    for (auto& person : people)
        byID[person.id] = &person;
    for (;;) {
        auto row = rows.value().step();
        if (!row)
            return failure(row.error());
        if (!row.value())
            return foundation::success();
        const auto& at = rows.value();
        Person& person = *byID.at(at.integer(1));
        auto label = at.text(3);
        switch (at.integer(2)) {
        case kPhone:
            person.phones.push_back({std::move(label), at.text(4)});
            break;
        case kEmail:
            person.emails.push_back({std::move(label), at.text(4)});
            break;
        case kURL:
            person.urls.push_back({std::move(label), at.text(4)});
            break;
        case kAddress:
            person.addresses.push_back({std::move(label), components.value()[at.integer(0)]});
            break;
        }
    }
}

Result<std::map<std::int64_t, Address>> AddressBook::readAddressComponents() const {
    auto rows = prepare("SELECT multivalue, key, value FROM address_component");
    if (!rows)
        return rows.error();
    std::map<std::int64_t, Address> addresses;
    for (;;) {
        auto row = rows.value().step();
        if (!row)
            return failure(row.error());
        if (!row.value())
            return addresses;
        const auto& at = rows.value();
        addresses[at.integer(0)][at.text(1)] = at.text(2);
    }
}

void AddressBook::addRecord(Person person) {
    person.id = 0;
    added_.push_back(std::move(person));
}

Status AddressBook::removeRecord(std::int64_t id) {
    auto found = prepare("SELECT 1 FROM person WHERE id = ?");
    if (!found)
        return found.error();
    found.value().bind(1, id);
    auto row = found.value().step();
    if (!row)
        return failure(row.error());
    if (!row.value())
        return error(kMissing, fmt::format("No record {} in the address book.", id));
    if (std::find(removed_.begin(), removed_.end(), id) == removed_.end())
        removed_.push_back(id);
    return foundation::success();
}

Status AddressBook::save() {
    if (!hasUnsavedChanges())
        return foundation::success();
    std::vector<Change> changes;
    auto saved = inTransaction([&] { return writeChanges(changes); });
    if (!saved)
        return saved;
    added_.clear();
    removed_.clear();
    for (const auto& change : changes)
        observers().subscribers.notify(change);
    return saved;
}

// Records the changes as they are written; the caller tells them only once they are committed.
Status AddressBook::writeChanges(std::vector<Change>& changes) {
    if (!removed_.empty()) {
        auto people = allPeople();
        if (!people)
            return people.error();
        for (auto& person : people.value()) {
            if (std::find(removed_.begin(), removed_.end(), person.id) == removed_.end())
                continue;
            auto remove = prepare("DELETE FROM person WHERE id = ?");
            if (!remove)
                return remove.error();
            remove.value().bind(1, person.id);
            if (auto removed = remove.value().run(); !removed)
                return removed;
            changes.push_back({Change::Event::Removed, std::move(person)});
        }
    }
    for (auto person : added_) {
        if (auto inserted = insert(person); !inserted)
            return inserted;
        changes.push_back({Change::Event::Added, std::move(person)});
    }
    return foundation::success();
}

Status AddressBook::insert(Person& person) {
    auto row = prepare("INSERT INTO person (kind, first, last, organization, note, image) "
                       "VALUES (?, ?, ?, ?, ?, ?)");
    if (!row)
        return row.error();
    auto& statement = row.value();
    statement.bind(1, std::int64_t(person.kind));
    statement.bind(2, std::string_view(person.firstName));
    statement.bind(3, std::string_view(person.lastName));
    statement.bind(4, std::string_view(person.organization));
    statement.bind(5, person.note);
    statement.bind(6, person.imageData);
    if (auto inserted = statement.run(); !inserted)
        return inserted;
    person.id = sqlite3_last_insert_rowid(database_.get());
    for (const auto& [property, values] :
         {std::pair{kPhone, &person.phones}, std::pair{kEmail, &person.emails},
          std::pair{kURL, &person.urls}})
        if (auto written = insertValues(person.id, property, *values); !written)
            return written;
    return insertAddresses(person.id, person.addresses);
}

Status AddressBook::insertValues(std::int64_t person, int property,
                                 const std::vector<Labeled<std::string>>& values) {
    for (const auto& [label, value] : values)
        if (auto inserted = insertValue(person, property, label, value); !inserted)
            return inserted.error();
    return foundation::success();
}

Status AddressBook::insertAddresses(std::int64_t person,
                                    const std::vector<Labeled<Address>>& addresses) {
    for (const auto& [label, address] : addresses) {
        auto entry = insertValue(person, kAddress, label, std::nullopt);
        if (!entry)
            return entry.error();
        for (const auto& [key, text] : address) {
            auto component =
                prepare("INSERT INTO address_component (multivalue, key, value) VALUES (?, ?, ?)");
            if (!component)
                return component.error();
            component.value().bind(1, entry.value());
            component.value().bind(2, std::string_view(key));
            component.value().bind(3, std::string_view(text));
            if (auto inserted = component.value().run(); !inserted)
                return inserted;
        }
    }
    return foundation::success();
}

Result<std::int64_t> AddressBook::insertValue(std::int64_t person, int property,
                                              const std::string& label,
                                              const std::optional<std::string>& value) {
    auto row =
        prepare("INSERT INTO multivalue (person, property, label, value) VALUES (?, ?, ?, ?)");
    if (!row)
        return row.error();
    row.value().bind(1, person);
    row.value().bind(2, std::int64_t(property));
    row.value().bind(3, std::string_view(label));
    row.value().bind(4, value);
    if (auto inserted = row.value().run(); !inserted)
        return inserted.error();
    return sqlite3_last_insert_rowid(database_.get());
}

foundation::Subscription AddressBook::observeChanges(std::function<void(const Change&)> observer) {
    return observers().subscribers.subscribe(std::move(observer));
}

Result<Statement> AddressBook::prepare(std::string_view sql) const {
    auto statement = Statement::prepare(database_.get(), sql);
    if (!statement)
        return failure(statement.error());
    return statement;
}

// Turns SQLite's result codes into the few failures a caller can act on.
Error AddressBook::failure(const Error& cause) const {
    if (cause.domain == kErrorDomain)
        return cause;
    switch (cause.code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return error(kLocked, fmt::format("The address book at {} is in use by another program: {}",
                                          path_, cause.message));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return error(kCorrupt, fmt::format("The address book at {} is damaged and was left as it "
                                           "is: {}",
                                           path_, cause.message));
    default:
        return error(kFailed,
                     fmt::format("The address book at {} failed: {}", path_, cause.message));
    }
}

} // namespace addressbook
