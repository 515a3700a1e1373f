#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Result.h"

#include <functional>
#include <optional>
#include <string>

namespace foundation {

// File operations of the sandbox. Every persisted file is written with writeAtomically, so a
// reader sees either the old file or the new one, never a torn write.
class FileManager {
public:
    static bool fileExists(const std::string& path);
    static bool isDirectory(const std::string& path);
    static bool createDirectory(const std::string& path, bool intermediates = true);
    // Removes a file or a whole directory tree; true when nothing is left at the path.
    static bool removeItem(const std::string& path);
    // Modification date of the path itself (links are not followed).
    static std::optional<Date> modificationDate(const std::string& path);
    static bool setModificationDate(const std::string& path, Date date);
    // Refuses files larger than the limit, so a corrupt cache cannot exhaust memory.
    static std::optional<Data> contentsAtPath(const std::string& path,
                                              std::size_t limit = 64 * 1024 * 1024);
    // Temporary file beside the target, fsync, rename. The new file is dated by the run
    // loop's clock, so file ages agree with the loop's time.
    static Status writeAtomically(const std::string& path, const Data& contents);

    // Test seam: called after the temporary file is complete and before the rename; returning
    // false abandons the write as a crash at that point would.
    static void setBeforeRenameHookForTesting(std::function<bool(const std::string& path)> hook);
};

} // namespace foundation
