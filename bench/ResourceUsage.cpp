#include "ResourceUsage.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace resource_usage {

namespace {

double secondsOn(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string firstLineOf(const std::filesystem::path& path) {
    std::string line;
    std::ifstream file(path);
    std::getline(file, line);
    return line;
}

} // namespace

double threadCPUSeconds() { return secondsOn(CLOCK_THREAD_CPUTIME_ID); }

double processCPUSeconds() { return secondsOn(CLOCK_PROCESS_CPUTIME_ID); }

std::optional<double> namedThreadsCPUSeconds(std::string_view name) {
    const auto shortName = name.substr(0, 15);
    std::optional<double> total;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        if (firstLineOf(task.path() / "comm") != shortName)
            continue;
        // The first field of schedstat is the thread's time on a CPU, in nanoseconds.
        unsigned long long nanoseconds = 0;
        if (std::ifstream(task.path() / "schedstat") >> nanoseconds)
            total = total.value_or(0) + static_cast<double>(nanoseconds) * 1e-9;
    }
    return total;
}

std::size_t residentBytes() {
    std::size_t sizePages = 0, residentPages = 0;
    std::ifstream("/proc/self/statm") >> sizePages >> residentPages;
    return residentPages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::size_t peakResidentBytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024; // the kernel counts KiB
}

std::size_t heapInUseBytes() {
    const auto info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace resource_usage
