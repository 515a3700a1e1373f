#include "platform/foundation/FileManager.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fmt/format.h>
#include <random>
#include <span>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace foundation {

namespace {

constexpr mode_t kFileMode = 0644;
constexpr mode_t kDirectoryMode = 0755;

std::function<bool(const std::string&)>& beforeRenameHook() {
    static std::function<bool(const std::string&)> hook;
    return hook;
}

Error fileError(const std::string& what, const std::string& path, int error) {
    return Error{"FileManagerErrorDomain", error,
                 fmt::format("{} {}: {}", what, path, std::strerror(error))};
}

// Owns one open file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

timespec toTimespec(Date date) {
    const double seconds = date.timeIntervalSince1970();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>((seconds - static_cast<double>(ts.tv_sec)) * 1e9);
    if (ts.tv_nsec < 0) {
        ts.tv_nsec += 1000000000L;
        ts.tv_sec -= 1;
    }
    return ts;
}

Date dateOf(const struct stat& st) {
    return Date(static_cast<double>(st.st_mtim.tv_sec) +
                static_cast<double>(st.st_mtim.tv_nsec) / 1e9);
}

bool writeAll(int fd, const Data& contents) {
    std::size_t written = 0;
    while (written < contents.size()) {
        ssize_t n = ::write(fd, contents.bytes() + written, contents.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The descriptor was opened without blocking, so a FIFO or device costs nothing to refuse.
Result<Data> readRegularFile(const Descriptor& file, const std::string& path, std::size_t limit) {
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        return fileError("cannot examine", path, errno);
    if (!S_ISREG(st.st_mode))
        return fileError("refusing the non-regular file", path, EINVAL);
    if (static_cast<std::size_t>(st.st_size) > limit)
        return fileError("refusing the oversized file", path, EFBIG);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fileError("cannot read", path, errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return Data(std::move(bytes));
}

// A name for the temporary file that no other writer picks at the same moment.
std::string temporaryName(const std::string& name) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    return fmt::format("{}.tmp-{:012x}", name, random() & 0xFFFFFFFFFFFFull);
}

// Writes name inside the open directory: temporary file, fsync, date, rename over name.
Status writeInDirectory(const Descriptor& directory, const std::string& name,
                        const std::string& path, const Data& contents) {
    std::string temporary = temporaryName(name);
    Descriptor file(::openat(directory.get(), temporary.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode));
    if (!file)
        return fileError("cannot create a temporary file for", path, errno);
    const timespec now[2] = {toTimespec(Date::now()), toTimespec(Date::now())};
    const bool written = writeAll(file.get(), contents) && ::fsync(file.get()) == 0 &&
                         ::fchmod(file.get(), kFileMode) == 0 && ::futimens(file.get(), now) == 0;
    const int writeErrno = errno;
    file = Descriptor(-1);
    auto abandon = [&](const char* what, int error) -> Status {
        ::unlinkat(directory.get(), temporary.c_str(), 0);
        return fileError(what, path, error);
    };
    if (!written)
        return abandon("cannot write", writeErrno);
    if (beforeRenameHook() && !beforeRenameHook()(path))
        return abandon("write abandoned for", ECANCELED);
    if (::renameat(directory.get(), temporary.c_str(), directory.get(), name.c_str()) != 0)
        return abandon("cannot replace", errno);
    return success();
}

// The names between root and the file; "." and empty names are skipped, ".." is refused.
Result<std::vector<std::string>> componentsOf(const std::string& relative) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = std::min(relative.find('/', start), relative.size());
        std::string name = relative.substr(start, end - start);
        if (name == "..")
            return fileError("refusing a path that leaves its root:", relative, EINVAL);
        if (!name.empty() && name != ".")
            names.push_back(std::move(name));
        start = end + 1;
    }
    if (names.empty())
        return fileError("no file named in", relative, EINVAL);
    return names;
}

// Opens root, then each directory below it without following links, creating missing ones
// when asked to.
Result<Descriptor> openDirectoryBelow(const std::string& root, std::span<const std::string> names,
                                      bool create) {
    Descriptor directory(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory)
        return fileError("cannot open", root, errno);
    std::string reached = root;
    for (const std::string& name : names) {
        reached += "/" + name;
        if (create && ::mkdirat(directory.get(), name.c_str(), kDirectoryMode) != 0 &&
            errno != EEXIST)
            return fileError("cannot create", reached, errno);
        Descriptor next(::openat(directory.get(), name.c_str(),
                                 O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next) {
            const int error = errno;
            return fileError(error == ELOOP || error == ENOTDIR
                                 ? "refusing a link or file in place of directory"
                                 : "cannot open",
                             reached, error);
        }
        directory = std::move(next);
    }
    return directory;
}

// The directory that holds root/relative, and the file's name in it.
struct Location {
    Descriptor directory;
    std::string name;
    std::string path;
};

Result<Location> locateBelow(const std::string& root, const std::string& relative, bool create) {
    if (root.empty())
        return fileError("no root folder for", relative, ENOENT);
    auto names = componentsOf(relative);
    if (!names)
        return names.error();
    auto directory =
        openDirectoryBelow(root, std::span(names.value()).first(names.value().size() - 1), create);
    if (!directory)
        return directory.error();
    return Location{std::move(directory.value()), names.value().back(), root + "/" + relative};
}

} // namespace

bool FileManager::fileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool FileManager::isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Status FileManager::createDirectory(const std::string& path, bool intermediates) {
    if (path.empty())
        return fileError("cannot create directory", "(empty path)", EINVAL);
    std::error_code error;
    if (intermediates)
        std::filesystem::create_directories(path, error);
    else
        std::filesystem::create_directory(path, error);
    if (!isDirectory(path))
        return fileError("cannot create directory", path, error ? error.value() : ENOTDIR);
    return success();
}

Status FileManager::removeItem(const std::string& path) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0)
        return fileError("cannot remove", path, error ? error.value() : EEXIST);
    return success();
}

std::optional<Date> FileManager::modificationDate(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return dateOf(st);
}

Status FileManager::setModificationDate(const std::string& path, Date date) {
    const timespec times[2] = {toTimespec(date), toTimespec(date)};
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return fileError("cannot date", path, errno);
    return success();
}

std::optional<Data> FileManager::contentsAtPath(const std::string& path, std::size_t limit) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file)
        return std::nullopt;
    auto contents = readRegularFile(file, path, limit);
    if (!contents)
        return std::nullopt;
    return std::move(contents.value());
}

Status FileManager::writeAtomically(const std::string& path, const Data& contents) {
    const std::filesystem::path target(path);
    const std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..")
        return fileError("no file named in", path, EINVAL);
    const std::string parent = target.has_parent_path() ? target.parent_path().string() : ".";
    Descriptor directory(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory)
        return fileError("cannot open the folder of", path, errno);
    return writeInDirectory(directory, name, path, contents);
}

Status FileManager::writeAtomicallyBelow(const std::string& root, const std::string& relative,
                                         const Data& contents) {
    auto location = locateBelow(root, relative, true);
    if (!location)
        return location.error();
    return writeInDirectory(location.value().directory, location.value().name,
                            location.value().path, contents);
}

Result<Data> FileManager::contentsBelow(const std::string& root, const std::string& relative,
                                        std::size_t limit) {
    auto location = locateBelow(root, relative, false);
    if (!location)
        return location.error();
    const Location& at = location.value();
    Descriptor file(::openat(at.directory.get(), at.name.c_str(),
                             O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!file)
        return fileError("cannot open", at.path, errno);
    return readRegularFile(file, at.path, limit);
}

std::optional<Date> FileManager::modificationDateBelow(const std::string& root,
                                                       const std::string& relative) {
    auto location = locateBelow(root, relative, false);
    struct stat st {};
    if (!location ||
        ::fstatat(location.value().directory.get(), location.value().name.c_str(), &st,
                  AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode))
        return std::nullopt;
    return dateOf(st);
}

Status FileManager::removeItemBelow(const std::string& root, const std::string& relative) {
    auto location = locateBelow(root, relative, false);
    if (!location)
        return location.error().code == ENOENT ? success() : Status(location.error());
    const Location& at = location.value();
    if (::unlinkat(at.directory.get(), at.name.c_str(), 0) != 0 && errno != ENOENT)
        return fileError("cannot remove", at.path, errno);
    return success();
}

void FileManager::setBeforeRenameHookForTesting(std::function<bool(const std::string&)> hook) {
    beforeRenameHook() = std::move(hook);
}

} // namespace foundation
