#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

enum class PlainPngResult {
    Decoded,  // every pixel written and the file ended cleanly
    Declined  // not a plain PNG, or damaged: the general decoder gives its own answer
};

// The direct path for what skins are made of: 8-bit, non-interlaced truecolour PNGs, with or without
// alpha and with no transparency key or palette. The image data is inflated a few rows at a time and
// each row is unfiltered and premultiplied straight into `bgra` (width x height pixels of blue, green,
// red, alpha, top row first; the rules of PremultiplyRgbaToBgra), so no whole-image buffer is made on
// the way. `hasAlpha` tells whether any pixel needs blending.
//
// Declined for every other file and for any irregularity (an unknown critical chunk, a missing end, data
// that inflates to more or fewer bytes than the rows hold, a bad checksum): the caller then decodes the
// same bytes with the general decoder, so a file decodes to the same pixels whichever path takes it.
// `bgra` may have been written to when the answer is Declined.
PlainPngResult DecodePlainPng(const uint8_t* data, size_t size, int32_t width, int32_t height, uint32_t mask,
                              uint8_t* bgra, bool& hasAlpha);

}  // namespace SkinUI
