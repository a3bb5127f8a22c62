#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modules/acquisition/single_camera.h"
#include "params/usr_param.h"

namespace qvi {

// The TX-40, a digital camera module: pixel size and packing, the camera
// clock (a base frequency and a power-of-two divider), the EXSYNC pulse and
// trigger generators, three camera mode-control lines, a programmable
// interrupt line, signal polarities and the acquisition window.
class TX40_plat_mod final : public QV_single_camera_plat_mod {
public:
    using LinearLutEntry = int (*)(QRX_HANDLE);

    // The camera-structure fields the window and pixel-size rows update
    // directly, as the user enters them.
    static constexpr std::size_t kHorizontalOffsetField = 0x5c;
    static constexpr std::size_t kHorizontalActiveField = 0x5e;
    static constexpr std::size_t kVerticalActiveField = 0x62;
    static constexpr std::size_t kPixelSizeField = 0x4e;

    TX40_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // Interleaved pixels come in pairs: the stored width counts pairs less
    // four, otherwise pixels less four.
    int GetImageWidth() override;
    // The height the board acquires.
    int GetImageHeight() override;
    int GetBitsPerPixel() override;
    // Done once the trigger generator is off again; always without hardware.

    // Makes the input look-up table match the pixel size just written to the
    // hardware; only with hardware.
    void LoadLinearLut();

protected:
    // The library keeps an interleaved width as the module writes it.
    QV_param_val ValueOf(const keys::KeyRow &row) const override;

private:
    TX40_plat_mod(LinearLutEntry linearLut, LibraryBinding *binding, std::uint32_t handle);

    LinearLutEntry linearLut_;
};

// The parameter container of a TX-40: its keys, the rows and pages of its
// Module Setup dialog, and its section.
class QV_tx40_mod final : public QV_single_camera_mod {
public:
    explicit QV_tx40_mod(QV_plat_mod *platform);

    // The horizontal and vertical active keys and the pixel size are built
    // with behaviour of their own.
    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;
};

// "Horizontal_Active": with interleaved pixels the section holds the width
// the camera delivers, the stored value doubled plus four.
class TX40_horizontal_active_param final : public QV_range_param {
public:
    using QV_range_param::QV_range_param;

    std::string GetCFGString(int port) override;
    using QV_range_param::GetCFGString;
};

// The pixel size: after the register, the input look-up table is loaded for
// the new depth.
class TX40_pixel_size_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// "Vertical Active" in lines; what is entered also goes straight into the
// module's current camera structure.
class TX40_vertical_active_usr_param final : public QV_range_usr_param {
public:
    using QV_range_usr_param::QV_range_usr_param;

    int SetValue(const QV_param_val &value) override;
};

// A window row in pixels: with interleaved pixels the stored values count
// pixel pairs. What is entered also goes straight into the current camera
// structure.
class TX40_window_usr_param : public QV_range_usr_param {
public:
    TX40_window_usr_param(std::string label, int id, const ParamList &params, int handle,
                          QV_param_val min, QV_param_val max, QV_param_val step);

protected:
    bool Interleaved() const;

private:
    QV_mod_param *interleave_;
};

// "Horizontal Offset": the offset in pixels.
class TX40_horizontal_offset_usr_param final : public TX40_window_usr_param {
public:
    using TX40_window_usr_param::TX40_window_usr_param;

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;
};

// "Horizontal Active": the width in pixels, four more than the stored count.
class TX40_horizontal_active_usr_param final : public TX40_window_usr_param {
public:
    using TX40_window_usr_param::TX40_window_usr_param;

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;
};

// "Interleave Pixels": switching keeps the window the same in pixels, so the
// stored width and offset are converted.
class TX40_interleave_usr_param final : public QV_choice_usr_param {
public:
    TX40_interleave_usr_param(std::string label, int id, const ParamList &params, int handle,
                              std::vector<std::string> labels);

    int SetIndex(int index) override;

private:
    QV_mod_param *active_;
    QV_mod_param *offset_;
};

// One of the three mode-control lines, a bit of "Camera_Mode". The bit is the
// first of the digits 0, 1 and 2 found in the row's label.
class TX40_cam_mode_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int SetIndex(int index) override;
    int GetIndex() override;

private:
    // The bit; -1 after a message naming the operation when the label has none.
    int Bit(const char *operation) const;
};

// "Pixel Size": the index goes straight into the current camera structure too.
class TX40_pixel_size_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int SetIndex(int index) override;
};

// A drop-down whose labels are computed from the module's settings: the
// placeholder "tbd" until the row is first refreshed, and from then on the
// labels the settings give at the moment they are asked for.
class TX40_computed_usr_param : public QV_choice_usr_param {
public:
    TX40_computed_usr_param(std::string label, int id, const ParamList &params, int handle);

    void Refresh() override;
    std::vector<std::string> GetChoices() const override;

protected:
    virtual std::vector<std::string> ComputeLabels() const = 0;
    // Makes the labels current before a selection is checked against them.
    bool IsValidSelection(int index);
    static int IndexOf(QV_mod_param *param);
    static void SetIndexOf(QV_mod_param *param, int index);

private:
    bool refreshed_ = false;
};

// The camera clock: the base frequency (handle 10) divided by a power of two
// (handle 11).
class TX40_clock_usr_param : public TX40_computed_usr_param {
public:
    TX40_clock_usr_param(std::string label, int id, const ParamList &params, int handle);

protected:
    int BaseIndex() const { return IndexOf(base_); }
    int DividerIndex() const { return IndexOf(divider_); }
    QV_mod_param *Base() const { return base_; }
    QV_mod_param *Divider() const { return divider_; }

private:
    QV_mod_param *base_;
    QV_mod_param *divider_;
};

// "Cam Clk coarse": the current base frequency with each divider, the
// slowest first.
class TX40_clock_coarse_usr_param final : public TX40_clock_usr_param {
public:
    using TX40_clock_usr_param::TX40_clock_usr_param;

    int SetIndex(int index) override;
    int GetIndex() override;

protected:
    std::vector<std::string> ComputeLabels() const override;
};

// "Cam Clk fine": each base frequency with the current divider.
class TX40_clock_fine_usr_param final : public TX40_clock_usr_param {
public:
    using TX40_clock_usr_param::TX40_clock_usr_param;

    int SetIndex(int index) override;
    int GetIndex() override;

protected:
    std::vector<std::string> ComputeLabels() const override;
};

// "EXSync coarse width": the EXSYNC pulse counter off, or on with one of the
// six counter clocks; each label gives the pulse width the preset makes.
class TX40_exsync_width_usr_param final : public TX40_computed_usr_param {
public:
    TX40_exsync_width_usr_param(std::string label, int id, const ParamList &params, int handle);

    int SetIndex(int index) override;
    int GetIndex() override;

protected:
    std::vector<std::string> ComputeLabels() const override;

private:
    QV_mod_param *counter_;
    QV_mod_param *clock_;
    QV_mod_param *preset_;
};

// "EXSync fine width": a number row that edits nothing; it shows 0 and
// ignores what is entered.
class TX40_exsync_fine_usr_param final : public QV_range_usr_param {
public:
    using QV_range_usr_param::QV_range_usr_param;

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;
};

}  // namespace qvi
