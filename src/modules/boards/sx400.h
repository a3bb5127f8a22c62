#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "modules/boards/board_display.h"
#include "params/mod.h"
#include "system/board_plat_mod.h"

namespace qvi {

// The SX-400 board: one acquisition-module slot, frame memory on the board,
// and the board library's "sxp_" entry points, bound once at construction.
class SXP_plat_mod : public QV_board_plat_mod {
public:
    // The board library's entries, in the order they are bound.
    enum class SxpEntry : std::size_t {
        DisplayArea,
        ClearFrame,
        DumpRegisters,
        AcquisitionBits,
        CreateFrame,
        DeleteFrame,
        SetCurrentDimensions,
        GetAcquisitionDimensions,
        ScanModeStatus,
        SetFrameInterlace,
        StartField,
        GetCameraFrame,
        WaitTrigger,
        GetHardwareRevision,
        TriggerSnap,
        Count,
    };
    static constexpr std::size_t kEntryCount = static_cast<std::size_t>(SxpEntry::Count);
    // The camera frame before any has been asked for.
    static constexpr std::int16_t kNoFrame = -100;

    // Every entry the libraries lack is reported by name here and stays null.
    SXP_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // The name of the acquisition module the board reports in slot 0.
    std::vector<std::string> DetectModules() override;
    // Shows the board's registers on the console window; only with hardware.
    void DumpRegisters() override;
    // Snaps the current frame on the next trigger; only with hardware.
    void ArmTrigger() override;
    // On: remembers the start field, then acquires from the next field on a
    // trigger. Off: puts the remembered start field back.
    void SetTriggerMode(int on) override;
    // 1 once the board's trigger is no longer pending.
    int TriggerDone() override;
    // Sets bit `bit` of the output port to `state` (0 or 1); with the state -1
    // the bit's current value is returned instead and nothing changes.
    std::int16_t SetOutputBit(int bit, int state) override;

    // The image window (the document of channel 0), with hardware only.
    // A live grab into the camera frame shown through a display server; 1
    // when shown, 0 when there is no camera frame or no connection.
    int GrabLive(void *window, int &width, int &height) override;
    // 1 snap, 2 clear, 0 the frame taken on a trigger, -1 show the frame
    // again (each without a server); -3 whether DirectDraw is available.
    int Acquire(void *window, int &width, int &height, int code) override;
    // A live grab starts again; a file image needs nothing; anything else is
    // shown again.
    int Redraw(int channel) override;
    // The camera frame's pixel; 0 without a camera frame.
    int ReadPixel(int x, int y) override;
    bool ReadFramePixels(FramePixels &pixels) override;
    std::int64_t FramesAcquired() override;
    // Stops a live grab, freezes the window and writes the camera frame.
    int SaveImageFile(const std::string &path) override;
    // Reads a file into the camera frame and shows it: 1 when shown, 0
    // (after a warning) when the file cannot be read.
    int LoadImageFile(const std::string &path, void *window, int &width, int &height) override;
    // Waits for the armed snap: 0 once taken, 1 while pending.
    int WaitTrigger(int count) override;
    // Stops a running grab, then deletes server, connection, sink and source.
    void ReleaseDisplay();

    // The bound entry, null when the libraries lack it.
    void *EntryAddress(SxpEntry entry) const { return entries_[static_cast<std::size_t>(entry)]; }
    std::int16_t Frame() const { return frame_; }
    void SetFrame(std::int16_t frame) { frame_ = frame; }
    double SavedStartField() const { return savedStartField_; }

private:
    template <auto Declared>
    auto Typed(SxpEntry entry) const {
        return std::bit_cast<decltype(Declared)>(EntryAddress(entry));
    }
    // The camera frame from the board library, kept in `frame`; -1 without.
    int CameraFrame();
    void Request(int code);
    // Shows the camera frame in the window: size, depth and caption from the
    // acquisition module, then the display without a server.
    int ShowFrame(ImageDocument &document, void *window, int &width, int &height);
    bool Display(ImageDocument &document, void *window, const AcquiredImage &image, bool server);

    std::array<void *, kEntryCount> entries_{};
    std::int16_t frame_ = kNoFrame;
    double savedStartField_ = 0.0;
};

// The parameter container of the SX-400: the board's keys filled by the
// table-driven platform object, its "Misc." page of rows, and its section,
// written as the "Lumo" board when a TX-10 sits in its slot.
class QV_sx400_mod final : public QV_mod {
public:
    // Handles of the parameters that apply themselves through the library.
    static constexpr int kPixelSizeOverrideHandle = 22;
    static constexpr int kYcrcbMonoHandle = 24;

    explicit QV_sx400_mod(QV_plat_mod *platform);

    // The head, every parameter's line, and the forced pixel size a TX-60
    // with one of the 16-bit cameras needs.
    void WriteCFGSection(std::ostream &out) override;
    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;

    // The section name the board is written under: "Lumo" or "SX-400".
    std::string SectionName() const;
};

}  // namespace qvi
