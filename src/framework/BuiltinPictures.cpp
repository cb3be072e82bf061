#include "framework/BuiltinPictures.h"

#include <span>
#include <string>

#include "framework/AssetTable.h"

namespace vorlanex {

namespace {

TBitmap BuiltinPicture(const PictureDef& def, const std::vector<AssetEntry>& archive)
{
    const std::string source = std::string("built-in picture \"") + def.name + "\"";
    const AssetEntry* entry = FindAsset(archive, AssetKind::Picture, def.name);
    if (!entry)
        throw BitmapError(source + ": missing from the asset archive");
    TBitmap picture = TBitmap::FromBytes(entry->bytes, source);
    if (picture.Width() != def.width || picture.Height() != def.height || picture.BitCount() != def.bitCount)
        throw BitmapError(source + ": is " + std::to_string(picture.Width()) + " x " +
                          std::to_string(picture.Height()) + " at " + std::to_string(picture.BitCount()) +
                          " bits, expected " + std::to_string(def.width) + " x " + std::to_string(def.height) +
                          " at " + std::to_string(def.bitCount) + " bits");
    return picture;
}

void AddItems(TPictureCollection& list, std::span<const PictureDef> defs, const std::vector<AssetEntry>& archive)
{
    for (const PictureDef& def : defs) {
        TPictureCollectionItem& item = list.Add();
        item.SetName(def.name);
        item.SetPatternWidth(def.patternWidth);
        item.SetPatternHeight(def.patternHeight);
        item.Transparent = def.transparent;
        item.SetTransparentColor(def.transparentColor);
        item.SystemMemory = def.systemMemory;
        if (std::string(def.fileName).empty())
            item.Picture = BuiltinPicture(def, archive);
    }
}

}  // namespace

void LoadBuiltinPictures(TPictureCollection& imageList, TPictureCollection& dxImageList,
                         const std::vector<AssetEntry>& archive)
{
    AddItems(imageList, kImageListDefs, archive);
    AddItems(dxImageList, kDXImageListDefs, archive);
}

}  // namespace vorlanex
