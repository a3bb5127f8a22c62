// TIFF files through the stand-in's image-file entries, as the program calls
// them: written from a buffer, examined, read back; bad files and bad
// arguments refused without harm; a failed write leaves the old file.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "quar/quar_image_file.h"
#include "simulator_fixture.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;

struct Shape {
    int32_t width, height, planes, bits;
};

std::size_t BufferBytes(const Shape &shape) {
    return static_cast<std::size_t>(shape.width) * shape.height * shape.planes *
           (shape.bits > 8 ? 2 : 1);
}

// A pattern that differs per pixel, row and plane and uses every bit of the depth.
std::vector<std::uint8_t> Pattern(const Shape &shape) {
    std::vector<std::uint8_t> bytes(BufferBytes(shape));
    const std::uint32_t mask = (1u << shape.bits) - 1;
    std::size_t at = 0;
    for (int y = 0; y < shape.height; ++y)
        for (int x = 0; x < shape.width; ++x)
            for (int plane = 0; plane < shape.planes; ++plane) {
                const std::uint32_t value = (x * 7u + y * 13u + plane * 101u + x * y) & mask;
                if (shape.bits == 8) {
                    bytes[at++] = static_cast<std::uint8_t>(value);
                } else {
                    const auto word = static_cast<std::uint16_t>(value);
                    std::memcpy(&bytes[at], &word, 2);
                    at += 2;
                }
            }
    return bytes;
}

// Our own file with the value of one of its directory's one-value entries
// (SHORT type 3, LONG type 4) replaced. The directory is written last.
std::string WithEntry(std::string file, std::uint16_t tag, std::uint16_t type,
                      std::uint32_t value) {
    char entry[8];
    const std::uint32_t one = 1;
    std::memcpy(entry, &tag, 2);
    std::memcpy(entry + 2, &type, 2);
    std::memcpy(entry + 4, &one, 4);
    const std::size_t at = file.rfind(std::string(entry, 8));
    EXPECT_NE(at, std::string::npos) << "tag " << tag;
    if (at != std::string::npos) std::memcpy(&file[at + 8], &value, 4);
    return file;
}

class ImageFileTest : public SimulatorTest {
protected:
    int WriteImage(const fs::path &path, const Shape &s, const std::vector<std::uint8_t> &pixels) {
        return QUAR_CALL(library_, qrx_write_image, path.c_str(), pixels.data(), s.width, s.height,
                         s.planes, s.bits);
    }

    // Both readers refuse the file, and reading touches nothing of the buffer.
    void ExpectRefused(const fs::path &path) {
        int32_t width = -7;
        EXPECT_EQ(QUAR_CALL(library_, qrx_imagefile_props, path.c_str(), &width, nullptr, nullptr,
                            nullptr),
                  -1)
            << path;
        EXPECT_EQ(width, -7);
        std::vector<std::uint8_t> buffer(1 << 16, 0xAB);
        EXPECT_EQ(
            QUAR_CALL(library_, qrx_read_image_file, path.c_str(), buffer.data(),
                      static_cast<uint32_t>(buffer.size()), nullptr, nullptr, nullptr, nullptr),
            -1)
            << path;
        EXPECT_EQ(buffer, std::vector<std::uint8_t>(1 << 16, 0xAB));
    }
};

class ImageFileRoundTrip : public ImageFileTest, public ::testing::WithParamInterface<Shape> {};

// The second shape's rows make more than one strip.
INSTANTIATE_TEST_SUITE_P(Shapes, ImageFileRoundTrip,
                         ::testing::Values(Shape{33, 17, 1, 8}, Shape{4096, 1100, 1, 16},
                                           Shape{31, 9, 3, 8}, Shape{20, 11, 3, 16},
                                           Shape{17, 5, 1, 10}, Shape{15, 6, 3, 12}));

// Grey images go through the one-plane entry. A buffer a byte short is
// refused and left alone, but the shape is reported, as props report it.
TEST_P(ImageFileRoundTrip, ReadsBackEveryPixelAndTheShape) {
    const Shape shape = GetParam();
    const fs::path path = dir_ / "image.tif";
    const std::vector<std::uint8_t> pixels = Pattern(shape);
    ASSERT_EQ(shape.planes == 1 ? QUAR_CALL(library_, qrx_write_image_file, path.c_str(),
                                            pixels.data(), shape.width, shape.height, shape.bits)
                                : WriteImage(path, shape, pixels),
              0);
    auto read = [&](std::vector<std::uint8_t> &buffer, Shape &got) {
        return QUAR_CALL(library_, qrx_read_image_file, path.c_str(), buffer.data(),
                         static_cast<uint32_t>(buffer.size()), &got.width, &got.height, &got.planes,
                         &got.bits);
    };
    auto fields = [](const Shape &s) {
        return std::vector<int>{s.width, s.height, s.planes, s.bits};
    };

    std::vector<std::uint8_t> small(pixels.size() - 1, 0x11);
    Shape got{};
    EXPECT_EQ(read(small, got), -1);
    EXPECT_EQ(fields(got), fields(shape));
    EXPECT_EQ(small, std::vector<std::uint8_t>(pixels.size() - 1, 0x11));

    std::vector<std::uint8_t> buffer(pixels.size() + 3, 0xEE);
    got = {};
    ASSERT_EQ(read(buffer, got), 0);
    EXPECT_EQ(fields(got), fields(shape));
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), buffer.begin()));
    EXPECT_EQ(buffer.back(), 0xEE);  // nothing written past the image
    Shape props{};
    EXPECT_EQ(QUAR_CALL(library_, qrx_imagefile_props, path.c_str(), &props.width, &props.height,
                        &props.planes, &props.bits),
              0);
    EXPECT_EQ(fields(props), fields(shape));
}

TEST_F(ImageFileTest, BadFilesAreRefused) {
    const Shape shape{40, 20, 1, 8};
    ASSERT_EQ(WriteImage(dir_ / "real.tif", shape, Pattern(shape)), 0);
    std::ifstream in(dir_ / "real.tif", std::ios::binary);
    const std::string real{std::istreambuf_iterator<char>(in), {}};
    // The entries patched below are found, and the file with one of them
    // rewritten to its own value still reads: what the others change refuses them.
    int32_t width = 0;
    const fs::path same = Write("same.tif", WithEntry(real, 258, 3, 8));
    EXPECT_EQ(
        QUAR_CALL(library_, qrx_imagefile_props, same.c_str(), &width, nullptr, nullptr, nullptr),
        0);
    EXPECT_EQ(width, 40);

    ExpectRefused(Write("depth4.tif", WithEntry(real, 258, 3, 4)));
    ExpectRefused(Write("depth32.tif", WithEntry(real, 258, 3, 32)));
    ExpectRefused(Write("planes2.tif", WithEntry(real, 277, 3, 2)));
    // The strip lies past the end of the file, as in a file cut short.
    ExpectRefused(Write("strip-past-end.tif",
                        WithEntry(real, 273, 4, static_cast<std::uint32_t>(real.size() - 100))));
    ExpectRefused(Write("cut.tif", real.substr(0, real.size() / 2)));  // loses its directory
    ExpectRefused(Write("empty.tif", ""));
    ExpectRefused(dir_ / "missing.tif");
    ExpectRefused(dir_);  // a folder
    ExpectRefused("/dev/zero");
    EXPECT_EQ(QUAR_CALL(library_, qrx_imagefile_props, nullptr, nullptr, nullptr, nullptr, nullptr),
              -1);
}

TEST_F(ImageFileTest, BadWriteArgumentsWriteNothing) {
    const std::vector<std::uint8_t> pixels(64, 1);
    const fs::path path = dir_ / "bad.tif";
    const Shape bad[] = {{0, 4, 1, 8}, {4, -4, 1, 8},         {4, 4, 2, 8},
                         {4, 4, 1, 9}, {4, 4, 3, 24},         {1 << 30, 1 << 30, 3, 16},
                         {4, 4, 0, 8}, {-65536, -65536, 1, 8}};
    for (const Shape &s : bad)
        EXPECT_EQ(WriteImage(path, s, pixels), -1) << s.width << " " << s.bits;
    EXPECT_EQ(QUAR_CALL(library_, qrx_write_image, path.c_str(), nullptr, 4, 4, 1, 8), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_write_image, nullptr, pixels.data(), 4, 4, 1, 8), -1);
    EXPECT_EQ(WriteImage(dir_ / "no-folder" / "x.tif", {4, 4, 1, 8}, pixels), -1);
    EXPECT_EQ(WriteImage(dir_, {4, 4, 1, 8}, pixels), -1);  // a folder is never replaced
    EXPECT_TRUE(fs::is_directory(dir_));
    EXPECT_FALSE(fs::exists(path));
}

// The write fails part way (the file size limit stands in for a full disk):
// the old file stays whole and no temporary is left beside it.
TEST_F(ImageFileTest, AFailedWriteKeepsTheOldFile) {
    const fs::path path = dir_ / "kept.tif";
    const Shape small{8, 8, 1, 8};
    ASSERT_EQ(WriteImage(path, small, Pattern(small)), 0);
    ::chmod(path.c_str(), 0640);
    const auto oldSize = fs::file_size(path);

    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Shape large{200, 200, 3, 8};
    const int result = WriteImage(path, large, Pattern(large));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(fs::file_size(path), oldSize);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    // A write that succeeds replaces it and keeps its permissions.
    ASSERT_EQ(WriteImage(path, large, Pattern(large)), 0);
    EXPECT_GT(fs::file_size(path), oldSize);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace qvi
