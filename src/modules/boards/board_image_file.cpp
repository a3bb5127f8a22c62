// Writing a board's frame to a TIFF file, shared by the acquiring boards.
#include "modules/boards/board_image_file.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include <algorithm>

#include "library/library_binding.h"
#include "platform/ui.h"
#include "system/image_document.h"

namespace qvi {

namespace {

constexpr int kYcrcbFormat = 7;
constexpr int kRgbPlanes = 3;
constexpr int kGreyPlane = 1;
constexpr int kByteSample = 8;
constexpr int kSixteenBits = 16;
constexpr int kTrueColour = 24;

std::size_t Pixels(const AcquiredImage &image) {
    return static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

int Written(int result, const std::string &path) {
    if (result == 0) return 0;
    ReportError(MessageText("Image file writing failed: ", path));
    return -2;
}

bool ReadFrame(const LibraryBinding &binding, QRX_HANDLE board, int frame,
               const AcquiredImage &image, std::vector<std::uint8_t> &buffer) {
    auto read = binding.Entry<&::qrx_read_area>();
    return read && read(board, frame, 0, 0, image.width, image.height, buffer.data()) == 0;
}

// The converter gives 4 bytes a pixel (R, G, B, 0); the writer takes the
// three samples of a pixel side by side.
std::vector<std::uint8_t> PackedRgb(const std::vector<std::uint8_t> &rgb0) {
    std::vector<std::uint8_t> packed;
    packed.reserve(rgb0.size() / 4 * 3);
    for (std::size_t i = 0; i + 3 < rgb0.size(); i += 4)
        packed.insert(packed.end(), {rgb0[i], rgb0[i + 1], rgb0[i + 2]});
    return packed;
}

int WriteYcrcb(const LibraryBinding &binding, QRX_HANDLE board, int frame,
               const AcquiredImage &image, const std::string &path) {
    std::vector<std::uint8_t> ycrcb(Pixels(image) * 2);
    auto write = binding.Entry<&::qrx_write_image>();
    if (write == nullptr || !ReadFrame(binding, board, frame, image, ycrcb))
        return Written(-1, path);
    if (image.depth != kSixteenBits)
        return Written(write(path.c_str(), ycrcb.data(), image.width, image.height, kGreyPlane,
                             kByteSample),
                       path);
    std::vector<std::uint8_t> rgb0(Pixels(image) * 4);
    auto convert = binding.Entry<&::qrx_ycrcb_to_rgb>();
    if (convert == nullptr || convert(ycrcb.data(), rgb0.data(), image.width, image.height) != 0)
        return Written(-1, path);
    const std::vector<std::uint8_t> rgb = PackedRgb(rgb0);
    return Written(
        write(path.c_str(), rgb.data(), image.width, image.height, kRgbPlanes, kByteSample), path);
}

int WriteSixteenBitGrey(const LibraryBinding &binding, QRX_HANDLE board, int frame,
                        const AcquiredImage &image, const std::string &path) {
    std::vector<std::uint8_t> words(Pixels(image) * sizeof(std::uint16_t));
    auto write = binding.Entry<&::qrx_write_image_file>();
    if (write == nullptr || !ReadFrame(binding, board, frame, image, words))
        return Written(-1, path);
    return Written(write(path.c_str(), words.data(), image.width, image.height, kSixteenBits),
                   path);
}

}  // namespace

bool SavableImage(const AcquiredImage &image) {
    return image.pixelFormat == kYcrcbFormat || image.depth == 8 || image.depth == 12 ||
           image.depth == kSixteenBits || image.depth == kTrueColour;
}

int RefuseDepth() {
    ReportError("Current acquire bit depth precludes saving to file.");
    return -1;
}

int WriteFrameFile(const LibraryBinding &binding, QRX_HANDLE board, int frame,
                   const AcquiredImage &image, const std::string &path) {
    if (!SavableImage(image)) return RefuseDepth();
    if (image.pixelFormat == kYcrcbFormat) return WriteYcrcb(binding, board, frame, image, path);
    if (image.depth == kSixteenBits) return WriteSixteenBitGrey(binding, board, frame, image, path);
    auto write = binding.Entry<&::qrx_write_frame_image>();
    if (write == nullptr) return Written(-1, path);
    const bool colour = image.depth == kTrueColour;
    return Written(write(board, frame, path.c_str(), colour ? kRgbPlanes : kGreyPlane,
                         colour ? kByteSample : image.depth),
                   path);
}

bool ReadFramePixels(const LibraryBinding &binding, QRX_HANDLE board, int frame,
                     const AcquiredImage &image, FramePixels &pixels) {
    using Layout = FramePixels::Layout;
    pixels.layout = image.pixelFormat == kYcrcbFormat ? Layout::Ycrcb16
                    : image.depth == kTrueColour      ? Layout::Rgb24
                    : image.depth > kByteSample       ? Layout::Grey16
                                                      : Layout::Grey8;
    pixels.depth = image.depth;
    pixels.width = std::max(image.width, 0);
    pixels.height = std::max(image.height, 0);
    pixels.bytes.resize(Pixels({0, 0, pixels.width, pixels.height}) *
                        static_cast<std::size_t>(pixels.BytesPerPixel()));
    if (pixels.bytes.empty()) return true;
    return ReadFrame(binding, board, frame, {0, 0, pixels.width, pixels.height}, pixels.bytes);
}

std::optional<AcquiredImage> ReadFrameFile(const LibraryBinding &binding, QRX_HANDLE board,
                                           int frame, const std::string &path,
                                           const AcquiredImage &frameImage) {
    auto props = binding.Entry<&::qrx_imagefile_props>();
    auto read = binding.Entry<&::qrx_read_image>();
    std::int32_t width = 0, height = 0, planes = 0, bits = 0;
    if (!props || !read || props(path.c_str(), &width, &height, &planes, &bits) != 0 ||
        read(board, frame, path.c_str()) != 0)
        return std::nullopt;
    AcquiredImage image = frameImage;
    image.depth = planes == kRgbPlanes ? kTrueColour : bits;
    image.width = std::min<int>(width, frameImage.width);
    image.height = std::min<int>(height, frameImage.height);
    return image;
}

void HoldFile(ImageDocument &document, const AcquiredImage &image) {
    document.width = image.width;
    document.height = image.height;
    document.bitsPerPixel = image.depth;
    document.state = ImageDocument::kFromFile;
}

std::string FileCaption(const ImageDocument &document, const std::string &path,
                        const AcquiredImage &image) {
    return SizeDepthCaption(document.title + ": " + path, image.width, image.height, image.depth);
}

}  // namespace qvi
