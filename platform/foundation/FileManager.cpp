#include "platform/foundation/FileManager.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

namespace {

std::function<bool(const std::string&)>& beforeRenameHook() {
    static std::function<bool(const std::string&)> hook;
    return hook;
}

Error fileError(const std::string& what, const std::string& path, int error) {
    return Error{"FileManagerErrorDomain", error, fmt::format("{} {}: {}", what, path, std::strerror(error))};
}

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

} // namespace

bool FileManager::fileExists(const std::string& path) {
    struct stat st{};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool FileManager::isDirectory(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileManager::createDirectory(const std::string& path, bool intermediates) {
    if (path.empty())
        return false;
    std::error_code error;
    if (intermediates)
        std::filesystem::create_directories(path, error);
    else
        std::filesystem::create_directory(path, error);
    return isDirectory(path);
}

bool FileManager::removeItem(const std::string& path) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    struct stat st{};
    return ::lstat(path.c_str(), &st) != 0;
}

std::optional<Date> FileManager::modificationDate(const std::string& path) {
    struct stat st{};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    return Date(static_cast<double>(st.st_mtim.tv_sec) + static_cast<double>(st.st_mtim.tv_nsec) / 1e9);
}

bool FileManager::setModificationDate(const std::string& path, Date date) {
    const timespec times[2] = {toTimespec(date), toTimespec(date)};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

std::optional<Data> FileManager::contentsAtPath(const std::string& path, std::size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > limit) {
        ::close(fd);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return Data(std::move(bytes));
}

Status FileManager::writeAtomically(const std::string& path, const Data& contents) {
    std::string temporary = path + ".tmp-XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return fileError("cannot create a temporary file for", path, errno);
    const bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    ::fchmod(fd, 0644);
    ::close(fd);
    if (!written) {
        ::unlink(temporary.c_str());
        return fileError("cannot write", path, writeErrno);
    }
    setModificationDate(temporary, Date::now());
    if (beforeRenameHook() && !beforeRenameHook()(path)) {
        ::unlink(temporary.c_str());
        return fileError("write abandoned for", path, ECANCELED);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(temporary.c_str());
        return fileError("cannot replace", path, renameErrno);
    }
    return success();
}

void FileManager::setBeforeRenameHookForTesting(std::function<bool(const std::string&)> hook) {
    beforeRenameHook() = std::move(hook);
}

} // namespace foundation
