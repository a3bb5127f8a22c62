#pragma once

#include <cstdint>

#include "modules/acquisition/four_port.h"
#include "params/usr_param.h"

namespace qvi {

// The TX-10, the four-port analog module of the Lumo board: a programmable
// sync generator, frame reset, trigger and strobe, clamping and references,
// and a PLL chip whose registers are settings of their own.
class TX10_plat_mod : public QV_four_port_plat_mod {
public:
    static constexpr std::size_t kStartupPortOffset = 0;  // 16-bit, in the specification
    static constexpr std::size_t kCameraSize = 186;

    TX10_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // The start-up port becomes every parameter's current port, then each
    // port is filled.
    void FillParams(QV_mod &container) override;
    void FillPortParams(QV_mod &container, int port) override;

    // The active window: the two low bits of the width are cleared; an
    // interlaced camera delivers both fields.
    int GetImageWidth() override;
    int GetImageHeight() override;

    std::int16_t GetBoardType() override;
    // Without hardware there is no revision to read: 0.
    std::int16_t GetHardwareRevision() override;
    std::int16_t ReadSelectedRegister(int selector) override;
    std::int16_t AccessSelectedRegister(int selector, int value) override;

private:
    std::int16_t Register(int reg);
};

// The parameter container of a TX-10: its keys, the rows and pages of its
// Module Setup dialog, and its four-port section.
class QV_tx10_mod final : public QV_four_port_mod {
public:
    explicit QV_tx10_mod(QV_plat_mod *platform);

    // The board revision is the program's own and never written.
    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;
    int GetHelpTopic(int usrParamId) override;
};

// "TX Scan Mode": switching between interlaced and non-interlaced video
// converts the vertical geometry between frame and field lines, so the same
// picture stays selected.
class QV_tx10_scan_mode_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int SetIndex(int index) override;
};

}  // namespace qvi
