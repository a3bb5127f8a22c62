// The TX-30 against the real stand-in: a DQ-500 and an SX-400 each carry
// one; the first has a "custom" matrix on one port and a predefined matrix
// on another. What the module fills, shows, writes and sends to its registers
// and library entries is checked.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/hardware.h"
#include "modules/acquisition/tx30.h"
#include "modules/model_registry.h"
#include "params/mod_param.h"
#include "support/bound_stand_in.h"

namespace qvi {
namespace {

using testing::PortLines;
using testing::Section;
namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::Lines;

constexpr const char *kRack =
    "[Board]\nKind = DQP\nSlot0 = TX-30\n\n[Board]\nKind = SXP\nSlot0 = TX-30\n";
constexpr const char *kBoards = "[SYSTEM:0]\n[DQ-500:0]\n";
constexpr const char *kModules = R"([TX-30:0]
      Slot_Number = 0
      Startup_Port = 1
      Load_Name = "tx30pal.mcs"
      Output_LUT_Bypass
[CameraPort:0]
      Name = "Custom RGB"
      ADC_Color_Mode = Pseudo_Color_8
      Matrix_Name = "custom"
      CSC_Input_Format = Analog_Signed_Magnitude
      CSC_Output_Format = Twos_Complement_Signed
      CSC_No_Bypass_Mode
      CSC_Scaling = Scale_By_2
      CSC_Coefficient_Matrix = 1.250,-0.500,0.000,0.125,1.000,-0.250,0.000,0.750,2.000
[CameraPort:1]
      Name = "NTSC YUV"
      Output_LUT_Type = HSI
      Matrix_Name = "DEF_RGB_YUV"
      CSC_Output_Format = Twos_Complement_Signed
      CSC_No_Bypass_Mode
      CSC_Coefficient_Matrix = 0.299,0.587,0.114,-0.169,-0.331,0.500,0.500,-0.419,-0.081
[CameraPort:2]
      Name = "Colour difference"
[CameraPort:3]
      Name = "Spare"
      Input_LUT_NoLoad
      Matrix_NoLoad
[SX-400:0]
[TX-30:1]
      Slot_Number = 0
      Load_Name = "tx30hd.mcs"
)";

// A small valid MCS file: one data record of four bytes and the end record.
constexpr const char *kMcs = ":0400000054583330ED\n:00000001FF\n";

// Rows: the FPGA file, the colour-space converter, output LUT transform,
// formats and scaling, the first coefficient and the predefined matrices.
constexpr int kFpgaRow = 27;
constexpr int kConverterRow = 30;
constexpr int kOutputLutRow = 32;
constexpr int kInputFormatRow = 28;
constexpr int kOutputFormatRow = 29;
constexpr int kScalingRow = 31;
constexpr int kFirstCoefficientRow = 33;
constexpr int kMatrixRow = 42;
constexpr int kMatrixRows[] = {28, 29, 31, 33, 34, 35, 36, 37, 38, 39, 40, 41};

struct Module : testing::OpenedModule<TX30_plat_mod, QV_tx30_mod> {
    std::vector<bool> MatrixRowsEnabled() const {
        std::vector<bool> enabled;
        for (int id : kMatrixRows) enabled.push_back(Row(id).IsEnabled());
        return enabled;
    }
};

class Tx30Test : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        moduleSettings.tx30FpgaFiles = {{"tx30ntsc.mcs", "NTSC colour, 640 x 480", 640, 480},
                                        {"tx30pal.mcs", "PAL colour, 768 x 576", 768, 576}};
        fs::create_directories(dir_);
        moduleSettings.cnfDir = dir_.string();
        for (const char *name : {"tx30ntsc.mcs", "tx30pal.mcs"}) std::ofstream(dir_ / name) << kMcs;
        TX30_fpga_file_usr_param::ForgetLoads();
        BindAndLoad(kRack, std::string(kBoards) + kModules);
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
        BoundStandInTest::TearDown();
    }

    // A board's module, filled and attached as the system attaches it, with
    // its rows refreshed as the dialog does; seen at `port` unless -1 (the
    // start-up port).
    Module Open(int board = 0, int port = -1, bool refresh = true) {
        Module module = OpenModule<Module>(board);
        if (port >= 0) module.container->SetPort(port);
        if (refresh) module.container->RefreshUsrParams();
        return module;
    }

    // One line of the module's register dump, found by its start.
    std::string DumpLine(const Module &module, const std::string &start) {
        return PrintedLine([&] { module.platform->RegisterDumpEntry()(module.platform->Handle()); },
                           start);
    }

    // How often the coefficient port was set up for a new matrix.
    int Loads(const Module &module) {
        const std::string line = DumpLine(module, "  coefficient loads: ");
        return std::stoi(line.substr(line.rfind(' ') + 1));
    }

    const fs::path dir_ = fs::temp_directory_path() /
                          ("qvi-tx30-" + std::to_string(::getpid()) + "-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());

private:
};

// The FPGA file is written as loaded, each port's structures are asked for,
// and both look-up tables are loaded whatever the camera says.
TEST_F(Tx30Test, WrittenSectionKeepsTheFpgaFileAndForcesTheTableLoads) {
    Module module = Open();
    EXPECT_EQ(module.Param(16).GetCurrentPort(), 1);  // the start-up port
    const std::string written = Section(*module.container);
    EXPECT_THAT(Lines(written), Contains("      Load_Name = \"tx30pal.mcs\""));
    for (int port = 0; port < 4; ++port) {
        const std::vector<std::string> block = PortLines(written, port);
        ASSERT_GT(block.size(), 2u);
        EXPECT_EQ(block[2], "      Camera_Structure = Create_Structure");
        const auto name = std::ranges::find_if(
            block, [](const std::string &line) { return line.starts_with("      Matrix_Name"); });
        ASSERT_LT(name + 1, block.end());
        EXPECT_EQ(*(name + 1), "      Matrix_Structure = Create_Structure");
    }
    EXPECT_THAT(PortLines(written, 3), Contains("      Input_LUT_Load"));
    EXPECT_THAT(PortLines(written, 3), Contains("      Matrix_NoLoad"));
}

TEST_F(Tx30Test, CoefficientsReachTheConverterPortAsClampedQuarterSteps) {
    Module module = Open(0, 0);  // the "custom" port: coefficients editable
    const int loads = Loads(module);
    const float values[] = {4.0f, -4.01f, 0.5f, -0.1f};
    for (int i = 0; i < 4; ++i)
        module.Row(kFirstCoefficientRow + i).SetValue(QV_param_val::Float(values[i]));
    EXPECT_EQ(DumpLine(module, "  coefficient port:"),
              "  coefficient port: 0x3FF 0x003 0x400 0x004 0x080 0x000 0x7E7 0x007 "
              "0x100 0x001 0x7C0 0x007 0x000 0x000 0x0C0 0x000 0x200 0x002");
    EXPECT_EQ(Loads(module), loads + 4);
    EXPECT_EQ(Register(module, 24), 0x300);
    EXPECT_EQ(Register(module, 25), 3);
    EXPECT_EQ(Register(module, 26), 2);

    // The low 16 bits of a large product wrap before the clamp.
    EXPECT_EQ(TX30_coefficient_param::LowWord(1000.0f), 0x400);  // 256000 -> -6144
    EXPECT_EQ(TX30_coefficient_param::LowWord(-1000.0f), 0x3FF);
    EXPECT_EQ(TX30_coefficient_param::HighWord(-1000.0f), 3);
}

TEST_F(Tx30Test, FillingWritesOnlyTheStartupPortsMatrixAndOnlyOnce) {
    Module module = Open(0, -1, false);
    EXPECT_EQ(Loads(module), 1);
    // DEF_RGB_YUV: 0.299 -> 76 (0x04C), -0.169 -> -43 (0x7D5), ...
    EXPECT_THAT(DumpLine(module, "  coefficient port:"),
                HasSubstr("port: 0x04C 0x000 0x096 0x000 0x01D 0x000 0x7D5 0x007"));
    EXPECT_EQ(Register(module, 64), 0);  // converting at scale 1

    ASSERT_EQ(Load(std::string(kBoards) + kModules), QRX_LOAD_OK);
    SetHardwareEnabled(false);
    Module quiet = Open();
    EXPECT_EQ(Loads(quiet), 0);
}

TEST_F(Tx30Test, BypassAndScalingShareRegister64) {
    Module module = Open(0, 0);  // converting, scale by 2
    QV_usr_param &converter = module.Row(kConverterRow);
    QV_usr_param &scaling = module.Row(kScalingRow);
    EXPECT_EQ(converter.GetIndex(), 1);
    converter.SetIndex(0);  // bypassed
    EXPECT_EQ(Register(module, 64), 224);
    scaling.SetIndex(3);
    EXPECT_EQ(module.Raw(16), 96);
    EXPECT_EQ(Register(module, 64), 224) << "no scaling while bypassed";
    converter.SetIndex(1);
    EXPECT_EQ(Register(module, 64), 96);
    scaling.SetIndex(1);
    EXPECT_EQ(Register(module, 64), 32);
}

TEST_F(Tx30Test, FormatsShareRegister63) {
    Module module = Open(0, 0);
    SetRegister(module, 63, 0xFF);
    module.Row(kInputFormatRow).SetIndex(1);  // 32
    EXPECT_EQ(Register(module, 63), 0x3F);
    module.Row(kOutputFormatRow).SetIndex(1);  // 4
    EXPECT_EQ(Register(module, 63), 0x27);
    module.Row(kInputFormatRow).SetIndex(3);  // 224
    EXPECT_EQ(Register(module, 63), 0xE7);
}

TEST_F(Tx30Test, OutputLutTransformGoesToTheLibrary) {
    Module module = Open(0, 0);  // filled on the start-up port, which is HSI
    EXPECT_EQ(DumpLine(module, "  output LUTs:"), "  output LUTs: HSI");
    module.Row(kOutputLutRow).SetIndex(0);
    EXPECT_EQ(DumpLine(module, "  output LUTs:"), "  output LUTs: linear");
    SetHardwareEnabled(false);
    module.Row(kOutputLutRow).SetIndex(1);
    SetHardwareEnabled(true);
    EXPECT_EQ(DumpLine(module, "  output LUTs:"), "  output LUTs: linear");
    EXPECT_EQ(module.Raw(13), 1);
}

TEST_F(Tx30Test, PredefinedMatrixFixesTheMatrixAndCustomLeavesItEditable) {
    Module module = Open(0, 1);  // DEF_RGB_YUV
    QV_usr_param &matrix = module.Row(kMatrixRow);
    EXPECT_EQ(matrix.GetChoices().size(), 11u);
    EXPECT_EQ(matrix.GetIndex(), 3);
    EXPECT_THAT(module.MatrixRowsEnabled(), Contains(true).Times(0));

    EXPECT_EQ(matrix.SetIndex(10), 2);  // the catalogue's "custom"
    EXPECT_THAT(module.MatrixRowsEnabled(), Contains(false).Times(0));
    EXPECT_EQ(module.Param(8).GetRawValue().GetText(), "custom");
    EXPECT_EQ(module.Raw(14), 32);
    EXPECT_EQ(module.Raw(15), 16);
    EXPECT_FLOAT_EQ(module.Param(37).GetRawValue().GetFloat(), -0.416f);
    EXPECT_THAT(DumpLine(module, "  coefficient port:"), HasSubstr("port: 0x796 0x007 0x04C"));

    EXPECT_EQ(matrix.SetIndex(5), 2);  // DEF_RGB_YCRCB
    EXPECT_THAT(module.MatrixRowsEnabled(), Contains(true).Times(0));
    EXPECT_EQ(module.Param(8).GetRawValue().GetText(), "DEF_RGB_YCRCB");
    EXPECT_EQ(module.Raw(14), 0);
    EXPECT_EQ(module.Raw(15), 0);
    EXPECT_FLOAT_EQ(module.Param(45).GetRawValue().GetFloat(), 0.439f);
    EXPECT_EQ(matrix.GetIndex(), 5);
    EXPECT_THAT(PortLines(Section(*module.container), 1),
                Contains("      CSC_Coefficient_Matrix = "
                         "0.257,0.504,0.098,0.439,-0.368,-0.071,-0.148,-0.291,0.439"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Tx30Test, OwnCustomMatrixIsAnExtraEntryThatKeepsItsCoefficients) {
    Module module = Open(0, 0);
    QV_usr_param &matrix = module.Row(kMatrixRow);
    std::vector<std::string> choices = matrix.GetChoices();
    ASSERT_EQ(choices.size(), 12u);
    EXPECT_EQ(choices[10], "custom");
    EXPECT_EQ(choices[11], "custom");
    EXPECT_EQ(matrix.GetIndex(), 11);
    EXPECT_THAT(module.MatrixRowsEnabled(), Contains(false).Times(0));
    EXPECT_FLOAT_EQ(module.Param(37).GetRawValue().GetFloat(), 1.25f);
    EXPECT_EQ(module.Raw(16), 32);

    // A name the catalogue lacks is shown the same way.
    module.container->SetPort(3);
    module.Param(8).SetRawValue(QV_param_val::Text("studio"));
    matrix.Refresh();
    choices = matrix.GetChoices();
    EXPECT_EQ(choices.back(), "studio");
    EXPECT_EQ(matrix.GetIndex(), 11);
    EXPECT_EQ(module.Param(8).GetRawValue().GetText(), "studio");
}

TEST_F(Tx30Test, FpgaFileRowLoadsFromTheSecondSelectionOn) {
    Module module = Open();
    QV_usr_param &fpga = module.Row(kFpgaRow);
    EXPECT_THAT(fpga.GetChoices(), ElementsAre("NTSC colour, 640 x 480", "PAL colour, 768 x 576"));
    EXPECT_EQ(fpga.GetIndex(), 1);
    EXPECT_EQ(module.platform->GetImageWidth(), 768);
    EXPECT_EQ(module.platform->GetImageHeight(), 576);

    std::string printed = Console([&] { EXPECT_EQ(fpga.SetIndex(0), 1); });
    EXPECT_EQ(printed, "") << "the first selection loads nothing";
    EXPECT_EQ(module.Param(5).GetRawValue().GetText(), "tx30ntsc.mcs");
    EXPECT_EQ(module.platform->GetImageWidth(), 640);
    EXPECT_EQ(DumpLine(module, "  FPGA file:"), "  FPGA file: none");

    const std::string pal = (dir_ / "tx30pal.mcs").string();
    printed = Console([&] { EXPECT_EQ(fpga.SetIndex(1), 1); });
    EXPECT_EQ(printed, "TX-30:0 FPGA: loaded " + pal + ", 4 bytes\n");
    EXPECT_EQ(DumpLine(module, "  FPGA file:"), "  FPGA file: " + pal + " (4 bytes)");
    EXPECT_EQ(fpga.GetIndex(), 1);
    EXPECT_EQ(Console([&] { fpga.SetIndex(1); }), "") << "the same path is not loaded again";
    EXPECT_GE(ui.waitCursorShown, 2);

    // The catalogue's names match whatever their case.
    module.Param(5).SetRawValue(QV_param_val::Text("TX30NTSC.MCS"));
    fpga.Refresh();
    EXPECT_EQ(fpga.GetChoices().size(), 2u);
    EXPECT_EQ(fpga.GetIndex(), 0);
    EXPECT_EQ(module.platform->GetImageWidth(), 512) << "the geometry compares exactly";
    EXPECT_EQ(module.platform->GetImageHeight(), 480);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Tx30Test, FpgaFileOutsideTheCatalogueIsAnExtraEntry) {
    Module module = Open(1);
    QV_usr_param &fpga = module.Row(kFpgaRow);
    EXPECT_THAT(fpga.GetChoices(),
                ElementsAre("NTSC colour, 640 x 480", "PAL colour, 768 x 576", "tx30hd.mcs"));
    EXPECT_EQ(fpga.GetIndex(), 2);
    EXPECT_EQ(module.platform->GetImageWidth(), 512);

    const std::string missing = (dir_ / "tx30hd.mcs").string();
    EXPECT_EQ(fpga.SetIndex(2), 2);
    EXPECT_THAT(ui.Errors(), ElementsAre("Can't find TX-30 FPGA file:" + missing));
    EXPECT_EQ(module.Param(5).GetRawValue().GetText(), "tx30hd.mcs");

    // Once the file is there it is loaded like any other.
    ui.Clear();
    fpga.SetIndex(0);  // the first selection
    std::ofstream(missing) << kMcs;
    fpga.Refresh();
    EXPECT_EQ(fpga.GetIndex(), 0);
    module.Param(5).SetRawValue(QV_param_val::Text("tx30hd.mcs"));
    fpga.Refresh();
    EXPECT_EQ(Console([&] { EXPECT_EQ(fpga.SetIndex(2), 1); }),
              "TX-30:1 FPGA: loaded " + missing + ", 4 bytes\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Tx30Test, StandInRefusesABadFpgaFile) {
    Module module = Open();
    const std::string bad = (dir_ / "bad.mcs").string();
    std::ofstream(bad) << ":0400000054583330ED\n:0400000054583330EE\n:00000001FF\n";
    std::string printed = Console([&] { EXPECT_EQ(module.platform->LoadFpgaFile(bad), -3); });
    EXPECT_THAT(printed, HasSubstr("line 2 is not a valid record"));
    std::ofstream(bad) << ":0400000054583330ED\n";  // no end record
    EXPECT_EQ(module.platform->LoadFpgaFile(bad), -3);
    EXPECT_EQ(module.platform->LoadFpgaFile((dir_ / "none.mcs").string()), -2);
    EXPECT_EQ(DumpLine(module, "  FPGA file:"), "  FPGA file: none");
    SetHardwareEnabled(false);
    EXPECT_EQ(module.platform->LoadFpgaFile(bad), 0);
}

TEST_F(Tx30Test, CatalogueReportsABadIndex) {
    const QV_fpga_file_catalogue catalogue(moduleSettings.tx30FpgaFiles);
    EXPECT_EQ(catalogue.Name(1), "tx30pal.mcs");
    EXPECT_EQ(catalogue.YSize(0), 480);
    EXPECT_EQ(catalogue.Name(2), "ERROR");
    EXPECT_EQ(catalogue.XSize(-1), 0);
    EXPECT_EQ(catalogue.Description(5), "ERROR");
    EXPECT_THAT(ui.Texts(), ElementsAre("Invalid index: 2 passed to TX-30 FPGA File Manager",
                                        "Invalid index: -1 passed to TX-30 FPGA File Manager",
                                        "Invalid index: 5 passed to TX-30 FPGA File Manager"));
}

TEST_F(Tx30Test, GeometryDepthAndTrigger) {
    Module module = Open(0, 0);  // pseudo colour
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 8);
    module.container->SetPort(1);
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 24);

    EXPECT_EQ(module.platform->TriggerDone(), 1);
    SetRegister(module, 87, 1);
    EXPECT_EQ(module.platform->TriggerDone(), 0);
    SetHardwareEnabled(false);
    EXPECT_EQ(module.platform->TriggerDone(), 1);

    TX30_plat_mod alone(binding_.get(), ModuleHandle(0), moduleSettings);
    EXPECT_EQ(alone.GetImageWidth(), 512);
    EXPECT_EQ(alone.GetImageHeight(), 480);
    alone.CopyCameraConfig();
    EXPECT_EQ(alone.FpgaFileName(), "tx30pal.mcs");
}

}  // namespace
}  // namespace qvi
