#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "params/mod.h"
#include "params/usr_param.h"
#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "system/board_plat_mod.h"

namespace qvi {

// The DQ-500 image-manager board: frame memories A0, A1 and B1 plus an
// overlay, its own display output, an acquisition module in slot 0 and a
// computational module in slot 1. Its display and DAC entries are looked up
// by name when the object is made.
class DQP_plat_mod : public QV_board_plat_mod {
public:
    // The bound entries, in lookup order.
    enum class Fn : std::size_t {
        ClearFrame,
        TextOut,
        ChangeDisplay,
        DisplayEnable,
        SetCpsPath,
        MemoryModel,
        DacPseudo,
        DacSyncOnGreen,
        DacGammaRom,
        DacPedestal,
        DisplayArea,
        DumpRegisters,
        HardwareRevision,
        AcquireBits,
        Count,
    };
    // The entries' exported names, indexed by Fn.
    static const std::array<const char *, static_cast<std::size_t>(Fn::Count)> kEntryNames;
    // The display types run from 0 to this.
    static constexpr int kLastDisplayType = 12;

    DQP_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // The four register parts, with hardware only.
    void DumpRegisters() override;
    // The acquisition module in slot 0 and the computational module in slot 1.
    std::vector<std::string> DetectModules() override;
    // Arms a triggered snap into the frame the display shows.
    void ArmTrigger() override;
    // Clears the frames, then library parameters 163, 194 and 224 (one per
    // frame) take the state.
    void SetTriggerMode(int on) override;
    // 1 when library parameter 168 is 0.
    int TriggerDone() override;

    // The frame (DQP_FRAME_*) that shows what the acquisition module delivers,
    // with the display paths routed and the frames' displays switched to suit.
    // Frame memory the image needs but the board lacks falls back to A0 with
    // a message.
    int ChooseDisplayFrame();
    // Ends every acquisition into A0, A1 and B1; an armed triggered snap is
    // taken first.
    void StopAcquisition();
    // Stops, clears the frames and the overlay, then shows.
    void ClearFrames();
    // Shows the chosen frame on the monitor (hardware only).
    void ShowDisplay();

    // A continuous acquisition (grab) or one frame (snap) into the frame the
    // monitor shows, with "Grab" or "Snap" written into the cleared overlay;
    // hardware only.
    void GrabOnMonitor();
    void SnapOnMonitor();
    // Stops the acquisitions and writes the frame they fill, as the SX-400
    // writes its camera frame.
    int SaveImageFile(const std::string &path) override;
    // Frames acquired into the frame the monitor's acquisitions fill.
    std::int64_t FramesAcquired() override;
    // Reads a TIFF file into the frames that can hold it and shows it on the
    // monitor: 1 when shown; -1 after a message for a file the board has no
    // memory for, of an unsupported depth, or unreadable. The window is not
    // used: the board shows images on its own monitor.
    int LoadImageFile(const std::string &path, void *window, int &width, int &height) override;

    // Programs one of the thirteen display timings (hardware only): 0 when
    // not applied, the entry's result otherwise, -1 for an unknown type.
    int SetDisplayType(int index);
    // The size register of frame "A0", "A1" or "B1" as 16 bits; -1 when the
    // frame is not fitted, without hardware, or for another name.
    int GetFrameSize(const std::string &frame);
    // The entry's memory model: 0 = A0 only, 1 and 3 without B1; -1 unknown.
    int MemoryModel() const;

    // A bound entry, typed as the stand-in exports the settings entries;
    // null when the library lacks it.
    using Entry = int (*)(QRX_HANDLE, ...);
    Entry EntryOf(Fn fn) const;
    void *AddressOf(Fn fn) const { return entries_[static_cast<std::size_t>(fn)]; }

private:
    // A bound entry typed as the library's header declares it.
    template <auto Declared>
    auto Typed(Fn fn) const {
        return std::bit_cast<decltype(Declared)>(AddressOf(fn));
    }
    // What the acquisition module delivers; 8-bit monochrome without one.
    struct Image {
        int pixelFormat = 0;
        int depth = 8;
        int width = 0;
        int height = 0;
    };
    Image AcquiredImage() const;
    // Shows the chooser's frame (DQP_FRAME_*) at the image's size.
    void ShowFrame(int frame, const Image &image);
    void AcquireOnMonitor(int code, const char *text);
    // The frame the acquisitions fill for the image, as the chooser picks it
    // but without its messages and display changes.
    int AcquisitionFrame(const Image &image) const;
    // Pseudo (true) or true colour (false) through the "Color Mode" row, so
    // the container and the DAC agree.
    void SetPseudoColour(bool pseudo);
    // Reads the file into a frame and shows it; a failed read is reported.
    int ReadIntoFrame(const std::string &path, int frame, const Image &file);
    bool HasFrameA1() const;
    bool HasFrameB1() const;
    int ChooseTrueColourFrame(const Image &image);
    int ChooseSixteenBitFrame();
    // A0 alone, with the displays of A1 and B1 off.
    int FallBackToA0();
    void EnableDisplay(int frame, bool on);
    void OfferTrueColour(const Image &image);
    void XBoard(int code, int frame);

    std::array<void *, static_cast<std::size_t>(Fn::Count)> entries_{};
};

// The DQ-500's parameter container: the board's keys, the four DAC choices
// that go to their library entries instead of registers, and the rows of the
// single "Basic" page.
class QV_dq500_mod final : public QV_mod {
public:
    explicit QV_dq500_mod(QV_plat_mod *ownerBoard);

    // "[DQ-500:" instance "]", then every non-empty key line indented by six.
    void WriteCFGSection(std::ostream &out) override;
    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;
};

// A frame's size row ("Frame A0 config" and its siblings). A frame size is
// kept as its value (0 to 3); the words of the second memory size share those
// values and read back as the first, so the row offers one label per value:
// the first word the key table gives it.
class QV_frame_config_usr_param final : public QV_choice_usr_param {
public:
    QV_frame_config_usr_param(std::string label, int id, const ParamList &params, int handle,
                              std::string frame);

    // "A0", "A1" or "B1", as the board's GetFrameSize takes it.
    const std::string &Frame() const { return frame_; }

private:
    std::string frame_;
};

}  // namespace qvi
