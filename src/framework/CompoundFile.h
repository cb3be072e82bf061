#pragma once
// Reader of compound files (structured storage): a tree of named storages holding named streams, stored in
// fixed-size sectors linked through an allocation table. Versions 3 (512-byte sectors) and 4 (4096-byte
// sectors), the allocation table extended beyond the header, and the mini stream for small streams.
//
// The file is opened read-only and never trusted: every sector chain is checked for bounds and loops before
// anything is allocated from it, and every fault is a CompoundFileError naming the file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlanex {

class CompoundFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class CompoundFile
{
public:
    using EntryId = std::uint32_t;
    static constexpr EntryId RootId = 0;

    // Opens `path` read-only and checks the header, the allocation tables and the directory.
    static CompoundFile Open(const std::string& path);
    // Reads a file image held in memory; `sourceName` names it in errors.
    static CompoundFile FromBytes(std::vector<std::uint8_t> bytes, std::string sourceName);

    CompoundFile(CompoundFile&&) noexcept;
    CompoundFile& operator=(CompoundFile&&) noexcept;
    ~CompoundFile();

    int MajorVersion() const;
    std::uint32_t SectorSize() const;
    const std::string& SourceName() const;

    bool IsStorage(EntryId id) const;   // the root counts as a storage
    bool IsStream(EntryId id) const;
    std::u16string Name(EntryId id) const;

    // The child of `storage` called `name` (compared without regard to letter case), if any.
    std::optional<EntryId> FindChild(EntryId storage, std::u16string_view name) const;
    // As FindChild, but the child must exist and be a storage (resp. a stream); otherwise CompoundFileError.
    EntryId OpenStorage(EntryId parent, std::u16string_view name) const;
    EntryId OpenStream(EntryId parent, std::u16string_view name) const;
    // The children of a storage in directory order.
    std::vector<EntryId> Children(EntryId storage) const;

    std::uint64_t StreamSize(EntryId stream) const;
    std::vector<std::uint8_t> ReadStream(EntryId stream) const;

private:
    struct Impl;
    explicit CompoundFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl;
};

}  // namespace vorlanex
