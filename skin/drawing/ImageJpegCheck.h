#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

// The JPEG decoder of the image library trusts the code counts of Huffman table definitions: more than
// 256 codes in one table write past the table. This check runs first on data that may be a JPEG (its
// first byte is 0xFF): every "FF C4" sequence anywhere in the data, whether or not the decoder would
// reach it, is read as a table definition as the decoder reads it (missing bytes as zeros), and the
// data is refused when a table claims more than 256 codes. Other data passes unchecked.
bool JpegHuffmanTablesFit(const uint8_t* data, size_t size);

}  // namespace SkinUI
