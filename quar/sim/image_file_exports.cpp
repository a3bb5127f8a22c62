// The core library's image-file entries (quar_image_file.h): TIFF through the
// simulator's file module, into and out of the caller's buffer.
#include "quar/quar_image_file.h"

#include <cstddef>

#include "sim/tiff_file.h"

namespace {

void Report(const quar::ImageShape &shape, int32_t *width, int32_t *height, int32_t *planes,
            int32_t *bits) {
    if (width) *width = shape.width;
    if (height) *height = shape.height;
    if (planes) *planes = shape.planes;
    if (bits) *bits = shape.bits;
}

}  // namespace

extern "C" {

int qrx_imagefile_props(const char *path, int32_t *width, int32_t *height, int32_t *planes,
                        int32_t *bits) {
    quar::ImageShape shape;
    if (path == nullptr || quar::ReadTiffShape(path, shape) != 0) return -1;
    Report(shape, width, height, planes, bits);
    return 0;
}

int qrx_write_image(const char *path, const void *buffer, int32_t width, int32_t height,
                    int32_t planes, int32_t bits) {
    const quar::ImageShape shape{width, height, planes, bits};
    const std::size_t bytes = quar::ImageBytes(shape);
    if (path == nullptr || bytes == 0) return -1;
    return quar::WriteTiff(path, buffer, bytes, shape);
}

int qrx_write_image_file(const char *path, const void *buffer, int32_t width, int32_t height,
                         int32_t bits) {
    return qrx_write_image(path, buffer, width, height, 1, bits);
}

int qrx_read_image_file(const char *path, void *buffer, uint32_t capacity, int32_t *width,
                        int32_t *height, int32_t *planes, int32_t *bits) {
    quar::ImageShape shape;
    if (path == nullptr || quar::ReadTiffShape(path, shape) != 0) return -1;
    Report(shape, width, height, planes, bits);
    if (buffer == nullptr || capacity < quar::ImageBytes(shape)) return -1;
    return quar::ReadTiff(path, buffer, capacity, shape);
}

}  // extern "C"
