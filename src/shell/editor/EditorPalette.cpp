#include "shell/editor/EditorPalette.h"

#include <algorithm>
#include <filesystem>

#include "framework/CompoundFile.h"
#include "framework/DataFile.h"
#include "maps/MapFile.h"
#include "maps/Tiles.h"
#include "platform/common/Gbk.h"
#include "platform/common/Utf8.h"

namespace vorlanex {

namespace {

std::string Utf8Of(const std::u16string& name)
{
    std::string out;
    for (char16_t c : name)
        AppendUtf8(out, c);
    return out;
}

// Tile paths are storage\stream or storage\storage\stream, as the tile loader reads them.
void CollectPaths(const CompoundFile& library, CompoundFile::EntryId storage, const std::string& prefix, int depth,
                  std::vector<std::string>& paths)
{
    for (CompoundFile::EntryId child : library.Children(storage))
    {
        const std::string name = prefix + Utf8Of(library.Name(child));
        if (library.IsStream(child) && depth > 0)
            paths.push_back(name);
        else if (library.IsStorage(child) && depth < 2)
            CollectPaths(library, child, name + "\\", depth + 1, paths);
    }
}

bool IsBitmapName(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".bmp";
}

}  // namespace

void EditorPalette::Load(const std::string& folder, TDXDraw& draw, std::string& problem)
{
    appDir = folder;
    display = &draw;
    tiles.clear();
    pictures.Clear();
    std::vector<std::string> paths;
    const std::string libraryFile = FindTileLibrary(appDir);
    try
    {
        const CompoundFile library = CompoundFile::Open(libraryFile);
        CollectPaths(library, CompoundFile::RootId, "", 0, paths);
    }
    catch (const std::exception& e)
    {
        problem = e.what();
    }
    std::sort(paths.begin(), paths.end());
    TTile tile(libraryFile);
    for (const std::string& utf8 : paths)
    {
        try
        {
            tile.Path = Utf8ToGbk(utf8);
            if (!tile.Load())
                continue;
        }
        catch (const std::exception&)
        {
            continue;   // a tile that cannot be read is not offered; the others still are
        }
        TPictureCollectionItem& item = pictures.Add();
        item.Picture = tile.Bitmap;
        item.SetName(utf8);
        item.Transparent = true;
        item.Load(draw);
        tiles.push_back({tile.Path, utf8, tile.Flags, &item});
    }

    backgrounds = {""};
    std::error_code ec;
    for (std::filesystem::directory_iterator dir(appDir, ec), end; !ec && dir != end; dir.increment(ec))
    {
        if (!dir->is_directory(ec))
            continue;
        for (std::filesystem::directory_iterator it(dir->path(), ec), last; !ec && it != last; it.increment(ec))
            if (IsBitmapName(it->path().filename().string()) && it->is_regular_file(ec))
            {
                try
                {
                    backgrounds.push_back(
                        Utf8ToGbk(dir->path().filename().string() + "\\" + it->path().filename().string()));
                }
                catch (const std::exception&)
                {
                }
            }
        ec.clear();
    }
    std::sort(backgrounds.begin() + 1, backgrounds.end());
}

const PaletteTile* EditorPalette::Find(const std::string& gbkPath) const
{
    for (const PaletteTile& t : tiles)
        if (t.path == gbkPath)
            return &t;
    return nullptr;
}

TPictureCollectionItem* EditorPalette::BackgroundPicture(const std::string& gbkName)
{
    if (gbkName.empty() || !display)
        return nullptr;
    const std::string key = "background:" + gbkName;
    if (TPictureCollectionItem* known = pictures.ImageFind(key))
        return known->IsLoaded() ? known : nullptr;
    TPictureCollectionItem& item = pictures.Add();
    item.SetName(key);
    const std::string path = GameFolderPath(appDir, gbkName);
    try
    {
        if (!path.empty() && ClassifyDataFile(path) == DataFileKind::Regular)
        {
            item.LoadPictureFromFile(path);
            item.Transparent = false;
            item.Load(*display);
        }
    }
    catch (const std::exception&)
    {
        item.Unload();
    }
    return item.IsLoaded() ? &item : nullptr;
}

}  // namespace vorlanex
