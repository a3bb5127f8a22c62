// The DQ-500's own entries: register dumps by part, hardware revision and
// memory model, its DAC and display-timing settings, and its frame memories
// and display output (arming, clearing, overlay text, display paths, which
// frames are shown and where).
#include <mutex>
#include <vector>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "sim/board_frames.h"
#include "sim/console.h"
#include "sim/library.h"
#include "sim/trigger_setup.h"
#include "sim/video_store.h"

using quar::Library;

namespace {

constexpr int kLastRegisterPart = 3;

// The DQ-500 board of a handle; null for anything else.
quar::Element *Dqp(QRX_HANDLE handle) {
    if (Library::Instance().DqpMemoryModel(handle) < 0) return nullptr;
    return Library::Instance().Find(handle);
}

// A board's frame number that stands for fitted memory.
bool Fitted(QRX_HANDLE board, int frame) {
    return !Library::Instance().MemoriesOf(board, frame).empty();
}

}  // namespace

extern "C" {

// The registers, then after the last part the frames and the display.
QUAR_EXPORT int dqp_dregs(QRX_HANDLE handle, int part) {
    const int result = Library::Instance().DumpRegisters(handle, part);
    quar::Element *board = Dqp(handle);
    if (board != nullptr) quar::CollectTriggeredSnaps(*board);
    if (result == 0 && board != nullptr && part == kLastRegisterPart)
        quar::ConsolePrint(
            DescribeDisplay(board->frames, Library::Instance().DqpMemoryModel(handle)));
    return result;
}

QUAR_EXPORT int16_t dqp_get_hw_revision(QRX_HANDLE handle) {
    return static_cast<int16_t>(Library::Instance().HardwareRevision(handle));
}

QUAR_EXPORT int dqp_memory_model(QRX_HANDLE handle) {
    return Library::Instance().DqpMemoryModel(handle);
}

// The DAC and display-timing settings take effect at once on the simulated
// board: nothing to do beyond accepting them for a known board.
#define QUAR_DQP_SETTING(name)                     \
    QUAR_EXPORT int name(QRX_HANDLE handle, ...) { \
        return Dqp(handle) ? 0 : -1;               \
    }
QUAR_DQP_SETTING(dqp_change_disp)
QUAR_DQP_SETTING(dqp_dac_pseudo)
QUAR_DQP_SETTING(dqp_dac_sync_on_green)
QUAR_DQP_SETTING(dqp_dac_gamma_rom)
QUAR_DQP_SETTING(dqp_dac_pedestal)

// Arming sets library parameter 168 until the acquisition module's trigger,
// a snap or a stop takes the frame.
QUAR_EXPORT int dqp_acqbits(QRX_HANDLE board, int frame, int operation) {
    quar::Element *element = Dqp(board);
    const std::vector<int> memories = Library::Instance().MemoriesOf(board, frame);
    if (element == nullptr || memories.empty()) return -1;
    quar::CollectTriggeredSnaps(*element);
    switch (operation) {
        case DQP_ACQBITS_STATUS:
            return MemoryStatus(element->frames, memories.front());
        case DQP_ACQBITS_ARM_TRIGGER:
            if (quar::ArmSnapOnTrigger(Library::Instance(), board, frame) != 0) return -1;
            ArmTriggeredSnap(element->frames, memories);
            element->params[Library::kDqpTriggerPendingParam] = 1.0;
            return DQP_STATUS_ARMED;
        default:
            return -1;
    }
}

QUAR_EXPORT int dqp_clr_frame(QRX_HANDLE board, int frame) {
    quar::Element *element = Dqp(board);
    if (element == nullptr || !Fitted(board, frame)) return -1;
    ++element->frames.clears[frame];
    if (frame == DQP_FRAME_OVERLAY) element->frames.overlayText.clear();
    std::lock_guard lock(quar::VideoStore::Instance().Mutex());
    if (quar::Frame *pixels = quar::CurrentFrame(Library::Instance(), {board, frame}))
        quar::VideoStore::Fill(*pixels, 0);
    return 0;
}

QUAR_EXPORT int dqp_text_out(QRX_HANDLE board, int frame, int x, int y, const char *text) {
    quar::Element *element = Dqp(board);
    if (element == nullptr || frame != DQP_FRAME_OVERLAY || text == nullptr) return -1;
    element->frames.overlayText = text;
    element->frames.overlayX = x;
    element->frames.overlayY = y;
    return 0;
}

QUAR_EXPORT int dqp_set_cpspath(QRX_HANDLE board, int path, int frame) {
    quar::Element *element = Dqp(board);
    if (element == nullptr) return -1;
    element->frames.paths[path] = frame;
    return 0;
}

QUAR_EXPORT int dqp_disp_enable(QRX_HANDLE board, int frame, int on) {
    quar::Element *element = Dqp(board);
    if (element == nullptr || !Fitted(board, frame)) return -1;
    element->frames.displayEnabled[frame] = on != 0;
    return 0;
}

QUAR_EXPORT int dqp_display_area(QRX_HANDLE board, int display, int frame, int x, int y, int width,
                                 int height, int mode) {
    quar::Element *element = Dqp(board);
    if (element == nullptr || width < 0 || height < 0) return -1;
    element->frames.shownArea = {display, frame, x, y, width, height, mode};
    return 0;
}

}  // extern "C"
