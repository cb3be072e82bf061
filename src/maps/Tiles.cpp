#include "maps/Tiles.h"

#include <filesystem>
#include <system_error>

#include "framework/DataFile.h"
#include "maps/ByteStream.h"
#include "platform/common/Gbk.h"

namespace vorlanex {

namespace {

constexpr int DefaultTileSize = 32;

bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// The path for error messages; GBK that does not convert is shown as it came.
std::string Readable(const std::string& gbk)
{
    try
    {
        return GbkToUtf8(gbk);
    }
    catch (const TextEncodingError&)
    {
        return gbk;
    }
}

}  // namespace

std::string FindTileLibrary(const std::string& appDir)
{
    namespace fs = std::filesystem;
    const std::string exact = appDir + TileLibraryName;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    // Copied from another system, the name may differ in letter case or still be in GBK bytes.
    const std::string gbkName = Utf8ToGbk(TileLibraryName);
    const fs::path folder = appDir.empty() ? fs::path(".") : fs::path(appDir);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    {
        const std::string name = it->path().filename().string();
        if (SameIgnoringAsciiCase(name, TileLibraryName) || SameIgnoringAsciiCase(name, gbkName))
            return appDir + name;
    }
    return exact;
}

std::array<std::string, 3> SplitTilePath(const std::string& gbkPath)
{
    std::array<std::string, 3> parts;
    std::size_t part = 0;
    for (std::size_t i = 0; i < gbkPath.size() && part < parts.size(); ++i)
    {
        const auto c = static_cast<unsigned char>(gbkPath[i]);
        if (c == '\\')
        {
            ++part;
            continue;
        }
        parts[part] += char(c);
        if (IsGbkLeadByte(c) && i + 1 < gbkPath.size())
            parts[part] += gbkPath[++i];
    }
    return parts;
}

TTile::TTile() : Bitmap(TBitmap::TrueColor(DefaultTileSize, DefaultTileSize,
                                            std::vector<TColor>(DefaultTileSize * DefaultTileSize, clBlack)))
{
}

TTile::TTile(std::string libraryFile, std::function<void()> beep, std::function<void(const std::string&)> reportFault)
    : TTile()
{
    LibraryFile = std::move(libraryFile);
    Beep = std::move(beep);
    ReportFault = std::move(reportFault);
}

void TTile::NoteLibraryFault(const std::string& message)
{
    if (faultReported)
        return;
    faultReported = true;
    if (ReportFault)
        ReportFault(message);
}

bool TTile::OpenLibrary()
{
    if (library && libraryOpenedFrom == LibraryFile)
        return true;
    if (libraryOpenedFrom == LibraryFile && libraryRefused)
        return false;   // one attempt per file: a refused library is not read again for every cell
    library.reset();
    libraryOpenedFrom = LibraryFile;
    libraryRefused = true;
    // A missing library only beeps for each tile; one that is there but unreadable is also reported.
    if (ClassifyDataFile(LibraryFile) == DataFileKind::Missing)
        return false;
    try
    {
        // Read-only, whatever the query: the library is a data file of the game.
        library = std::make_shared<const CompoundFile>(CompoundFile::Open(LibraryFile));
    }
    catch (const CompoundFileError& e)
    {
        NoteLibraryFault(e.what());
        return false;
    }
    libraryRefused = false;
    return true;
}

std::optional<CompoundFile::EntryId> TTile::FindEntry(CompoundFile::EntryId storage, const std::string& gbkName,
                                                      bool wantStorage) const
{
    const auto id = library->FindChild(storage, GbkToUtf16(gbkName));
    if (!id || (wantStorage ? !library->IsStorage(*id) : !library->IsStream(*id)))
        return std::nullopt;
    return id;
}

std::vector<std::uint8_t> TTile::ReadTileStream()
{
    const auto parts = SplitTilePath(Path);
    if (parts[1].empty() || !OpenLibrary())
        return {};   // one part names a storage at most, never a stream
    try
    {
        auto storage = FindEntry(CompoundFile::RootId, parts[0], true);
        if (storage && !parts[2].empty())
            storage = FindEntry(*storage, parts[1], true);
        const auto stream = storage ? FindEntry(*storage, parts[2].empty() ? parts[1] : parts[2], false)
                                    : std::nullopt;
        return stream ? library->ReadStream(*stream) : std::vector<std::uint8_t>{};
    }
    catch (const CompoundFileError& e)
    {
        NoteLibraryFault(e.what());   // a tree or a chain that loops or leaves the file
        return {};
    }
    catch (const TextEncodingError&)
    {
        return {};
    }
}

bool TTile::Load()
{
    if (Path.empty())
        return false;
    const auto bytes = ReadTileStream();
    if (bytes.empty())
    {
        if (Beep)
            Beep();
        return false;
    }
    ParseStream(bytes, LibraryFile + ": tile '" + Readable(Path) + "'");
    return true;
}

void TTile::ParseStream(std::span<const std::uint8_t> bytes, const std::string& sourceName)
{
    // Cut by the bitmap's own header: a decoder's read position after the pixels cannot be trusted.
    const std::size_t bitmapSize = TBitmap::MeasureBytes(bytes, sourceName);
    TBitmap picture = TBitmap::FromBytes(bytes.first(bitmapSize), sourceName);
    Bitmap = std::move(picture);
    ByteStream rest(bytes.subspan(bitmapSize));
    rest.ReadByte(Flags);
    rest.ReadInt(Durability);
}

TTiles::~TTiles() { Clear(); }

void TTiles::Clear() { TileList.clear(); }

}  // namespace vorlanex
