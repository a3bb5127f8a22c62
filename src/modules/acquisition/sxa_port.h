#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "keys/key_table.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "params/mod.h"
#include "params/usr_param.h"

namespace qvi {

// One camera channel of the multi-channel SXA board ("SXA-VMOD"). Its module
// specification holds the channel number and a reference to the channel's
// 228-byte camera structure, from which every parameter is filled.
class TX0_plat_mod : public QV_acq_plat_mod {
public:
    static constexpr std::size_t kChannelOffset = 8;     // 16-bit, in the specification
    static constexpr std::size_t kCameraRefOffset = 18;  // reference, in the specification
    static constexpr std::size_t kCameraSize = 57 * 4;   // the camera structure

    TX0_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // Fills every parameter of the container from this channel's camera
    // structure, writing the hardware as the values arrive. When the container
    // belongs to another SXA channel (its owner board is not this object, as
    // when a camera of the database is applied to a channel), that channel's
    // library structure takes a copy of this one first.
    void FillParams(QV_mod &container) override;
    // One port only: the same as FillParams.
    void FillPortParams(QV_mod &container, int port) override;
    // Gives the channel a private copy of its camera structure.
    void CopyCameraConfig() override;

    void SoftwareTrigger() override;
    void PrepareSoftwareTrigger() override;
    void PrepareExternalTrigger() override;

    int Channel() const { return channel_; }
    // This channel's camera structure in the library; null without one.
    std::uint8_t *CameraStructure() const;

private:
    void CopyCameraTo(const QV_mod &container) const;
    QV_param_val ValueOf(const keys::KeyRow &row) const;
    std::int16_t BoardRevision() const;
    bool IsDualTap() const;
    void SetLibraryParam(int param, double value);

    int channel_ = 0;
};

// The parameter container of an SXA camera channel: the channel's keys, the
// rows and pages of its Module Setup dialog, and its "[CameraPort:n]" section.
class QV_sxa_port_mod final : public QV_mod {
public:
    explicit QV_sxa_port_mod(QV_plat_mod *platform);

    // The head "[CameraPort:" slot "]", then every parameter's line; the
    // "Name" line is written even when empty and is followed by the camera
    // structure line.
    void WriteCFGSection(std::ostream &out) override;
    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;
    int GetHelpTopic(int usrParamId) override;
};

// The "Timing Mode" row of an SXA channel. It also drives "Dual tap": the
// channel is the slave of a dual-tap pair exactly when Timing_Mode is
// Dual_Tap. Channels 0 and 2 lead the pairs, so only the others offer it.
class QV_timing_mode_usr_param final : public QV_choice_usr_param {
public:
    static constexpr int kDualTapIndex = 3;

    QV_timing_mode_usr_param(std::string label, int id, const ParamList &params, int handle,
                             int slot);

    // Sets Timing_Mode through its choice conversion, then "Dual tap";
    // every row of the page is redrawn.
    int SetIndex(int index) override;

private:
    QV_mod_param *dualTap_;
};

}  // namespace qvi
