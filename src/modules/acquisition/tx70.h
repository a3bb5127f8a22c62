#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modules/acquisition/four_port.h"
#include "modules/module_settings.h"
#include "params/usr_param.h"
#include "quar/quar_modules.h"

namespace qvi {

namespace tx70 {

// The load and look-up-table entries of the module library. They are looked
// up before the entries the acquisition base looks up, so that missing
// entries are reported in the module's own order.
struct EarlyEntries {
    using LutEntry = decltype(&::tx70_iluts);

    explicit EarlyEntries(LibraryBinding *binding);

    void *loadEntry = nullptr;  // looked up; nothing calls it
    LutEntry inputLutEntry = nullptr;
    LutEntry hueSaturationEntry = nullptr;
};

}  // namespace tx70

// The TX-70, a four-port colour module carrying either an RGB input board
// (its own timing generator, clamp and references, a colour-space converter
// and a programmable PLL) or an NTSC/PAL decoder board. The board type
// decides which half of the keys means something, which pages the dialog
// offers and how the image is measured.
class TX70_plat_mod : private tx70::EarlyEntries, public QV_four_port_plat_mod {
public:
    using LutEntry = tx70::EarlyEntries::LutEntry;
    using MatrixLoadEntry = decltype(&::tx70_load_matrix);

    // The board type (kDecoderBoard or kRgbBoard) is read from registers 2
    // and 3 and kept at specification byte 8.
    static constexpr std::size_t kCameraSize = 300;

    TX70_plat_mod(LibraryBinding *binding, std::uint32_t handle, const ModuleSettings &settings);

    // The start-up port and the load file, the board the hardware reports,
    // then every port.
    void FillParams(QV_mod &container) override;
    void FillPortParams(QV_mod &container, int port) override;
    // The load-file name, then for every port a private copy of its colour
    // matrix and of its camera structure.
    void CopyCameraConfig() override;

    // The image as the stored "Input Type" of the current port measures it;
    // 0 while the platform object has no container to ask.
    int GetImageWidth() override;
    int GetImageHeight() override;
    // 8 or 16 bits on the decoder board (mono or YCrCb), 24 on the RGB board.
    int GetBitsPerPixel() override;
    void SoftwareTrigger() override;
    void PrepareSoftwareTrigger() override;
    void PrepareExternalTrigger() override;
    // 1 once the triggered frame is in.
    int TriggerDone() override;
    // Registers 2 (the board type) and 1; 0 without hardware.
    std::int16_t GetBoardType() override;
    std::int16_t GetHardwareRevision() override;

    // Hands the nine coefficients to the colour-space converter; only with
    // hardware. The library's result, or 0 when nothing was called.
    int LoadMatrix(const std::array<float, 9> &coefficients);
    // Loads the linear (0) or the hue and saturation output table; only with hardware.
    int LoadOutputLut(int type);

    const std::string &LoadFileName() const { return loadFileName_; }
    LutEntry InputLutEntry() const { return inputLutEntry; }
    LutEntry HueSaturationEntry() const { return hueSaturationEntry; }
    MatrixLoadEntry MatrixEntry() const { return matrixLoadEntry_; }
    CameraCopyEntry MatrixCopyEntry() const { return matrixCopyEntry_; }

private:
    std::int16_t Register(int reg);
    bool OnRgbBoard();
    // The board type as the stored "Input Type" of the current port gives it.
    int StoredBoardType() const;
    // The camera name a port shows (new configurations get the board's defaults).
    std::string CameraName(const std::uint8_t *camera, int port, std::int16_t boardType,
                           std::uint32_t parent) const;
    void SetMultiplexerDefaults(QV_mod &container, std::uint8_t *camera, int port,
                                std::int16_t boardType, std::uint32_t parent) const;
    int ParentRevision(std::uint32_t parent) const;

    const ModuleSettings &settings_;
    std::string loadFileName_;
    void *matrixShortLoadEntry_ = nullptr;  // looked up; nothing calls it
    void *floatMatrixEntry_ = nullptr;      // looked up; nothing calls it
    MatrixLoadEntry matrixLoadEntry_ = nullptr;
    CameraCopyEntry matrixCopyEntry_ = nullptr;
};

// The parameter container of a TX-70: its keys, the rows and pages of its
// Module Setup dialog (chosen by hardware and board type), and its section.
class QV_tx70_mod final : public QV_four_port_mod {
public:
    explicit QV_tx70_mod(QV_plat_mod *platform);

    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;
};

// ---- parameters with behaviour of their own ----------------------------------------

// "Input Type": on real hardware the board is what it is; applying the
// parameter takes the type the hardware reports (register 2).
class TX70_board_type_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// "TX70_Frame_Type": the display's frame type, kept by the program only and
// never written.
class TX70_frame_type_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override { return 0; }
    std::string GetCFGString(int /*port*/) override { return {}; }
    using QV_choice_param::GetCFGString;
};

// "Output_LUT_Type": loads the linear or the hue and saturation table.
class TX70_output_lut_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// One of the nine colour-space coefficients. The first writes all nine as
// one line (unless the port uses a default structure); any of them loads
// all nine into the converter.
class TX70_csc_coefficient_param final : public QV_range_param {
public:
    using QV_range_param::QV_range_param;

    std::string GetCFGString(int port) override;
    using QV_range_param::GetCFGString;
    int ApplyToHardware() override;
};

// ---- rows with behaviour of their own ----------------------------------------------

// "Board Type".
class TX70_board_type_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    // Every row is redrawn.
    int SetIndex(int index) override;
};

// The decoder's "Horizontal Active" and "Vertical Active": the stored 16-bit value.
class TX70_decoder_active_usr_param final : public QV_range_usr_param {
public:
    using QV_range_usr_param::QV_range_usr_param;

    QV_param_val GetValue() override;
};

// "CSC Matrix Name": the predefined colour-space matrices, and "custom" for
// a matrix of the port's own.
class TX70_matrix_usr_param final : public QV_choice_usr_param {
public:
    TX70_matrix_usr_param(std::string label, int id, const ParamList &params, int handle);

    std::vector<std::string> GetChoices() const override;
    int GetIndex() override;
    // With a default structure a predefined matrix is loaded and the
    // coefficient rows are greyed; "custom" (and the entries from 8 on)
    // brings back the port's saved matrix and lets the coefficients be edited.
    int SetIndex(int index) override;

private:
    int IndexOf(const std::string &name) const;
    int Port() const;
};

// "Matrix Struct": the coefficient rows are editable only for a structure of
// the port's own.
class TX70_matrix_structure_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int SetIndex(int index) override;
};

// "Disp Frame Type": 8-bit mono sends luma alone through every output FIFO;
// 16-bit YCrCb splits it.
class TX70_frame_type_usr_param final : public QV_choice_usr_param {
public:
    using QV_choice_usr_param::QV_choice_usr_param;

    int GetIndex() override;
    int SetIndex(int index) override;
};

}  // namespace qvi
