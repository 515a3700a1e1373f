#pragma once

#include <memory>
#include <string>

namespace sim {

// A fresh sandbox home in the temporary folder for one run. Unless kept, it is removed when
// this object goes, and also when SIGINT, SIGTERM, SIGHUP or SIGABRT ends the process first.
// One at a time: the signal handler knows a single path.
class TemporaryHome {
public:
    // Nullptr when no folder could be made.
    static std::unique_ptr<TemporaryHome> create(bool keep);
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const std::string& path() const { return path_; }

private:
    TemporaryHome(std::string path, bool keep);

    std::string path_;
    bool keep_;
};

} // namespace sim
