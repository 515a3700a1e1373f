#include "sim/TemporaryHome.h"

#include "platform/foundation/FileManager.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fmt/format.h>
#include <unistd.h>

namespace sim {

namespace {

// The handler may only make async-signal-safe calls: the path is copied beforehand and the
// tree is taken apart with raw directory reads, unlinkat and rmdir; then the signal is raised
// again with its default action, so the exit status still names it.

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGABRT};
constexpr int kMaxDepth = 16;
char homePath[PATH_MAX];
std::atomic<bool> claimed{false};
bool armed = false;
struct sigaction previous[std::size(kSignals)];

// One pass over the open folder: removes what it can; true if anything went.
bool removePass(int folder, int depth) {
    alignas(struct dirent64) char buffer[4096];
    bool removed = false;
    for (ssize_t size; (size = ::getdents64(folder, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < size;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            if (::unlinkat(folder, name, 0) == 0) {
                removed = true;
                continue;
            }
            const int child =
                depth > 0 ? ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                          : -1;
            if (child < 0)
                continue;
            while (removePass(child, depth - 1))
                ::lseek(child, 0, SEEK_SET);
            ::close(child);
            removed = ::unlinkat(folder, name, AT_REMOVEDIR) == 0 || removed;
        }
    }
    return removed;
}

void onSignal(int signal) {
    // The interrupted code may be about to read errno.
    const int savedErrno = errno;
    if (!claimed.exchange(true)) {
        const int home = ::open(homePath, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (home >= 0) {
            // Removing while reading may skip entries: read again until nothing goes.
            while (removePass(home, kMaxDepth))
                ::lseek(home, 0, SEEK_SET);
            ::close(home);
            ::rmdir(homePath);
        }
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = savedErrno;
}

void arm(const std::string& home) {
    if (home.size() >= sizeof homePath)
        return;
    std::memcpy(homePath, home.c_str(), home.size() + 1);
    claimed = false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &previous[i]);
    armed = true;
}

void disarm() {
    if (!armed)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &previous[i], nullptr);
    armed = false;
}

} // namespace

std::unique_ptr<TemporaryHome> TemporaryHome::create(bool keep) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kessa-home-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return nullptr;
    return std::unique_ptr<TemporaryHome>(new TemporaryHome(std::move(pattern), keep));
}

TemporaryHome::TemporaryHome(std::string path, bool keep) : path_(std::move(path)), keep_(keep) {
    if (!keep_)
        arm(path_);
}

TemporaryHome::~TemporaryHome() {
    if (keep_)
        return;
    disarm();
    if (auto removed = foundation::FileManager::removeItem(path_); !removed)
        fmt::print(stderr, "cannot remove the temporary home: {}\n", removed.error().message);
}

} // namespace sim
