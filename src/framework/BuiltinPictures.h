#pragma once
// Filling the two picture catalogues from the asset table and the built-in asset archive.

#include <vector>

#include "framework/AssetArchive.h"
#include "framework/PictureCollection.h"

namespace vorlanex {

// Adds every item of both catalogue tables in order, each with its name, stored pattern size, transparency,
// key and SystemMemory. Pictures come from the archive entry of the same name and must have the table's size
// and bit depth; items filled from a file at start-up get an empty picture. Throws BitmapError on a missing
// or mismatched picture.
void LoadBuiltinPictures(TPictureCollection& imageList, TPictureCollection& dxImageList,
                         const std::vector<AssetEntry>& archive);

}  // namespace vorlanex
