// Image files: uncompressed TIFF written in large strips, read back through
// libtiff. libtiff's own messages are switched off: the library reports a bad
// file by its result, and nothing may appear on the program's console behind
// its back.
#include "sim/tiff_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>

namespace quar {

namespace {

namespace fs = std::filesystem;

// Larger images are refused: no frame memory holds them, and a file claiming
// one must not make the library allocate or read gigabytes.
constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;
// Strips of about this size: a 1300 x 1030 RGB image fits in one, so a save
// costs one write; a huge image still goes out in pieces.
constexpr std::size_t kStripBytes = std::size_t{8} << 20;

void SilenceLibtiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

bool KnownDepth(int bits) {
    return bits == 8 || bits == 10 || bits == 12 || bits == 16;
}

std::size_t RowBytes(const ImageShape &shape) {
    return static_cast<std::size_t>(shape.width) * static_cast<std::size_t>(shape.planes) *
           static_cast<std::size_t>(BytesPerSample(shape.bits));
}

// Closes a libtiff handle on every return path.
struct TiffCloser {
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// --- reading -----------------------------------------------------------------

// Only regular files are opened: a FIFO or a device would block or never end.
TiffHandle OpenForReading(const fs::path &path, std::uintmax_t &fileSize) {
    SilenceLibtiff();
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return nullptr;
    fileSize = fs::file_size(path, error);
    if (error || fileSize == 0) return nullptr;
    return TiffHandle(TIFFOpen(path.c_str(), "rm"));
}

// 16-bit samples carry 10 or 12 significant bits when MaxSampleValue says so.
int SignificantBits(TIFF *tiff, std::uint16_t storedBits) {
    if (storedBits != 16) return storedBits;
    std::uint16_t maxValue = 0;
    if (TIFFGetField(tiff, TIFFTAG_MAXSAMPLEVALUE, &maxValue) == 1) {
        if (maxValue == 1023) return 10;
        if (maxValue == 4095) return 12;
    }
    return 16;
}

bool ReadableLayout(TIFF *tiff, std::uint16_t planes, std::uint16_t bits) {
    std::uint16_t format = SAMPLEFORMAT_UINT;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t photometric = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    if (TIFFIsTiled(tiff) || format != SAMPLEFORMAT_UINT) return false;
    if ((planes != 1 && planes != 3) || (bits != 8 && bits != 16)) return false;
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) != 1) return false;
    if (planes == 3) return planar == PLANARCONFIG_CONTIG && photometric == PHOTOMETRIC_RGB;
    return photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
}

// Every strip must lie inside the file: a truncated file is refused before
// any of its pixels are read.
bool StripsInsideFile(TIFF *tiff, std::uint32_t rowsPerStrip, int height, std::uintmax_t fileSize) {
    const std::uint32_t strips = TIFFNumberOfStrips(tiff);
    const std::uint64_t expected =
        (static_cast<std::uint64_t>(height) + rowsPerStrip - 1) / rowsPerStrip;
    if (strips != expected) return false;
    for (std::uint32_t strip = 0; strip < strips; ++strip) {
        int error = 0;
        const std::uint64_t offset = TIFFGetStrileOffsetWithErr(tiff, strip, &error);
        const std::uint64_t bytes = TIFFGetStrileByteCountWithErr(tiff, strip, &error);
        if (error != 0 || bytes == 0 || offset > fileSize || bytes > fileSize - offset)
            return false;
    }
    return true;
}

int ReadShape(TIFF *tiff, std::uintmax_t fileSize, ImageShape &shape, std::uint32_t &rows) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bits = 1;
    if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) != 1 ||
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) != 1)
        return -1;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &planes);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rows);
    if (!ReadableLayout(tiff, planes, bits)) return -1;
    if (width == 0 || height == 0 || width > kMaxImageBytes || height > kMaxImageBytes) return -1;
    const ImageShape found{static_cast<int>(width), static_cast<int>(height), planes,
                           SignificantBits(tiff, bits)};
    if (ImageBytes(found) == 0) return -1;
    rows = std::clamp<std::uint32_t>(rows, 1, height);
    if (!StripsInsideFile(tiff, rows, found.height, fileSize)) return -1;
    shape = found;
    return 0;
}

int ReadStrips(TIFF *tiff, const ImageShape &shape, std::uint32_t rowsPerStrip,
               std::uint8_t *buffer) {
    const std::size_t rowBytes = RowBytes(shape);
    const auto height = static_cast<std::uint32_t>(shape.height);
    for (std::uint32_t strip = 0, row = 0; row < height; ++strip, row += rowsPerStrip) {
        const std::size_t bytes = std::min(rowsPerStrip, height - row) * rowBytes;
        const tmsize_t read = TIFFReadEncodedStrip(tiff, strip, buffer + row * rowBytes,
                                                   static_cast<tmsize_t>(bytes));
        if (read != static_cast<tmsize_t>(bytes)) return -1;
    }
    return 0;
}

// --- writing -----------------------------------------------------------------

// The file to replace: a symbolic link is written through to its target.
// Anything there but a regular file (a folder, a device) is never replaced.
bool ResolveTarget(const fs::path &path, fs::path &target) {
    std::error_code error;
    target = path;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        target = fs::weakly_canonical(path, error);
        if (error) return false;
    }
    const fs::file_status status = fs::status(target, error);
    return !fs::exists(status) || fs::is_regular_file(status);
}

fs::path TemporaryBeside(const fs::path &target) {
    static std::atomic<unsigned> counter{0};
    return target.parent_path() / ("." + target.filename().string() + ".tmp-" +
                                   std::to_string(::getpid()) + "-" + std::to_string(++counter));
}

void SetTags(TIFF *tiff, const ImageShape &shape, std::uint32_t rowsPerStrip) {
    const int stored = BytesPerSample(shape.bits) * 8;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(shape.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(shape.height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(shape.planes));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(stored));
    if (shape.bits != stored)
        TIFFSetField(tiff, TIFFTAG_MAXSAMPLEVALUE,
                     static_cast<std::uint16_t>((1 << shape.bits) - 1));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                 shape.planes == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
}

// libtiff takes strip data through a non-const pointer; uncompressed strips
// in the machine's own byte order are written as they are, never changed.
int WriteStrips(TIFF *tiff, const ImageShape &shape, const std::uint8_t *buffer) {
    const std::size_t rowBytes = RowBytes(shape);
    const auto height = static_cast<std::uint32_t>(shape.height);
    const auto rowsPerStrip =
        static_cast<std::uint32_t>(std::clamp<std::size_t>(kStripBytes / rowBytes, 1, height));
    SetTags(tiff, shape, rowsPerStrip);
    for (std::uint32_t strip = 0, row = 0; row < height; ++strip, row += rowsPerStrip) {
        const std::size_t bytes = std::min(rowsPerStrip, height - row) * rowBytes;
        auto *data = const_cast<std::uint8_t *>(buffer + row * rowBytes);
        if (TIFFWriteEncodedStrip(tiff, strip, data, static_cast<tmsize_t>(bytes)) < 0) return -1;
    }
    return 0;
}

// Writes the whole file under the temporary name. TIFFFlush writes the
// directory and tells a failed write (a full disk), which TIFFClose would not.
int WriteTemporary(const fs::path &temporary, const ImageShape &shape, const std::uint8_t *buffer) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    TIFF *tiff = TIFFFdOpen(fd, temporary.c_str(), "w");
    if (tiff == nullptr) {
        ::close(fd);
        return -1;
    }
    const int written = WriteStrips(tiff, shape, buffer);
    const int flushed = TIFFFlush(tiff);
    TIFFClose(tiff);
    return written == 0 && flushed == 1 ? 0 : -1;
}

// The new file keeps the permissions of the one it replaces.
void KeepPermissions(const fs::path &target, const fs::path &temporary) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::chmod(temporary.c_str(), old.st_mode & 07777);
}

}  // namespace

int BytesPerSample(int bits) {
    return bits <= 8 ? 1 : 2;
}

std::size_t ImageBytes(const ImageShape &shape) {
    if (shape.width <= 0 || shape.height <= 0 || !KnownDepth(shape.bits)) return 0;
    if (shape.planes != 1 && shape.planes != 3) return 0;
    const std::size_t rowBytes = RowBytes(shape);
    if (static_cast<std::size_t>(shape.height) > kMaxImageBytes / rowBytes) return 0;
    return rowBytes * static_cast<std::size_t>(shape.height);
}

// No fsync: a save must cost about what a plain write of the bytes costs; the
// rename alone is what keeps the old file whole when a write fails.
int WriteTiff(const fs::path &path, const void *buffer, std::size_t size, const ImageShape &shape) {
    SilenceLibtiff();
    const std::size_t bytes = ImageBytes(shape);
    fs::path target;
    if (buffer == nullptr || bytes == 0 || size < bytes || path.empty()) return -1;
    if (!ResolveTarget(path, target)) return -1;
    const fs::path temporary = TemporaryBeside(target);
    if (WriteTemporary(temporary, shape, static_cast<const std::uint8_t *>(buffer)) != 0) {
        ::unlink(temporary.c_str());
        return -1;
    }
    KeepPermissions(target, temporary);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return -1;
    }
    return 0;
}

int ReadTiffShape(const fs::path &path, ImageShape &shape) {
    std::uintmax_t fileSize = 0;
    TiffHandle tiff = OpenForReading(path, fileSize);
    std::uint32_t rows = 0;
    return tiff ? ReadShape(tiff.get(), fileSize, shape, rows) : -1;
}

int ReadTiff(const fs::path &path, void *buffer, std::size_t capacity, ImageShape &shape) {
    std::uintmax_t fileSize = 0;
    TiffHandle tiff = OpenForReading(path, fileSize);
    ImageShape found;
    std::uint32_t rows = 0;
    if (!tiff || buffer == nullptr || ReadShape(tiff.get(), fileSize, found, rows) != 0) return -1;
    if (capacity < ImageBytes(found)) return -1;
    if (ReadStrips(tiff.get(), found, rows, static_cast<std::uint8_t *>(buffer)) != 0) return -1;
    shape = found;
    return 0;
}

}  // namespace quar
