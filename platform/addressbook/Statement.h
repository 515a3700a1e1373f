#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace addressbook {

// One prepared SQLite statement. Failures carry SQLite's primary result code in the error's
// code (domain kErrorDomain), so the address book can tell a lock from damage.
class Statement {
public:
    static constexpr const char* kErrorDomain = "SQLiteErrorDomain";

    static foundation::Result<Statement> prepare(sqlite3* database, std::string_view sql);
    // Runs statements whose rows are of no interest.
    static foundation::Status execute(sqlite3* database, const std::string& sql);
    // The error for the database's last failure with the given result code.
    static foundation::Error lastError(sqlite3* database, int code);

    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    ~Statement();

    // Parameters count from 1, as in the SQL.
    void bind(int index, std::int64_t value);
    void bind(int index, std::string_view text);
    void bind(int index, const std::optional<std::string>& text);
    void bind(int index, const std::optional<foundation::Data>& blob);

    // true while there is a row to read, false once done.
    foundation::Result<bool> step();
    // Steps to the end, for statements that write.
    foundation::Status run();

    // Columns count from 0.
    std::int64_t integer(int column) const;
    std::string text(int column) const;
    std::optional<std::string> optionalText(int column) const;
    std::optional<foundation::Data> blob(int column) const;

private:
    Statement(sqlite3* database, sqlite3_stmt* statement)
        : database_(database), statement_(statement) {}

    sqlite3* database_;
    sqlite3_stmt* statement_;
};

} // namespace addressbook
