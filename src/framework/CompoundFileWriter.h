#pragma once
// Writer of compound files, for the tile library made at build time and for tests of the reader.
// The output is deterministic: no time stamps, children sorted in directory order, a balanced red-black tree.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorlanex {

class CompoundFileWriter
{
public:
    // Version 3 writes 512-byte sectors, version 4 writes 4096-byte sectors.
    explicit CompoundFileWriter(int majorVersion = 3);
    ~CompoundFileWriter();

    // Adds a stream at `path` (storages, then the stream's name), creating the storages on the way.
    // Adding the same path again replaces the data. Throws CompoundFileError for an invalid name or when a
    // path runs through a stream.
    void AddStream(const std::vector<std::u16string>& path, std::vector<std::uint8_t> data);
    // Adds an (empty) storage, creating its parents.
    void AddStorage(const std::vector<std::u16string>& path);

    std::vector<std::uint8_t> Build() const;

private:
    struct Node;
    Node& Descend(const std::vector<std::u16string>& path, std::size_t depth);
    int majorVersion;
    std::unique_ptr<Node> root;
};

}  // namespace vorlanex
