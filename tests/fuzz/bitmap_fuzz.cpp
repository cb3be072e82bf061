// Any byte string either decodes to a picture whose size agrees with its pixels, or is refused with
// BitmapError; measuring agrees with decoding about what is acceptable.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    bool decoded = false;
    try {
        const vorlanex::TBitmap picture = vorlanex::TBitmap::FromBytes(bytes, "fuzz.bmp");
        decoded = true;
        if (picture.Pixels().size() != std::size_t(picture.Width()) * std::size_t(picture.Height()))
            std::abort();
        if (!picture.Empty() && vorlanex::TBitmap::FromBytes(picture.ToBmp(), "again").Pixels() != picture.Pixels())
            std::abort();
    } catch (const vorlanex::BitmapError&) {
    }
    try {
        const std::size_t measured = vorlanex::TBitmap::MeasureBytes(bytes, "fuzz.bmp");
        if (!decoded || measured > size)
            std::abort();
    } catch (const vorlanex::BitmapError&) {
        if (decoded)
            std::abort();
    }
    return 0;
}
