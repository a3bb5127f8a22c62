#pragma once

#include <cstddef>
#include <filesystem>

namespace quar {

// What an image file holds: its size, its samples per pixel (1 grey, 3 RGB)
// and its significant bits per sample (8, 10, 12 or 16).
struct ImageShape {
    int width = 0;
    int height = 0;
    int planes = 0;
    int bits = 0;
};

// The bytes one sample takes in a buffer: 1 for 8 bits, 2 (a native-endian
// 16-bit word, the value in the low bits) for 10, 12 and 16 bits.
int BytesPerSample(int bits);
// The bytes of a whole image in a buffer (planes interleaved, rows without
// padding); 0 when the shape is not one the files can hold or too large.
std::size_t ImageBytes(const ImageShape &shape);

// Writes an uncompressed TIFF in large strips. 10- and 12-bit images are
// stored as 16-bit samples with MaxSampleValue telling their depth, so every
// reader sees plain 16-bit data and this module gets the depth back. The
// file is written beside the old one and renamed over it, so a failed write
// leaves the old file. Returns 0, or -1 for a bad shape, a short buffer or a
// file that cannot be written.
int WriteTiff(const std::filesystem::path &path, const void *buffer, std::size_t size,
              const ImageShape &shape);

// The shape of a TIFF file this module can read (1 or 3 planes, 8 or 16 bits,
// strips inside the file). Returns 0, or -1 for a file that is missing,
// empty, truncated, not TIFF or of a kind it cannot read.
int ReadTiffShape(const std::filesystem::path &path, ImageShape &shape);

// Reads a TIFF file into a buffer laid out as WriteTiff takes it. Returns 0,
// or -1 for the files ReadTiffShape refuses, for a buffer smaller than the
// image, and for strips that cannot be decoded.
int ReadTiff(const std::filesystem::path &path, void *buffer, std::size_t capacity,
             ImageShape &shape);

}  // namespace quar
