#include "framework/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vorlanex {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& problem)
{
    throw DataFileError(path, problem);
}

DataFileKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return DataFileKind::Regular;
    if (S_ISDIR(mode))
        return DataFileKind::Folder;
    if (S_ISFIFO(mode))
        return DataFileKind::NamedPipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return DataFileKind::Device;
    if (S_ISSOCK(mode))
        return DataFileKind::Socket;
    return DataFileKind::Other;
}

void RefuseIfNotRegular(const std::string& path, DataFileKind kind)
{
    if (kind == DataFileKind::Missing)
        Fail(path, std::strerror(ENOENT));
    if (kind != DataFileKind::Regular)
        Fail(path, std::string("is ") + DescribeDataFileKind(kind) + ", not a regular file");
}

}  // namespace

DataFileKind ClassifyDataFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return DataFileKind::Missing;
    return KindOf(st.st_mode);
}

const char* DescribeDataFileKind(DataFileKind kind)
{
    switch (kind)
    {
    case DataFileKind::Missing: return "missing";
    case DataFileKind::Regular: return "a regular file";
    case DataFileKind::Folder: return "a folder";
    case DataFileKind::NamedPipe: return "a named pipe";
    case DataFileKind::Device: return "a device";
    case DataFileKind::Socket: return "a socket";
    case DataFileKind::Other: break;
    }
    return "a special file";
}

DataFile DataFile::Open(const std::string& path)
{
    // Checked before opening: opening a pipe can block and opening some devices has effects of its own.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0)
        Fail(path, std::strerror(errno));   // the system's reason: missing, or a folder on the way unreadable
    RefuseIfNotRegular(path, KindOf(named.st_mode));
    // Non-blocking in case the name was swapped for a pipe since the check; fstat below then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        Fail(path, std::string("cannot open the file (") + std::strerror(errno) + ")");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || KindOf(st.st_mode) != DataFileKind::Regular)
    {
        ::close(fd);
        RefuseIfNotRegular(path, DataFileKind::Other);
    }
    return DataFile(fd, std::uint64_t(st.st_size), path);
}

DataFile::DataFile(DataFile&& other) noexcept : fd(other.fd), size(other.size), path(std::move(other.path))
{
    other.fd = -1;
}

DataFile& DataFile::operator=(DataFile&& other) noexcept
{
    if (this != &other)
    {
        if (fd >= 0)
            ::close(fd);
        fd = other.fd;
        size = other.size;
        path = std::move(other.path);
        other.fd = -1;
    }
    return *this;
}

DataFile::~DataFile()
{
    if (fd >= 0)
        ::close(fd);
}

bool DataFile::ReadAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count) const
{
    if (offset > size || count > size - offset)
        return false;
    while (count > 0)
    {
        const ssize_t got = ::pread(fd, dst, count, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;   // shrunk since it was opened, or a read error
        dst += got;
        offset += std::uint64_t(got);
        count -= std::size_t(got);
    }
    return true;
}

std::vector<std::uint8_t> DataFile::ReadHead(std::size_t count) const
{
    std::vector<std::uint8_t> bytes(std::size_t(std::min<std::uint64_t>(count, size)));
    if (!ReadAt(0, bytes.data(), bytes.size()))
        Fail(path, "cannot read the file");
    return bytes;
}

void DataFile::RefuseLargerThan(std::uint64_t maxBytes, std::string_view what) const
{
    if (size > maxBytes)
        Fail(path, "is " + DescribeSize(size) + ", more than the " + DescribeSize(maxBytes) + " " +
                       std::string(what) + " may have");
}

std::vector<std::uint8_t> DataFile::ReadAll(std::uint64_t maxBytes, std::string_view what) const
{
    RefuseLargerThan(maxBytes, what);
    return ReadHead(std::size_t(size));
}

std::vector<std::uint8_t> ReadDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what)
{
    return DataFile::Open(path).ReadAll(maxBytes, what);
}

std::string DescribeSize(std::uint64_t bytes)
{
    if (bytes < 10 * 1024)
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    char text[32];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>(bytes / 1024));
    else if (bytes % (1024 * 1024) == 0)
        std::snprintf(text, sizeof text, "%llu MB", static_cast<unsigned long long>(bytes >> 20));
    else
        std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024.0 * 1024.0));
    return text;
}

}  // namespace vorlanex
