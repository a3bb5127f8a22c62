// The SXA trigger waiter's port on the imaging library.
#include "acquire/library_frame_port.h"

#include "library/library_binding.h"
#include "modules/boards/sxa_board.h"
#include "system/image_document.h"

namespace qvi {

namespace {

// The channel parameters that release a pending host wait: the acquisition
// mode (1 free run, 2 triggered), the trigger source (2 software) and the
// release switch.
constexpr int kModeParam = 4;
constexpr int kSourceParam = 5;
constexpr int kReleaseParam = 7;
constexpr double kTriggeredMode = 2.0;
constexpr double kFreeRunMode = 1.0;
constexpr double kSoftwareSource = 2.0;
constexpr double kRelease = 1.0;
constexpr int kNextFrame = -1;
constexpr int kLock = 1;

}  // namespace

LibraryHostFramePort::LibraryHostFramePort(const LibraryBinding &binding,
                                           const ImageDocument &document, QRX_HANDLE channel)
    : binding_(binding), document_(document), channel_(channel) {}

int LibraryHostFramePort::WaitForBuffer(std::uint8_t **address) {
    auto wait = binding_.Entry<&::qrx_host_wait_acq>();
    if (wait == nullptr) return -1;
    void *buffer = nullptr;
    const int sequence = wait(document_.grab, kNextFrame, kWaitTimeoutMs, kLock, &buffer);
    *address = static_cast<std::uint8_t *>(buffer);
    return sequence;
}

void LibraryHostFramePort::ShowBuffer(std::uint8_t *address) {
    auto point = binding_.Entry<&::qrx_set_host_img_src_addr>();
    auto draw = binding_.Entry<&::qrx_display_conn>();
    if (point && document_.source) point(document_.source, address);
    if (draw && document_.connection) draw(document_.connection);
}

void LibraryHostFramePort::ReleaseBuffer(int sequence) {
    if (auto release = binding_.Entry<&::qrx_host_grab_release>())
        release(document_.grab, sequence);
}

void LibraryHostFramePort::SetParam(int param, double value) const {
    if (auto set = binding_.Entry<&::qrx_set_param>()) set(channel_, param, value);
}

void LibraryHostFramePort::InterruptWait() {
    SetParam(kSourceParam, kSoftwareSource);
    SetParam(kReleaseParam, kRelease);
    SetParam(kModeParam, kTriggeredMode);
    if (auto trigger = binding_.Entry<&::qrx_gen_swtrig>()) trigger(channel_);
}

void LibraryHostFramePort::EndInterrupt() {
    SetParam(kModeParam, kFreeRunMode);
}

std::unique_ptr<TriggerWaiter> StartLibraryWaiter(QV_board_plat_mod &board,
                                                  ImageDocument &document) {
    auto *sxa = dynamic_cast<SXA_plat_mod *>(&board);
    if (sxa == nullptr || board.Binding() == nullptr) return nullptr;
    sxa->SelectChannel(document.channel);
    const QRX_HANDLE channel = sxa->ChannelHandle();
    if (channel == 0) return nullptr;
    sxa->StartHostAcquisition();
    return std::make_unique<TriggerWaiter>(
        std::make_unique<LibraryHostFramePort>(*board.Binding(), document, channel));
}

}  // namespace qvi
