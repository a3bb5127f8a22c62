#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modules/acquisition/four_port.h"
#include "params/usr_param.h"
#include "quar/quar_modules.h"

namespace qvi {

namespace tx50 {

// The timing-generator programming entry of the module library. It is looked
// up before the entries the acquisition base looks up, so that missing
// entries are reported in the module's own order.
struct TimingEntryLookup {
    using TimingEntry = decltype(&::tx50_prog_user_tgen);

    explicit TimingEntryLookup(LibraryBinding *binding);

    TimingEntry timingEntry = nullptr;
};

}  // namespace tx50

// The TX-50, a four-port analog module: a crystal or camera-locked pixel
// clock (PLL) and its own timing generator, a sync stripper, clamping, a
// low-pass filter, strobe and trigger logic. Timing values go to the
// library's timing-generator entry, not to registers: the library works out
// the PLL dividers and generator counts from the times itself.
class TX50_plat_mod : private tx50::TimingEntryLookup, public QV_four_port_plat_mod {
public:
    using tx50::TimingEntryLookup::TimingEntry;
    static constexpr std::size_t kActivePortOffset = 0;  // 16-bit, in the specification
    static constexpr std::size_t kCameraSize = 300;

    TX50_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // Fills every port with hardware writes held back, makes the start-up
    // port current, then writes the current port's settings in one go.
    void FillParams(QV_mod &container) override;
    void FillPortParams(QV_mod &container, int port) override;
    // The register dump, then the PLL dump.
    void DumpRegisters() override;

    // From the frame time of the port the timing generator is programmed for.
    double NominalFrameRate() override;
    // The window as the container shows it; 0 while the platform object has
    // no container to ask.
    int GetImageWidth() override;
    int GetImageHeight() override;
    // The trigger enable reads 0 once the triggered frame is in.

    // Hands the start-up port's times and custom PLL options to the library,
    // which programs the PLL and the timing generator. 0 without hardware
    // (nothing is done); otherwise the library's result, or -1 when there is
    // no container, camera structure or entry to use.
    std::int16_t ProgramTimingGenerator();

    TimingEntry TimingGeneratorEntry() const { return timingEntry; }
    DumpEntry PllDumpEntry() const { return pllDumpEntry_; }
    DumpEntry CameraPllDumpEntry() const { return cameraPllDumpEntry_; }

private:
    // The custom PLL options of a port: from the camera structure when the
    // port has them, else the settings a port without them runs with.
    void FillCustomOptions(QV_mod &container, int port, bool fromStructure) const;

    DumpEntry pllDumpEntry_ = nullptr;
    DumpEntry cameraPllDumpEntry_ = nullptr;  // looked up; nothing calls it
};

// The parameter container of a TX-50: its keys, the rows and pages of its
// Module Setup dialog, and its four-port section, in which a port writes its
// custom PLL options only when it has them.
class QV_tx50_mod final : public QV_four_port_mod {
public:
    explicit QV_tx50_mod(QV_plat_mod *platform);

    // Most keys have their own converters or classes (see tx50.cpp).
    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;

protected:
    void PreparePortLines(int port) override;
};

// ---- parameters with behaviour of their own ----------------------------------------

// A number kept in hundredths and written as the number it stands for: a
// stored 128 is written "Key = "1.280"".
class TX50_hundredths_param final : public QV_range_param {
public:
    using QV_range_param::QV_range_param;

    std::string GetCFGString(int port) override;
    using QV_range_param::GetCFGString;
};

// A time or frequency: the library's timing-generator entry takes it, no
// register does.
class TX50_timing_param final : public QV_range_param {
public:
    using QV_range_param::QV_range_param;

    int ApplyToHardware() override;
};

// One of the custom PLL options: the timing-generator entry reads it from the
// camera structure.
class TX50_custom_pll_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// "Cust_option": the ten custom rows of the dialog are active only while it
// is on; then the timing generator is programmed.
class TX50_custom_option_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// ---- rows with behaviour of their own ----------------------------------------------

// A number kept in hundredths, shown as the number it stands for: a stored 64
// shows 0.64, and 0.64 entered stores 64.
class TX50_hundredths_usr_param final : public QV_range_usr_param {
public:
    using QV_range_usr_param::QV_range_usr_param;

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;
};

// "Vertical Active" in lines of the image: a non-interlaced camera (0) gives
// twice the lines the key counts, and what is entered is halved on the way in.
class TX50_vertical_active_usr_param final : public QV_range_usr_param {
public:
    TX50_vertical_active_usr_param(std::string label, int id, const ParamList &params, int handle,
                                   QV_param_val min, QV_param_val max, QV_param_val step);

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;

private:
    QV_mod_param *interlace_;
};

// "Camera mode": switching between interlaced and non-interlaced keeps the
// image height "Vertical Active" shows, so the stored line count is converted.
class TX50_camera_mode_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int SetIndex(int index) override;
};

// "Input mux": the inputs a port can select depend on the port: three for
// ports 0 and 1, one for ports 2 and 3.
class TX50_input_mux_usr_param final : public QV_choice_usr_param {
public:
    TX50_input_mux_usr_param(std::string label, int id, const ParamList &params, int handle);

    std::vector<std::string> GetChoices() const override;
    int SetIndex(int index) override;
    int GetIndex() override;

private:
    int Port() const;
};

// "Custom PLL options": every row of the page is redrawn, so that the custom
// rows show their new state.
class TX50_custom_options_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int SetIndex(int index) override;
};

}  // namespace qvi
