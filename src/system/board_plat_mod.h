#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "system/frame_pixels.h"
#include "system/table_mod.h"

namespace qvi {

struct ImageDocument;

// Base of the motherboard platform objects. Slots 0 to 4 are the root's;
// the board classes override the rest where they acquire, display and test
// digital I/O. Slots the board models give no name of their own are left
// out until a board needs them.
class QV_board_plat_mod : public QV_table_plat_mod {
public:
    using QV_table_plat_mod::QV_table_plat_mod;

    // Slot 5: the module names detected in the board's slots.
    virtual std::vector<std::string> DetectModules();
    // Slot 6.
    virtual void StartHostAcquisition() {}
    // Slot 13.
    virtual int SaveImageFile(const std::string &path);
    // Slot 14.
    virtual int LoadImageFile(const std::string &path, void *window, int &width, int &height);
    // Slot 15.
    virtual void ArmTrigger() {}
    // Slot 16.
    virtual void SetTriggerMode(int on);
    // Slot 17: the Module Setup dialog calls it after a change in a row that
    // asks for it and after Cancel.
    virtual void Refresh() {}
    // Slot 19.
    virtual int TriggerDone();
    // Slot 20.
    virtual int WaitTrigger(int count);
    // Slot 21.
    virtual int GrabLive(void *window, int &width, int &height);
    // Slot 22.
    virtual int Acquire(void *window, int &width, int &height, int code);
    // Slot 23.
    virtual int Redraw(int channel);
    // Slot 30.
    virtual int ReadPixel(int x, int y);
    // The whole image the window shows, at its depth, for the image tools
    // (histogram, line profile, pixel inspector); false when the board has
    // no such frame or the library cannot read it.
    virtual bool ReadFramePixels(FramePixels &) { return false; }
    // Frames the board has acquired into the frame its image window shows (a
    // snap adds one, a grab one per camera frame): what a grab's rate is
    // measured by. -1 when the board or the library cannot tell.
    virtual std::int64_t FramesAcquired() { return -1; }
    // Slot 31: bit `bit` (0 or 1) of the input port's low 16 bits; the whole
    // value for a negative bit number.
    virtual int ReadInputs(int bit);
    // Slot 32.
    virtual std::int16_t SetOutputBit(int bit, int state);
    // Slots 33 to 35: the input/output-port entries.
    virtual int SetOutputValue(int value);
    virtual int SetInputMode(int bufferEnable, int strobePolarity);
    virtual int SetInputInterruptPolarity(int polarity);

    // Before every call for an image window the board is told the window's
    // camera channel; only the SXA board has more than one.
    virtual void SelectChannel(int) {}

    // The image window's document of a channel (0 to 3); null without one.
    ImageDocument *Document(int channel) const;
    void SetDocument(int channel, ImageDocument *document);

    // The four fields the board classes keep.
    std::int32_t field[4] = {};

protected:
    // The board's library parameters (qrx_get_param / qrx_set_param): 0.0
    // and -1 without the entries.
    double LibraryParam(int param) const;
    int SetLibraryParam(int param, double value) const;
    // Bit `bit` of the output lines (library parameter 131) set to `state`;
    // with the state -1 the bit's current value, unchanged.
    std::int16_t OutputPortBit(int bit, int state);
    // The port entries are called only with a binding and with hardware.
    bool PortsUsable() const;

private:
    std::array<ImageDocument *, 4> documents_{};
};

}  // namespace qvi
