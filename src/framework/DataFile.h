#pragma once
// Opening a file of the game folder as the hostile thing it may be: only a regular file is ever opened
// (a named pipe would block, a device would never end), always read-only, and never read beyond a limit
// that fits what the game can use of it.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlanex {

// what() is "<path>: <problem>".
class DataFileError : public std::runtime_error
{
public:
    DataFileError(const std::string& path, std::string problem)
        : std::runtime_error(path + ": " + problem), problem(std::move(problem)) {}
    // What is wrong, without the path: for messages that name the file their own way.
    const std::string& Problem() const { return problem; }

private:
    std::string problem;
};

enum class DataFileKind { Missing, Regular, Folder, NamedPipe, Device, Socket, Other };

// What `path` names, following links (a link to /dev/zero is a device). Never opens it.
DataFileKind ClassifyDataFile(const std::string& path);
// "a folder", "a named pipe", "a device", ... in plain words for messages.
const char* DescribeDataFileKind(DataFileKind kind);

class DataFile
{
public:
    // Opens a regular file read-only; anything else is refused before it is opened. Messages start with
    // the path: "<path>: is a named pipe, not a regular file".
    static DataFile Open(const std::string& path);

    DataFile(DataFile&& other) noexcept;
    DataFile& operator=(DataFile&& other) noexcept;
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    ~DataFile();

    const std::string& Path() const { return path; }
    // The size when it was opened; reads never go past it even if the file grows meanwhile.
    std::uint64_t Size() const { return size; }

    // Fills dst with `count` bytes from `offset`; false when the file ends first or the read fails.
    bool ReadAt(std::uint64_t offset, std::uint8_t* dst, std::size_t count) const;
    // At most `count` bytes from the start (fewer when the file is shorter).
    std::vector<std::uint8_t> ReadHead(std::size_t count) const;
    // Throws DataFileError when the file is larger than maxBytes, naming `what` ("a help text").
    void RefuseLargerThan(std::uint64_t maxBytes, std::string_view what) const;
    // The whole file; a file larger than maxBytes is refused before anything is allocated, naming `what`
    // ("a help text") in the message.
    std::vector<std::uint8_t> ReadAll(std::uint64_t maxBytes, std::string_view what) const;

private:
    DataFile(int fd, std::uint64_t size, std::string path) : fd(fd), size(size), path(std::move(path)) {}

    int fd = -1;
    std::uint64_t size = 0;
    std::string path;
};

// DataFile::Open(path).ReadAll(maxBytes, what).
std::vector<std::uint8_t> ReadDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what);

// "1.5 MB", "300 bytes": sizes as a player reads them.
std::string DescribeSize(std::uint64_t bytes);

}  // namespace vorlanex
