// The TX-40's own module-library entry beyond its register dump and camera
// copy: the linear input look-up table.
#include <cstdint>
#include <iterator>
#include <numeric>
#include <string>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "sim/console.h"
#include "sim/library.h"

using quar::Library;

namespace {

// The pixel-size key; its register holds the size code of the camera's pixels.
constexpr int kPixelSizeHandle = 31;
// Bits per pixel of each size code.
constexpr int kPixelBits[] = {8, 10, 12, 16};

}  // namespace

extern "C" {

// Loads the linear table for the pixel size the module's register holds: one
// entry per pixel value the camera can deliver, each giving the value itself.
QUAR_EXPORT int tx40_lin_lut(QRX_HANDLE handle) {
    quar::Element *element = Library::Instance().Find(handle);
    if (element == nullptr || element->table->model != "TX-40") return -1;
    const qvi::keys::KeyRow *pixelSize = qvi::keys::FindHandle(*element->table, kPixelSizeHandle);
    if (pixelSize == nullptr) return -1;
    const std::uint32_t code = element->registers[pixelSize->reg] & 0xFFFFu;
    const std::string module = "TX-40:" + std::to_string(element->instance);
    if (code >= std::size(kPixelBits)) {
        quar::ConsolePrint(module + " input LUT: no pixel size " + std::to_string(code) + "\n");
        return -1;
    }
    const int bits = kPixelBits[code];
    element->inputLut.resize(std::size_t{1} << bits);
    std::iota(element->inputLut.begin(), element->inputLut.end(), std::uint16_t{0});
    quar::ConsolePrint(module + " input LUT: linear, " + std::to_string(element->inputLut.size()) +
                       " entries (" + std::to_string(bits) + "-bit pixels)\n");
    return 0;
}

}  // extern "C"
