#pragma once
// Writing a player's file so that a crash, a kill or a full disk at any moment leaves either the old file or the
// new one, never half of either: the bytes go to a temporary file in the same folder, are flushed to the disk,
// and the temporary file is then renamed over the old one.

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

namespace vorlanex {

// what() names the file and says what went wrong in plain words.
class FileSaveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The moments of a save, in order; tests stop or fail a save at each of them.
enum class SaveStep { CreateTemporary, Write, Flush, KeepPrevious, Replace };

struct AtomicWriteOptions
{
    // Keep the file being replaced as "<path>~" (maps do; settings need not).
    bool keepPrevious = false;
    // Called before each step; a non-zero answer makes the step fail with that errno value, as if the system
    // had answered so. Empty in the game.
    std::function<int(SaveStep)> fault;
};

// Throws FileSaveError; the file at `path` is then exactly as it was and no temporary file is left behind.
// The folder must exist.
void AtomicWriteFile(const std::string& path, std::span<const std::uint8_t> bytes,
                     const AtomicWriteOptions& options = {});

// Creates the folder and its parents (mode 0700 for new ones); throws FileSaveError naming it when it cannot.
void MakeFolders(const std::string& folder);

}  // namespace vorlanex
