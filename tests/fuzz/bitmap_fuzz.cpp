// Any byte string either decodes to a picture whose size agrees with its pixels, or is refused with
// BitmapError. Whatever decodes can be measured, within the bytes given; measuring looks at the headers only,
// so it may accept run-length data that decoding then refuses.

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
        if (measured > size)
            std::abort();
    } catch (const vorlanex::BitmapError&) {
        if (decoded)
            std::abort();
    }
    return 0;
}
