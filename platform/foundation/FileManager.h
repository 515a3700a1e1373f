#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Result.h"

#include <functional>
#include <optional>
#include <string>

namespace foundation {

// File operations of the sandbox. Every persisted file is written atomically, so a reader sees
// either the old file or the new one, never a torn write. Reads take regular files only: a
// FIFO, device or directory where a file is expected is refused at once instead of blocking.
class FileManager {
public:
    static constexpr std::size_t kDefaultReadLimit = 64 * 1024 * 1024;

    static bool fileExists(const std::string& path);
    static bool isDirectory(const std::string& path);
    static Status createDirectory(const std::string& path, bool intermediates = true);
    // Removes a file or a whole directory tree; succeeds when nothing is left at the path.
    static Status removeItem(const std::string& path);
    // Modification date of the path itself (links are not followed).
    static std::optional<Date> modificationDate(const std::string& path);
    static Status setModificationDate(const std::string& path, Date date);
    // Refuses files larger than the limit, so a corrupt cache cannot exhaust memory.
    static std::optional<Data> contentsAtPath(const std::string& path,
                                              std::size_t limit = kDefaultReadLimit);
    // Temporary file beside the target, fsync, rename. The new file is dated by the run
    // loop's clock, so file ages agree with the loop's time.
    static Status writeAtomically(const std::string& path, const Data& contents);

    // The same operations on root/relative, for files kept below a root the caller trusts
    // (the sandbox home). A symbolic link or non-directory on the way from root to the file
    // refuses the operation, and a link in place of the file is never followed, so nothing
    // read or written this way can be outside root. Writes create missing directories.
    static Status writeAtomicallyBelow(const std::string& root, const std::string& relative,
                                       const Data& contents);
    // The error's code is ENOENT when nothing is at the path.
    static Result<Data> contentsBelow(const std::string& root, const std::string& relative,
                                      std::size_t limit = kDefaultReadLimit);
    // nullopt unless a regular file is there.
    static std::optional<Date> modificationDateBelow(const std::string& root,
                                                     const std::string& relative);
    // Removes the entry itself (a link, not its target); directories are refused. Succeeds
    // when nothing was there.
    static Status removeItemBelow(const std::string& root, const std::string& relative);

    // Test seam: called after the temporary file is complete and before the rename; returning
    // false abandons the write as a crash at that point would.
    static void setBeforeRenameHookForTesting(std::function<bool(const std::string& path)> hook);
};

} // namespace foundation
