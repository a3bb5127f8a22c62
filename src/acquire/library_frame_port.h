#pragma once

#include <cstdint>
#include <memory>

#include "acquire/trigger_waiter.h"
#include "quar/quar_api.h"

namespace qvi {

class LibraryBinding;
class QV_board_plat_mod;
struct ImageDocument;

// The trigger waiter's port on the imaging library, for one SXA channel's
// window: waits on the document's host acquisition (20 s at a time), shows
// a buffer through the document's host source and connection, and releases
// a pending wait through the channel's parameters and a software trigger.
class LibraryHostFramePort final : public HostFramePort {
public:
    static constexpr int kWaitTimeoutMs = 20000;

    LibraryHostFramePort(const LibraryBinding &binding, const ImageDocument &document,
                         QRX_HANDLE channel);

    int WaitForBuffer(std::uint8_t **address) override;
    void ShowBuffer(std::uint8_t *address) override;
    void ReleaseBuffer(int sequence) override;
    void InterruptWait() override;
    void EndInterrupt() override;

private:
    void SetParam(int param, double value) const;

    const LibraryBinding &binding_;
    // Read only: the board set the handles before the waiter started and
    // changes them only after it has been stopped.
    const ImageDocument &document_;
    QRX_HANDLE channel_;
};

// Starts the SXA board's host acquisition for the document's channel (on the
// caller's thread, so that the board and the document are changed there
// only) and a waiter that shows its frames; null for a board without a
// binding or channel.
std::unique_ptr<TriggerWaiter> StartLibraryWaiter(QV_board_plat_mod &board,
                                                  ImageDocument &document);

}  // namespace qvi
