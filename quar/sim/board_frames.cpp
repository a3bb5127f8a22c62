// Which frames a board has and the format of each.
#include "sim/board_frames.h"

#include "quar/quar_modules.h"
#include "sim/library.h"

namespace quar {

namespace {

constexpr VideoFormat kNoModuleFormat{640, 480, 8, 0};

VideoFormat ModuleFormat(const Library &library, QRX_HANDLE handle) {
    const Element *module = AcquisitionModuleOf(library, handle);
    return module ? VideoFormatOf(*module) : kNoModuleFormat;
}

std::optional<VideoFormat> DqpFrame(const Library &library, QRX_HANDLE board, int frame) {
    if (library.MemoriesOf(board, frame).empty()) return std::nullopt;
    VideoFormat format = ModuleFormat(library, board);
    switch (frame) {
        case DQP_FRAME_A0_A1:
            if (format.depth <= 8 || format.depth > 16) format.depth = 16;
            return format;
        case DQP_FRAME_TRUE_COLOR:
            return VideoFormat{format.width, format.height, 24, 0};
        default:
            return VideoFormat{format.width, format.height, 8, 0};
    }
}

// The 16-bit pair keeps its low byte in A0 and its high byte in A1; true
// colour keeps red in A0, green in A1 and blue in B1 (the store's colour
// pixels are blue, green, red, unused from the lowest byte up).
void SetDqpPlanes(QRX_HANDLE board, int frame) {
    if (frame == DQP_FRAME_A0_A1)
        VideoStore::Instance().SetPlanes(board, frame, {DQP_FRAME_A0, DQP_FRAME_A1});
    else if (frame == DQP_FRAME_TRUE_COLOR)
        VideoStore::Instance().SetPlanes(board, frame, {DQP_FRAME_B1, DQP_FRAME_A1, DQP_FRAME_A0});
}

}  // namespace

std::optional<FrameName> NameFrame(const Library &library, QRX_HANDLE handle, int frame) {
    const Element *element = library.Find(handle);
    if (element == nullptr) return std::nullopt;
    if (element->category == QRX_CATEGORY_CAMERA_CHANNEL)
        return FrameName{element->parent, element->slot};
    if (element->category != QRX_CATEGORY_BOARD) return std::nullopt;
    return FrameName{handle, frame};
}

std::optional<VideoFormat> FrameFormatOf(const Library &library, const FrameName &name) {
    const Element *board = library.Find(name.board);
    if (board == nullptr || board->category != QRX_CATEGORY_BOARD) return std::nullopt;
    if (board->libraryName == "DQP") return DqpFrame(library, name.board, name.frame);
    if (board->libraryName == "SXA") {
        const Element *channel = library.Find(library.Channel(name.board, name.frame));
        if (channel == nullptr) return std::nullopt;
        return VideoFormatOf(*channel);
    }
    const Element *module = AcquisitionModuleOf(library, name.board);
    if (module == nullptr || name.frame != 0) return std::nullopt;
    return VideoFormatOf(*module);
}

Frame *CurrentFrame(const Library &library, const FrameName &name) {
    const std::optional<VideoFormat> format = FrameFormatOf(library, name);
    if (!format) return nullptr;
    if (library.DqpMemoryModel(name.board) >= 0) SetDqpPlanes(name.board, name.frame);
    return &VideoStore::Instance().Configure(name.board, name.frame, *format,
                                             library.FrameRate(name.board));
}

int CameraFrame(const Library &library, QRX_HANDLE board) {
    const Element *element = library.Find(board);
    if (element == nullptr || element->category != QRX_CATEGORY_BOARD ||
        element->libraryName == "DQP" || AcquisitionModuleOf(library, board) == nullptr)
        return -1;
    return 0;
}

}  // namespace quar
