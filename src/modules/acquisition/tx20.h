#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modules/acquisition/four_port.h"
#include "params/usr_param.h"

namespace qvi {

// The TX-20, a four-port variable-scan analog module: a time base chosen among
// fixed camera formats or a camera-locked PLL, a video prescaler, clamping,
// references, and trigger and strobe logic.
class TX20_plat_mod : public QV_four_port_plat_mod {
public:
    static constexpr std::size_t kStartupPortOffset = 0;  // 16-bit, in the specification
    // What another module of this model takes from a port's camera structure:
    // everything up to, not including, the positive reference.
    static constexpr std::size_t kCopiedCameraBytes = 88;

    TX20_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // Each port is filled, then the start-up port becomes every parameter's
    // current port.
    void FillParams(QV_mod &container) override;
    void FillPortParams(QV_mod &container, int port) override;

    // The window as the container shows it; 0 while the platform object has
    // no container to ask.
    int GetImageWidth() override;
    int GetImageHeight() override;
    // The trigger generator clears its enable once the frame is taken.

private:
};

// The parameter container of a TX-20: its keys, the rows and pages of its
// Module Setup dialog, and its four-port section.
class QV_tx20_mod final : public QV_four_port_mod {
public:
    explicit QV_tx20_mod(QV_plat_mod *platform);

    // The geometry and reference keys are built with their own converters.
    void CreateModParams() override;
    // The time-base labels follow the board's time-base crystals (register 3).
    void CreateUsrParams() override;
    void CreateParamGroups() override;
};

// "Vertical Active" in lines of the image: while the scan-mode key holds
// non-interlaced (0) the image has twice the lines the key counts, and what
// is entered is halved on the way in.
class TX20_vertical_active_usr_param final : public QV_range_usr_param {
public:
    TX20_vertical_active_usr_param(std::string label, int id, const ParamList &params, int handle,
                                   QV_param_val min, QV_param_val max, QV_param_val step);

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;

private:
    QV_mod_param *interlace_;
};

// "Scan Mode": switching the scan mode keeps the image height the "Vertical
// Active" row shows, so the stored line count is converted.
class TX20_scan_mode_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int SetIndex(int index) override;
};

}  // namespace qvi
