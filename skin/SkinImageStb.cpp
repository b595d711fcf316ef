// The one translation unit that compiles the image decoder library. Only the formats skins use are
// built, nothing reads files by itself (the engine hands it bytes), and no side may exceed what the
// engine accepts anyway, so that even a caller that skips the size check cannot be made to allocate
// for an absurd image.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 16384

#include <stb_image.h>
