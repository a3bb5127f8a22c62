// Feeds any bytes, as a file, to the image-file reader. Whatever it accepts
// must have a shape the library can hold, fill exactly a buffer of that size,
// refuse a buffer one byte short, and come back unchanged through a write
// and a second read. Whatever it refuses must leave the buffer untouched.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/tiff_file.h"

namespace {

namespace fs = std::filesystem;

// Larger images are valid but would make every run slow.
constexpr std::size_t kMaxFuzzImageBytes = std::size_t{16} << 20;

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

const fs::path &Scratch() {
    static const fs::path dir = [] {
        std::string name = (fs::temp_directory_path() / "tiff-fuzz-XXXXXX").string();
        Check(::mkdtemp(name.data()) != nullptr);
        return fs::path(name);
    }();
    return dir;
}

bool SameShape(const quar::ImageShape &a, const quar::ImageShape &b) {
    return a.width == b.width && a.height == b.height && a.planes == b.planes && a.bits == b.bits;
}

void CheckAccepted(const fs::path &input, const quar::ImageShape &shape) {
    const std::size_t bytes = quar::ImageBytes(shape);
    Check(bytes > 0);
    if (bytes > kMaxFuzzImageBytes) return;
    std::vector<std::uint8_t> pixels(bytes + 1, 0xC3);
    quar::ImageShape read;
    Check(quar::ReadTiff(input, pixels.data(), bytes - 1, read) == -1);
    if (quar::ReadTiff(input, pixels.data(), bytes, read) != 0) return;  // a strip that fails
    Check(SameShape(read, shape) && pixels[bytes] == 0xC3);

    const fs::path copy = Scratch() / "copy.tif";
    Check(quar::WriteTiff(copy, pixels.data(), bytes, shape) == 0);
    std::vector<std::uint8_t> again(bytes);
    Check(quar::ReadTiff(copy, again.data(), bytes, read) == 0 && SameShape(read, shape));
    Check(std::equal(again.begin(), again.end(), pixels.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const fs::path input = Scratch() / "input.tif";
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    quar::ImageShape shape;
    if (quar::ReadTiffShape(input, shape) == 0) {
        CheckAccepted(input, shape);
    } else {
        std::vector<std::uint8_t> untouched(64, 0x5A);
        Check(quar::ReadTiff(input, untouched.data(), untouched.size(), shape) == -1);
        Check(untouched == std::vector<std::uint8_t>(64, 0x5A));
    }
    return 0;
}
