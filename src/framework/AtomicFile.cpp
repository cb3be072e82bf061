#include "framework/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace vorlanex {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error)
{
    throw FileSaveError(path + ": " + what + ": " + std::strerror(error) + "; the file on disk is unchanged");
}

int Injected(const AtomicWriteOptions& options, SaveStep step)
{
    return options.fault ? options.fault(step) : 0;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, int& error)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            error = n < 0 ? errno : ENOSPC;
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

// The temporary file, removed again unless it was renamed into place.
class Temporary
{
public:
    Temporary(const std::string& path, const AtomicWriteOptions& options) : target(path)
    {
        const std::filesystem::path p(path);
        name = (p.parent_path() / ("." + p.filename().string() + ".XXXXXX")).string();
        if (const int error = Injected(options, SaveStep::CreateTemporary))
            Fail(target, "cannot create a file in its folder", error);
        std::vector<char> buffer(name.begin(), name.end());
        buffer.push_back('\0');
        fd = ::mkstemp(buffer.data());
        if (fd < 0)
            Fail(target, "cannot create a file in its folder", errno);
        name = buffer.data();
        struct stat old{};
        ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    }
    ~Temporary()
    {
        if (fd >= 0)
            ::close(fd);
        if (!renamed)
            ::unlink(name.c_str());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    void Write(std::span<const std::uint8_t> bytes, const AtomicWriteOptions& options)
    {
        int error = Injected(options, SaveStep::Write);
        if (error || !WriteAll(fd, bytes, error))
            Fail(target, "cannot be written", error);
        error = Injected(options, SaveStep::Flush);
        if (error || ::fsync(fd) != 0)
            Fail(target, "cannot be flushed to the disk", error ? error : errno);
        const int closing = ::close(fd);
        fd = -1;
        if (closing != 0)
            Fail(target, "cannot be written", errno);
    }

    void RenameInto(const AtomicWriteOptions& options)
    {
        const int error = Injected(options, SaveStep::Replace);
        if (error || ::rename(name.c_str(), target.c_str()) != 0)
            Fail(target, "cannot replace the old file", error ? error : errno);
        renamed = true;
    }

private:
    std::string target;
    std::string name;
    int fd = -1;
    bool renamed = false;
};

std::vector<std::uint8_t> ReadWhole(const std::string& path, int& error)
{
    std::vector<std::uint8_t> bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        error = errno;
        return bytes;
    }
    std::uint8_t chunk[65536];
    for (;;)
    {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

// "<path>~" becomes the file about to be replaced: a second name for it where the file system allows one,
// else a copy written the same careful way.
void KeepPrevious(const std::string& path, const AtomicWriteOptions& options)
{
    struct stat old{};
    if (::lstat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
        return;
    const std::string backup = path + "~";
    if (const int error = Injected(options, SaveStep::KeepPrevious))
        Fail(path, "cannot keep the previous version as " + backup, error);
    if (::unlink(backup.c_str()) != 0 && errno != ENOENT)
        Fail(path, "cannot keep the previous version as " + backup, errno);
    if (::link(path.c_str(), backup.c_str()) == 0)
        return;
    int error = 0;
    const std::vector<std::uint8_t> bytes = ReadWhole(path, error);
    if (error)
        Fail(path, "cannot keep the previous version as " + backup, error);
    AtomicWriteFile(backup, bytes);
}

void FlushFolder(const std::string& path)
{
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);   // the rename itself reaches the disk; a folder that cannot be flushed still holds it
    ::close(fd);
}

}  // namespace

void AtomicWriteFile(const std::string& path, std::span<const std::uint8_t> bytes, const AtomicWriteOptions& options)
{
    Temporary temporary(path, options);
    temporary.Write(bytes, options);
    if (options.keepPrevious)
        KeepPrevious(path, options);
    temporary.RenameInto(options);
    FlushFolder(path);
}

void MakeFolders(const std::string& folder)
{
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec))
        return;
    std::filesystem::path sofar;
    for (const auto& part : std::filesystem::path(folder))
    {
        sofar /= part;
        if (std::filesystem::is_directory(sofar, ec))
            continue;
        if (::mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST)
            throw FileSaveError(folder + ": the folder cannot be made: " + std::strerror(errno));
    }
    if (!std::filesystem::is_directory(folder, ec))
        throw FileSaveError(folder + ": the folder cannot be made: " + std::strerror(ENOTDIR));
}

}  // namespace vorlanex
