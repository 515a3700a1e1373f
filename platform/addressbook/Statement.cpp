#include "platform/addressbook/Statement.h"

#include <sqlite3.h>

#include <utility>

namespace addressbook {

foundation::Result<Statement> Statement::prepare(sqlite3* database, std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare_v2(database, sql.data(), int(sql.size()), &statement, nullptr);
    if (code != SQLITE_OK)
        return lastError(database, code);
    return Statement(database, statement);
}

foundation::Status Statement::execute(sqlite3* database, const std::string& sql) {
    const int code = sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        return lastError(database, code);
    return foundation::success();
}

foundation::Error Statement::lastError(sqlite3* database, int code) {
    return {kErrorDomain, code & 0xff, sqlite3_errmsg(database)};
}

Statement::Statement(Statement&& other) noexcept
    : database_(other.database_), statement_(std::exchange(other.statement_, nullptr)) {}

Statement::~Statement() { sqlite3_finalize(statement_); }

void Statement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
}

void Statement::bind(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

void Statement::bind(int index, const std::optional<std::string>& text) {
    if (text)
        bind(index, std::string_view(*text));
    else
        sqlite3_bind_null(statement_, index);
}

void Statement::bind(int index, const std::optional<foundation::Data>& blob) {
    if (blob)
        sqlite3_bind_blob64(statement_, index, blob->bytes(), blob->size(), SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(statement_, index);
}

foundation::Result<bool> Statement::step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    return lastError(database_, code);
}

foundation::Status Statement::run() {
    for (;;) {
        auto row = step();
        if (!row)
            return row.error();
        if (!row.value())
            return foundation::success();
    }
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string Statement::text(int column) const { return optionalText(column).value_or(""); }

std::optional<std::string> Statement::optionalText(int column) const {
    const auto* bytes = sqlite3_column_text(statement_, column);
    if (!bytes)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(bytes),
                       std::size_t(sqlite3_column_bytes(statement_, column)));
}

std::optional<foundation::Data> Statement::blob(int column) const {
    if (sqlite3_column_type(statement_, column) == SQLITE_NULL)
        return std::nullopt;
    const void* bytes = sqlite3_column_blob(statement_, column);
    return foundation::Data(bytes, std::size_t(sqlite3_column_bytes(statement_, column)));
}

} // namespace addressbook
