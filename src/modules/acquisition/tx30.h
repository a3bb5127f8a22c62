#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modules/acquisition/four_port.h"
#include "modules/module_settings.h"
#include "params/usr_param.h"
#include "quar/quar_modules.h"

namespace qvi {

// The FPGA files a TX-30 can load, as the settings file lists them. The
// catalogue reads the list, never copies it. A bad index is reported and
// gives the name "ERROR" or the size 0.
class QV_fpga_file_catalogue {
public:
    static constexpr const char *kError = "ERROR";

    explicit QV_fpga_file_catalogue(const std::vector<FpgaFileEntry> &entries);

    int Count() const { return static_cast<int>(entries_->size()); }
    std::string Name(int index) const;
    std::string Description(int index) const;
    int XSize(int index) const;
    int YSize(int index) const;
    std::vector<std::string> Descriptions() const;
    // The entry of that file name, exact comparison or ignoring case; null for none.
    const FpgaFileEntry *Find(const std::string &name) const;
    int FindIgnoringCase(const std::string &name) const;

private:
    const FpgaFileEntry *EntryAt(int index) const;

    const std::vector<FpgaFileEntry> *entries_;
};

namespace tx30 {

// The FPGA-load and output-LUT entries of the module library. They are looked
// up before the entries the acquisition base looks up, so that missing
// entries are reported in the module's own order.
struct ModuleEntryLookup {
    using LoadEntry = decltype(&::tx30_load);
    using OutputLutEntry = decltype(&::tx30_set_oluts);

    explicit ModuleEntryLookup(LibraryBinding *binding);

    LoadEntry loadEntry = nullptr;
    OutputLutEntry outputLutEntry = nullptr;
};

}  // namespace tx30

// The TX-30, the RGB colour module: four camera ports, each with a
// colour-space converter (a 3 x 3 matrix with input and output formats and a
// scaling) and input and output look-up tables, and an FPGA whose file
// decides the image size.
class TX30_plat_mod : private tx30::ModuleEntryLookup, public QV_four_port_plat_mod {
public:
    static constexpr std::size_t kFpgaNameOffset = 0;     // text reference, in the specification
    static constexpr std::size_t kStartupPortOffset = 8;  // 16-bit, in the specification
    static constexpr std::size_t kCameraSize = 82;
    static constexpr int kDefaultWidth = 512;
    static constexpr int kDefaultHeight = 480;

    TX30_plat_mod(LibraryBinding *binding, std::uint32_t handle, const ModuleSettings &settings);

    // The module keys, the start-up port as every parameter's current port,
    // then each port.
    void FillParams(QV_mod &container) override;
    // The port's matrix reaches the hardware once, with its last coefficient.
    void FillPortParams(QV_mod &container, int port) override;
    // Keeps the specification's FPGA file name, then copies every port's camera.
    void CopyCameraConfig() override;

    // The size of the FPGA file the container names; 512 x 480 for a file
    // the catalogue does not list.
    int GetImageWidth() override;
    int GetImageHeight() override;
    // 8 for 8-bit pseudo colour, else 24.
    int GetBitsPerPixel() override;
    void PrepareExternalTrigger() override;
    // Register 87 reads 0 once the triggered frame is in.
    int TriggerDone() override;

    // Without hardware nothing is done and both give 0; -1 when the library
    // lacks the entry.
    std::int16_t LoadFpgaFile(const std::string &path);
    std::int16_t SetOutputLuts(int kind);

    const std::string &FpgaFileName() const { return fpgaFileName_; }
    LoadEntry FpgaLoadEntry() const { return loadEntry; }
    OutputLutEntry OutputLutsEntry() const { return outputLutEntry; }

private:
    const FpgaFileEntry *CurrentFpgaFile() const;
    void FillKey(QV_mod &container, int handle, int port) const;

    const ModuleSettings &settings_;
    std::string fpgaFileName_;
};

// The parameter container of a TX-30: its keys, the rows and pages of its
// Module Setup dialog, and its four-port section, in which each port's
// matrix name is followed by the matrix structure line.
class QV_tx30_mod final : public QV_four_port_mod {
public:
    QV_tx30_mod(QV_plat_mod *platform, const ModuleSettings &settings);

    // The colour-space converter keys share registers: they have classes of their own.
    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;

protected:
    // The matrix name is followed by the line that has the library create the
    // port's colour matrix.
    void WriteAfterPortLine(std::ostream &out, const QV_mod_param &param) override;

private:
    const ModuleSettings &settings_;
};

// ---- parameters that share registers ------------------------------------------------

// "CSC_Input_Format": the top three bits of register 63; the others stay.
class TX30_input_format_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// "CSC_Output_Format": bits 2 to 4 of register 63; the others stay.
class TX30_output_format_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// The converter's bypass, register 64: bypassing writes the bypass code,
// converting writes the scaling in its place.
class TX30_bypass_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// "CSC_Scaling", register 64: written only while the converter is not bypassed.
class TX30_scaling_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// "Output_LUT_Type": the library fills the output tables with the transform.
class TX30_output_lut_param final : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override;
};

// One of the nine coefficients. Any of them writes the whole matrix of its
// port; the first carries the port's one "CSC_Coefficient_Matrix" line.
class TX30_coefficient_param final : public QV_range_param {
public:
    static constexpr int kFirstHandle = 37;
    static constexpr int kCount = 9;

    using QV_range_param::QV_range_param;

    std::string GetCFGString(int port) override;
    using QV_range_param::GetCFGString;
    int ApplyToHardware() override;

    // The two words the converter's coefficient port takes for a coefficient:
    // a quarter of it in 1/1024ths, clamped to 11 bits, then its top 3 bits.
    static std::int16_t LowWord(float coefficient);
    static std::int16_t HighWord(float coefficient);
};

// ---- rows with behaviour of their own ----------------------------------------------

// "H x V (fpga file)": the FPGA files of the catalogue by description, and
// the container's own file at the end when the catalogue does not list it.
// Choosing one loads it, except the first time after start-up.
class TX30_fpga_file_usr_param final : public QV_choice_usr_param {
public:
    TX30_fpga_file_usr_param(std::string label, int id, const ParamList &params, int handle,
                             const ModuleSettings &settings);

    void Refresh() override;
    // 2 when the file is missing (nothing changes), else 1.
    int SetIndex(int index) override;
    int GetIndex() override { return current_; }

    // Back to the state at start-up: nothing loaded, no selection made.
    static void ForgetLoads();

private:
    const ModuleSettings &settings_;
    int current_ = -1;
    int extra_ = -1;
};

// "CSC matricies (pre-def)": the colour-space matrices of the catalogue, and
// the container's own matrix at the end when it is "custom" or not listed.
// A predefined matrix fixes formats, scaling and coefficients; "custom" and
// the container's own leave them editable.
class TX30_matrix_usr_param final : public QV_choice_usr_param {
public:
    TX30_matrix_usr_param(std::string label, int id, const ParamList &params, int handle);

    void Refresh() override;
    int SetIndex(int index) override;
    int GetIndex() override { return current_; }

private:
    void RevertMatrix() const;
    void ApplyCatalogueMatrix(int index) const;

    int current_ = -1;
    int extra_ = -1;
};

}  // namespace qvi
