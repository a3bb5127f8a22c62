// The size, depth and pixel format of the video an acquisition module
// delivers, from its registers.
#include "sim/video_geometry.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "sim/library.h"
#include "sim/records.h"

namespace quar {

namespace {

// The largest frame side the simulated frame memory holds.
constexpr int kMaxSide = 8192;

// A key's value as the hardware holds it: its register when it has one (the
// program rewrites those as settings change), else the configured field of
// the module's active camera port.
int KeyValue(const Library &library, const Element &module, int handle) {
    const qvi::keys::KeyRow *row = qvi::keys::FindHandle(*module.table, handle);
    if (row == nullptr) return 0;
    if (row->reg >= 0) {
        auto found = module.registers.find(row->reg);
        return found == module.registers.end() ? 0
                                               : static_cast<std::int16_t>(found->second & 0xFFFFu);
    }
    const Arena &arena = library.Records();
    auto raw = ReadRawField(arena, module, *row, ActivePort(arena, module));
    return raw ? static_cast<std::int16_t>(*raw & 0xFFFFu) : 0;
}

int Register(const Element &module, int reg) {
    auto found = module.registers.find(reg);
    return found == module.registers.end() ? 0 : static_cast<std::int16_t>(found->second & 0xFFFFu);
}

// Active pixels from a start and an end column, in whole groups of four.
int ActiveWidth(int end, int start) {
    return static_cast<std::int16_t>(end - start + 5) & ~3;
}

VideoFormat Tx10(const Library &library, const Element &m) {
    const int lines = KeyValue(library, m, 19) - KeyValue(library, m, 18);
    return {ActiveWidth(KeyValue(library, m, 17), KeyValue(library, m, 16)),
            KeyValue(library, m, 32) == 1 ? 2 * lines : lines, 8, 0};
}

// The TX-20 counts active pixels in fours less one and lines less one; a
// non-interlaced camera's frame is two of its fields.
VideoFormat Tx20(const Library &library, const Element &m) {
    const int lines = KeyValue(library, m, 26) + 1;
    return {KeyValue(library, m, 24) * 4 + 4, KeyValue(library, m, 9) == 1 ? lines : 2 * lines, 8,
            0};
}

// The TX-30's frame size comes with its FPGA design (tx30_load); before one
// is loaded, or from a design that does not say, the standard 512 x 480.
// "Pseudo_Color_8" (3) is 8-bit, every other colour mode 24.
VideoFormat Tx30(const Library &library, const Element &m) {
    const bool sized = m.fpgaSize.first > 0 && m.fpgaSize.second > 0;
    return {sized ? m.fpgaSize.first : 512, sized ? m.fpgaSize.second : 480,
            KeyValue(library, m, 28) == 3 ? 8 : 24, 0};
}

// The TX-40 interleaves two pixels per clock when asked; its pixel size code
// gives 8, 10, 12 or 16 bits, and packed mode (register 3 = 2) turns 16 into
// 24. Interleaved 16-bit pixels arrive as byte pairs.
VideoFormat Tx40(const Library &library, const Element &m) {
    const int active = KeyValue(library, m, 37);
    const bool interleaved = KeyValue(library, m, 32) == 1;
    const int size = KeyValue(library, m, 31);
    int depth = 0;
    switch (size) {
        case 0:
            depth = 8;
            break;
        case 1:
            depth = 10;
            break;
        case 2:
            depth = 12;
            break;
        case 3:
            depth = Register(m, 3) == 2 ? 24 : interleaved ? 8 : 16;
            break;
        default:
            depth = 0;
    }
    return {interleaved ? active * 2 + 8 : active + 4, KeyValue(library, m, 39), depth, 0};
}

// The TX-50 holds its active pixels and lines less one.
VideoFormat Tx50(const Library &library, const Element &m) {
    const int lines = KeyValue(library, m, 25) + 1;
    return {KeyValue(library, m, 23) + 1, KeyValue(library, m, 20) != 0 ? lines : 2 * lines, 8, 0};
}

// The TX-60 delivers 12 bits only in camera mode 4 with camera id 2.
VideoFormat Tx60(const Library &library, const Element &m) {
    const bool twelve = KeyValue(library, m, 7) == 4 && KeyValue(library, m, 8) == 2;
    return {KeyValue(library, m, 39), KeyValue(library, m, 40), twelve ? 12 : 8, 0};
}

// The TX-70 reports its input board in register 2: the decoder board (7)
// delivers YCrCb, 16 bits, or its luminance alone (frame type 1); the RGB
// board (8) 24-bit colour.
VideoFormat Tx70(const Library &library, const Element &m) {
    const int board = Register(m, 2);
    if (board == kYcrcbPixelFormat)
        return {KeyValue(library, m, 153), KeyValue(library, m, 154),
                KeyValue(library, m, 176) == 1 ? 8 : 16, board};
    const int lines = KeyValue(library, m, 42) - KeyValue(library, m, 40);
    return {ActiveWidth(KeyValue(library, m, 41), KeyValue(library, m, 39)),
            KeyValue(library, m, 76) == 1 ? 2 * lines : lines, 24, board};
}

// An SXA camera channel acquires its active pixels and lines, 8 bits.
VideoFormat SxaChannel(const Library &library, const Element &m) {
    return {KeyValue(library, m, 20), KeyValue(library, m, 22), 8, 0};
}

struct ModelGeometry {
    std::string_view model;
    VideoFormat (*geometry)(const Library &, const Element &);
};

constexpr ModelGeometry kGeometries[] = {
    {"TX-10", Tx10}, {"TX-20", Tx20}, {"TX-31", Tx30}, {"TX-40", Tx40},
    {"TX-50", Tx50}, {"TX-60", Tx60}, {"TX-70", Tx70}, {"SXA-VMOD", SxaChannel},
};

const ModelGeometry *GeometryOf(const Element &module) {
    if (module.table == nullptr) return nullptr;
    for (const ModelGeometry &entry : kGeometries)
        if (entry.model == module.table->model) return &entry;
    return nullptr;
}

}  // namespace

const Element *AcquisitionModuleOf(const Library &library, QRX_HANDLE handle) {
    const Element *element = library.Find(handle);
    if (element == nullptr) return nullptr;
    if (element->category == QRX_CATEGORY_BOARD) {
        QRX_HANDLE module = library.SlotModule(handle, 0);
        if (module == 0) module = library.Channel(handle, 0);
        element = library.Find(module);
    }
    return element && GeometryOf(*element) ? element : nullptr;
}

VideoFormat VideoFormatOf(const Element &module) {
    const ModelGeometry *entry = GeometryOf(module);
    if (entry == nullptr) return {};
    VideoFormat format = entry->geometry(Library::Instance(), module);
    format.width = std::clamp(format.width, 0, kMaxSide);
    format.height = std::clamp(format.height, 0, kMaxSide);
    return format;
}

}  // namespace quar
