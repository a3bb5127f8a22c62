// The TX-70 against the real stand-in: one SX-400 carries a TX-70 with its
// RGB board, another one with its decoder board (the rack says which). What
// the module fills, shows, writes, computes and sends to the hardware and to
// the library's matrix and look-up-table entries is checked on both.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/hardware.h"
#include "modules/acquisition/tx70.h"
#include "params/mod_param.h"
#include "params/param_group.h"
#include "quar/quar_modules.h"
#include "support/bound_stand_in.h"

namespace qvi {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::KeyLines;
using ::testing::Not;
using testing::PortLines;
using testing::Section;

constexpr const char *kRack =
    "[Board]\nKind = SXP\nRevision = 36\nSlot0 = TX-70\nSlot0Type = 8\n"
    "[Board]\nKind = SXP\nRevision = 36\nSlot0 = TX-70\nSlot0Type = 7\n";
constexpr const char *kBoards = "[SYSTEM:0]\n[SX-400:0]\n";
// Port 0 a catalogue matrix, port 1 a matrix of its own, port 2 another
// catalogue matrix; the second board's module has its decoder board.
constexpr const char *kModules = R"([TX-70:0]
      Slot_Number = 0
      Startup_Port = 1
      Load_Name = "rgb70.mcs"
      RGB_Input_Board
[CameraPort:0]
      Name = "RGB identity"
      Matrix_Name = "DEF_RGB_RGB"
      CSC_Coefficient_Matrix = 1,0,0,0,1,0,0,0,1
[CameraPort:1]
      Name = "Own matrix"
      RGB_HOffset = 2
      RGB_HActive = 770
      RGB_VOffset = 10
      RGB_VActive = 250
      RGB_Interlace
      Matrix_Name = "custom"
      CSC_Coefficient_Matrix = 0.5,-0.25,0,0,1,0,0,0.125,1.5
[CameraPort:2]
      Name = "YUV"
      Matrix_Name = "DEF_RGB_YUV"
      CSC_Coefficient_Matrix = 0.299,0.587,0.114,-0.169,-0.331,0.5,0.5,-0.419,-0.081
[SX-400:1]
[TX-70:1]
      Slot_Number = 0
      NTSC_PAL_Input_Board
[CameraPort:0]
      Name = "DEF0 STD"
      NP_HActive = 640
      NP_VActive = 480
      TX1_Mux_Select = Output_FIFO_0
      TX2_Mux_Select = Output_FIFO_0
)";

constexpr int kRgb = 0;
constexpr int kDecoder = 1;

std::vector<std::string> PagesOf(const QV_mod &module) {
    std::vector<std::string> names;
    for (const auto &group : module.GetParamGroups()) names.push_back(group->GetName());
    return names;
}

struct Module : testing::OpenedModule<TX70_plat_mod, QV_tx70_mod> {
    void SelectPort(int port) const { container->SetPort(port); }
};

class Tx70Test : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        BindAndLoad(kRack, std::string(kBoards) + kModules);
        Init();
    }

    void Init() { ASSERT_EQ(binding_->Entry<&::qrx_init_sys>()(0), 0); }

    Module Open(int board = kRgb) {
        Module module = OpenModule<Module>(board);
        module.container->MarkSaved();
        return module;
    }
};

TEST_F(Tx70Test, DefaultStructureWritesNoCoefficients) {
    Module module = Open();
    module.SelectPort(2);
    EXPECT_EQ(module.Row(101).SetIndex(0), 2);  // Default Structure
    const std::string written = Section(*module.container);
    EXPECT_THAT(PortLines(written, 2), Contains("      Matrix_Structure = Default_Structure"));
    EXPECT_TRUE(KeyLines(Section(*module.container), "CSC_Coefficient_Matrix").size() == 3u);
    for (const std::string &line : PortLines(written, 2))
        EXPECT_THAT(line, Not(::testing::HasSubstr("CSC_Coefficient_Matrix")));
}

TEST_F(Tx70Test, MatrixSelectorLoadsCatalogueMatricesOnlyForADefaultStructure) {
    Module module = Open();
    module.SelectPort(1);
    QV_usr_param &selector = module.Row(100);
    // A matrix of the port's own is an extra "custom", after the whole list.
    ASSERT_EQ(selector.GetChoices().size(), 12u);
    EXPECT_EQ(selector.GetChoices()[10], "custom");
    EXPECT_EQ(selector.GetChoices().back(), "custom");
    EXPECT_EQ(selector.GetIndex(), 11);

    // Own structure: choosing a predefined matrix loads nothing.
    EXPECT_EQ(selector.SetIndex(1), 2);
    EXPECT_EQ(module.Param(13).GetRawValue(1).GetText(), "custom");
    EXPECT_TRUE(module.Row(102).IsEnabled());

    module.Row(101).SetIndex(0);
    for (int id = 102; id <= 110; ++id) EXPECT_FALSE(module.Row(id).IsEnabled()) << id;
    EXPECT_EQ(selector.SetIndex(1), 2);  // DEF_RGB_BGR
    EXPECT_EQ(module.Param(13).GetRawValue(1).GetText(), "DEF_RGB_BGR");
    EXPECT_EQ(module.Raw(181, 1), 1.0);
    EXPECT_EQ(module.Raw(179, 1), 0.0);
    EXPECT_EQ(selector.GetChoices().size(), 11u);  // no extra "custom" while none is shown
    // The converter got the matrix, in its 1/256 steps.
    EXPECT_EQ(Register(module, TX70_CSC_FIRST_REGISTER), 0);
    EXPECT_EQ(Register(module, TX70_CSC_FIRST_REGISTER + 2), 256);
    EXPECT_EQ(Register(module, TX70_CSC_FIRST_REGISTER + 4), 256);

    // The entries from 8 on, the list's "custom" among them, bring back what
    // the port had and let it be edited.
    EXPECT_EQ(selector.SetIndex(10), 2);
    EXPECT_EQ(module.Param(13).GetRawValue(1).GetText(), "custom");
    EXPECT_EQ(module.Raw(179, 1), 0.5);
    EXPECT_EQ(module.Raw(186, 1), 0.125);
    for (int id = 102; id <= 110; ++id) EXPECT_TRUE(module.Row(id).IsEnabled()) << id;
    EXPECT_EQ(Register(module, TX70_CSC_FIRST_REGISTER + 8), 384);  // 1.5

    EXPECT_EQ(selector.GetIndex(), 11);
    EXPECT_EQ(selector.SetIndex(12), -1);
    EXPECT_THAT(ui.Texts(), ElementsAre("invalid index: 12 passed to SetIndex() for user param: "
                                        "CSC Matrix Name"));
    EXPECT_EQ(module.Param(179).GetRawValue(0).GetFloat(), 1.0f);  // other ports untouched
}

TEST_F(Tx70Test, ImageGeometryFollowsTheBoard) {
    Module rgb = Open();
    rgb.SelectPort(0);  // 1298 active from offset 0: 1303 rounded down
    EXPECT_EQ(rgb.platform->GetImageWidth(), 1300);
    EXPECT_EQ(rgb.platform->GetImageHeight(), 512);
    EXPECT_EQ(rgb.platform->GetBitsPerPixel(), 24);
    rgb.SelectPort(1);  // 770 - 2 + 5 = 773; interlaced 240 lines
    EXPECT_EQ(rgb.platform->GetImageWidth(), 772);
    EXPECT_EQ(rgb.platform->GetImageHeight(), 480);

    Module decoder = Open(kDecoder);
    decoder.SelectPort(0);
    EXPECT_EQ(decoder.platform->GetImageWidth(), 640);
    EXPECT_EQ(decoder.platform->GetImageHeight(), 480);
    // Port 0's multiplexers all select FIFO 0: mono.
    EXPECT_EQ(decoder.Raw(176, 0), 1);
    EXPECT_EQ(decoder.platform->GetBitsPerPixel(), 8);
    QV_usr_param &frameType = decoder.Row(111);
    EXPECT_EQ(frameType.GetIndex(), 1);
    EXPECT_EQ(frameType.SetIndex(0), 1);
    EXPECT_EQ(decoder.platform->GetBitsPerPixel(), 16);
    EXPECT_EQ(decoder.Raw(19, 0), 1);
    EXPECT_EQ(decoder.Raw(163, 0), 0);
    EXPECT_EQ(frameType.GetIndex(), 0);
    frameType.SetIndex(1);
    EXPECT_EQ(decoder.Raw(19, 0), 0);
    EXPECT_EQ(decoder.Raw(163, 0), 1);  // full luma range
    EXPECT_EQ(decoder.platform->GetBitsPerPixel(), 8);
    EXPECT_TRUE(KeyLines(Section(*decoder.container), "TX70_Frame_Type").empty());  // never written
    decoder.SelectPort(3);  // port 3's own decoder defaults
    EXPECT_EQ(decoder.platform->GetImageWidth(), 720);
    EXPECT_EQ(decoder.platform->GetImageHeight(), 576);

    // The hardware's board wins over the configuration's.
    EXPECT_EQ(rgb.platform->GetBoardType(), 8);
    EXPECT_EQ(decoder.platform->GetBoardType(), 7);
    SetHardwareEnabled(false);
    EXPECT_EQ(decoder.platform->GetBoardType(), 0);
    EXPECT_EQ(decoder.platform->GetBitsPerPixel(), 16);  // the stored board; port 3 YCrCb
}

TEST_F(Tx70Test, NewConfigurationNamesTheDecodersCamerasAfterTheParentsRevision) {
    moduleSettings.newConfiguration = true;
    Module decoder = Open(kDecoder);
    std::vector<std::string> names;
    for (int port = 0; port < 4; ++port)
        names.push_back(decoder.Param(3).GetRawValue(port).GetText());
    EXPECT_THAT(names, ElementsAre("DEF0 RS170 640x480", "DEF1 CCIR 720x576", "DEF2 RS170 640x480",
                                   "DEF3 CCIR 720x576"));
    // Revision 36 and up: every multiplexer selects FIFO 0.
    for (int port = 0; port < 4; ++port) {
        EXPECT_EQ(decoder.Raw(18, port) + decoder.Raw(19, port) + decoder.Raw(20, port), 0) << port;
        EXPECT_EQ(decoder.Raw(176, port), 1) << port;
    }

    // The RGB board renames only the standard default cameras.
    moduleSettings.newConfiguration = false;
    ASSERT_EQ(Load("[SYSTEM:0]\n[SX-400:0]\n[TX-70:0]\n      Slot_Number = 0\n[CameraPort:0]\n"
                   "      Name = \"DEF0 STD\"\n[CameraPort:1]\n      Name = \"DEF1 STD\"\n"),
              QRX_LOAD_OK);
    Init();
    moduleSettings.newConfiguration = true;
    Module rgb = Open();
    EXPECT_EQ(rgb.Param(3).GetRawValue(0).GetText(), "DEF0 RS170 512x480 PLL");
    EXPECT_EQ(rgb.Param(3).GetRawValue(1).GetText(), "DEF1 CCIR 512x512 PLL");
    EXPECT_EQ(rgb.Param(3).GetRawValue(2).GetText(), "Undefined");
    moduleSettings.newConfiguration = false;
    EXPECT_EQ(Open().Param(3).GetRawValue(0).GetText(), "DEF0 STD");
}

TEST_F(Tx70Test, PagesDependOnHardwareAndBoard) {
    Module rgb = Open();
    EXPECT_THAT(PagesOf(*rgb.container),
                ElementsAre("Camera", "RGB All", "RGB CSC Coef", "PLL registers"));
    EXPECT_FALSE(rgb.Row(8).IsEnabled());
    EXPECT_FALSE(rgb.Row(37).IsEnabled());

    Module decoder = Open(kDecoder);
    EXPECT_THAT(PagesOf(*decoder.container), ElementsAre("Camera", "Advanced"));

    SetHardwareEnabled(false);
    QV_tx70_mod offline(rgb.platform.get());
    EXPECT_THAT(PagesOf(offline),
                ElementsAre("Camera", "Advanced", "RGB All", "PLL registers", "RGB CSC Coef"));
    EXPECT_TRUE(offline.GetUsrParam(8)->IsEnabled());
}

TEST_F(Tx70Test, OutputLutAndBoardTypeRowsReachTheHardware) {
    Module rgb = Open();
    rgb.SelectPort(0);
    EXPECT_EQ(rgb.Row(79).SetIndex(1), 1);
    EXPECT_EQ(Register(rgb, TX70_LUT_REGISTER), TX70_LUT_HSI);
    rgb.Row(79).SetIndex(0);
    EXPECT_EQ(Register(rgb, TX70_LUT_REGISTER), TX70_LUT_LINEAR);

    // The board cannot be changed under real hardware: it reads back.
    EXPECT_EQ(rgb.Row(8).SetIndex(1), 2);
    EXPECT_EQ(rgb.Raw(7, 0), 8);
    EXPECT_EQ(rgb.Row(8).GetIndex(), 0);
    SetHardwareEnabled(false);
    rgb.Row(8).SetIndex(1);
    EXPECT_EQ(rgb.Raw(7, 0), 7);
    rgb.Row(79).SetIndex(1);
    EXPECT_EQ(Register(rgb, TX70_LUT_REGISTER), TX70_LUT_LINEAR);
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
}

}  // namespace
}  // namespace qvi
