// The names the game asks for: each must find its item in the catalogue the game looks in, so a misspelt or
// dropped name fails here instead of silently drawing or playing nothing.

#include <gtest/gtest.h>

#include "assets/BuiltinAssets.h"
#include "framework/AssetArchive.h"
#include "framework/AssetNames.h"
#include "framework/BuiltinPictures.h"
#include "framework/BuiltinWaves.h"

namespace vorlanex {
namespace {

TEST(AssetNames, EveryNameResolvesInTheBuiltInCatalogues)
{
    const std::vector<AssetEntry> archive = ReadAssetArchive(BuiltinAssetArchive());
    TPictureCollection imageList, dxImageList;
    LoadBuiltinPictures(imageList, dxImageList, archive);
    TDXWaveList waves;
    LoadBuiltinWaves(waves, archive);

    for (const char* name : names::kImageListNames)
        EXPECT_NE(imageList.ImageFind(name), nullptr) << "picture " << name;
    for (const char* name : names::kDXImageListNames)
        EXPECT_NE(dxImageList.ImageFind(name), nullptr) << "level picture " << name;
    for (const char* name : names::kWaveNames)
        EXPECT_GE(waves.Items.IndexOf(name), 0) << "wave " << name;
}

}  // namespace
}  // namespace vorlanex
