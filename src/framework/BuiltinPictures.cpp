#include "framework/BuiltinPictures.h"

#include <span>
#include <string>

#include "framework/AssetTable.h"

namespace vorlanex {

namespace {

TBitmap BuiltinPicture(const PictureSpec& spec, const std::vector<AssetEntry>& archive)
{
    const std::string source = std::string("built-in picture \"") + spec.name + "\"";
    const AssetEntry* entry = FindAsset(archive, AssetKind::Picture, spec.name);
    if (!entry)
        throw BitmapError(source + ": missing from the asset archive");
    TBitmap picture = TBitmap::FromBytes(entry->bytes, source);
    if (picture.Width() != spec.width || picture.Height() != spec.height || picture.BitCount() != spec.bitCount)
        throw BitmapError(source + ": is " + std::to_string(picture.Width()) + " x " +
                          std::to_string(picture.Height()) + " at " + std::to_string(picture.BitCount()) +
                          " bits, expected " + std::to_string(spec.width) + " x " + std::to_string(spec.height) +
                          " at " + std::to_string(spec.bitCount) + " bits");
    return picture;
}

void AddItems(TPictureCollection& list, std::span<const PictureSpec> specs, const std::vector<AssetEntry>& archive)
{
    for (const PictureSpec& spec : specs) {
        TPictureCollectionItem& item = list.Add();
        item.SetName(spec.name);
        item.SetPatternWidth(spec.patternWidth);
        item.SetPatternHeight(spec.patternHeight);
        item.Transparent = spec.transparent;
        item.SetTransparentColor(spec.transparentColor);
        item.SystemMemory = spec.systemMemory;
        if (std::string(spec.fileName).empty())
            item.Picture = BuiltinPicture(spec, archive);
    }
}

}  // namespace

void LoadBuiltinPictures(TPictureCollection& imageList, TPictureCollection& dxImageList,
                         const std::vector<AssetEntry>& archive)
{
    AddItems(imageList, kImageListSpec, archive);
    AddItems(dxImageList, kDXImageListSpec, archive);
}

}  // namespace vorlanex
