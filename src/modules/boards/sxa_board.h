#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "modules/boards/board_display.h"
#include "params/mod.h"
#include "quar/quar_api.h"
#include "system/board_plat_mod.h"

namespace qvi {

// The multi-channel SXA board. Its camera channels are "SXA-VMOD" elements;
// every caller sets the channel a board call is meant for first.
class SXA_plat_mod : public QV_board_plat_mod {
public:
    SXA_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // One "SXA-VMOD" per camera channel of the board's library description.
    std::vector<std::string> DetectModules() override;

    int CurrentChannel() const { return currentChannel_; }
    void SetCurrentChannel(int channel) { currentChannel_ = channel; }
    void SelectChannel(int channel) override { SetCurrentChannel(channel); }

    // The current channel's image window, as the SX-400's is for its board.
    // A live grab acquires into the channel's camera frame, or in dual-tap
    // mode (channel 0 or 2 with channel parameter 70 at 1) together with the
    // next channel into a host buffer; the caption then says so.
    int GrabLive(void *window, int &width, int &height) override;
    // 1 snap, 2 clear, 0 the frame of a triggered host acquisition, -1 show
    // again, -3 whether DirectDraw is available.
    int Acquire(void *window, int &width, int &height, int code) override;
    int Redraw(int channel) override;
    int ReadPixel(int x, int y) override;
    bool ReadFramePixels(FramePixels &pixels) override;
    std::int64_t FramesAcquired() override;
    int SaveImageFile(const std::string &path) override;
    int LoadImageFile(const std::string &path, void *window, int &width, int &height) override;
    // A host acquisition of one frame per trigger, shown from its buffer;
    // the trigger waiter waits on it.
    void StartHostAcquisition() override;
    // Triggers go through the channel's host acquisition: arming notes the
    // last frame taken, and the trigger is done once a newer one is in.
    void ArmTrigger() override;
    int TriggerDone() override;
    // Waits up to count x 10 ms for the triggered frame: 0 once it is in,
    // 1 while pending.
    int WaitTrigger(int count) override;
    // The output lines are the board's, shared by its channels, as on the SX-400.
    std::int16_t SetOutputBit(int bit, int state) override { return OutputPortBit(bit, state); }
    // Stops the channel's acquisitions, deletes its display and frees its
    // host buffer, in that order.
    void ReleaseDisplay();

    // The current channel's library handle; 0 without one.
    QRX_HANDLE ChannelHandle() const;
    bool DualTap() const;

private:
    double ChannelParam(QRX_HANDLE channel, int param) const;
    void SetChannelParam(QRX_HANDLE channel, int param, double value) const;
    // The acquisition size of the channel, after the dual-tap preparation.
    AcquiredImage PrepareChannel(ImageDocument &document, bool dualTap);
    void Request(QRX_HANDLE channel, int code);
    bool ShowCamera(ImageDocument &document, void *window, const AcquiredImage &image,
                    bool server);
    bool ShowHostBuffer(ImageDocument &document, void *window, const AcquiredImage &image,
                        bool server);
    std::string Caption(const ImageDocument &document, const AcquiredImage &image,
                        bool dualTap) const;

    int currentChannel_ = 0;
    // The sequence number of the last host frame when the trigger was armed.
    std::int32_t armedSequence_ = -1;
};

// The parameter container of the SXA board: the head of its section, then
// every parameter's line (the board keeps no key of its own today).
class QV_sxa_board_mod final : public QV_mod {
public:
    explicit QV_sxa_board_mod(QV_plat_mod *platform);

    void WriteCFGSection(std::ostream &out) override;
    void CreateModParams() override;
};

}  // namespace qvi
