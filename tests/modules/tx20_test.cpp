// The TX-20 against the real stand-in on an SX-400: a configuration with
// different settings on every camera port is loaded, and what the module
// fills, shows, writes and sends to its registers is checked.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/hardware.h"
#include "modules/acquisition/tx20.h"
#include "params/mod_param.h"
#include "support/mod_sx400_pair.h"

namespace qvi {
namespace {

using ::testing::Contains;
using testing::PortLines;
using testing::Section;

constexpr const char *kModule = R"([TX-20:0]
      Slot_Number = 0
      Startup_Port = 2
[CameraPort:0]
      Name = "Pulnix"
      Timing_Option = RS170_12.28
      PLL_Mode
      NonInterlaced
      Horizontal_Active = 159
      Vertical_Active = 239
[CameraPort:1]
      Name = "Sony"
      Timing_Option = Alternate_6
      Interlaced
      Horizontal_Active = 191
      Vertical_Active = 287
[CameraPort:2]
      Name = "Kodak"
      Timing_Option = MC1000P_20.00
[CameraPort:3]
      Name = "Dalsa"
      Timing_Option = CCIR_10.00
)";

using Module = testing::OpenedModule<TX20_plat_mod, QV_tx20_mod>;

class Tx20Test : public testing::Sx400PairTest<Module> {
protected:
    void SetUp() override { LoadOnTwoBoards("TX-20", kModule); }

    // A board's module, filled and attached as the system attaches it; seen
    // at port 0 unless `keepStartupPort`.
    Module Open(int board = 0, bool keepStartupPort = false) {
        Module module = OpenModule<Module>(board);
        if (!keepStartupPort) module.container->SetPort(0);
        return module;
    }
};

TEST_F(Tx20Test, TimingOptionIsWrittenAsTheFirstWordOfItsValueOrTheFirstWord) {
    Module module = Open();
    EXPECT_EQ(Open(0, true).container->GetModParam(5)->GetCurrentPort(), 2);  // the start-up port
    // "Alternate_6" stands for the value of "CCIR_15.00".
    EXPECT_THAT(PortLines(Section(*module.container), 1),
                Contains("      Timing_Option = CCIR_15.00"));
    std::uint8_t *camera = module.platform->PortCamera(3);
    ASSERT_NE(camera, nullptr);
    camera[0x1c] = 5;  // no time base has value 5
    camera[0x1d] = 0;
    module.platform->FillParams(*module.container);
    EXPECT_EQ(module.container->GetModParam(5)->GetRawValue(3).GetShort(), 5);
    EXPECT_THAT(PortLines(Section(*module.container), 3),
                Contains("      Timing_Option = RS170_10.00"));
    module.container->SetPort(3);
    EXPECT_EQ(module.Row(0).GetIndex(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Tx20Test, GeometryIsShownInPixelsAndLines) {
    Module module = Open();  // port 0: width 159, height 239, non-interlaced
    EXPECT_TRUE(module.Row(21).GetValue().Equals(QV_param_val::S16(640)));
    EXPECT_EQ(module.platform->GetImageWidth(), 640);
    EXPECT_TRUE(module.Row(22).GetValue().Equals(QV_param_val::S16(480)));
    EXPECT_EQ(module.platform->GetImageHeight(), 480);

    module.Row(21).SetValue(QV_param_val::S16(1000));
    EXPECT_EQ(module.Raw(24), 249);
    EXPECT_EQ(Register(module, 29), 249);
    module.Row(21).SetValue(QV_param_val::S16(640));
    EXPECT_EQ(module.Raw(24), 159);
    module.Row(22).SetValue(QV_param_val::S16(301));  // halved toward zero, less one
    EXPECT_EQ(module.Raw(26), 149);

    module.container->SetPort(1);  // height 287, interlaced
    EXPECT_TRUE(module.Row(22).GetValue().Equals(QV_param_val::S16(288)));
    EXPECT_EQ(module.platform->GetImageHeight(), 288);
    module.Row(22).SetValue(QV_param_val::S16(301));
    EXPECT_EQ(Register(module, 31), 300);

    TX20_plat_mod alone(binding_.get(), ModuleHandle(0));
    EXPECT_EQ(alone.GetImageWidth(), 0);
    EXPECT_EQ(alone.GetImageHeight(), 0);
}

TEST_F(Tx20Test, ScanModeKeepsTheShownHeightAndReferencesReachTheHardwareInItsSteps) {
    Module module = Open();
    QV_usr_param &scan = module.Row(4);
    EXPECT_EQ(scan.GetIndex(), 1);  // "Non-interlaced"
    EXPECT_EQ(scan.SetIndex(0), 1);
    EXPECT_EQ(module.Raw(9), 1);
    EXPECT_EQ(module.Raw(26), 479);
    EXPECT_TRUE(module.Row(22).GetValue().Equals(QV_param_val::S16(480)));
    scan.SetIndex(1);
    EXPECT_EQ(module.Raw(26), 239);

    EXPECT_EQ(scan.SetIndex(2), -1);
    EXPECT_EQ(module.Raw(9), 0);
    EXPECT_EQ(module.Raw(26), 239);

    // The references reach the hardware in its steps.
    module.Row(25).SetValue(QV_param_val::S16(1500));
    module.Row(26).SetValue(QV_param_val::S16(2000));
    EXPECT_EQ(module.Raw(33), 1500);
    EXPECT_EQ(Register(module, 45), 430);  // 1500 x 0.28672
    EXPECT_EQ(Register(module, 46), 430);  // 2000 x 0.215385
}

TEST_F(Tx20Test, TimeBaseLabelsFollowRegisterThree) {
    const QRX_HANDLE handle = ModuleHandle(0);
    auto secondLabel = [&] {
        TX20_plat_mod platform(binding_.get(), handle);
        QV_tx20_mod container(&platform);
        const std::vector<std::string> choices = container.GetUsrParam(0)->GetChoices();
        return choices.size() == 7 ? choices[1] : std::string();
    };
    EXPECT_EQ(secondLabel(), "VGA   640x480 (NI)");
    SetRegister(handle, 3, 1);
    EXPECT_EQ(secondLabel(), "MC1000P 1000x504 20MHz");
    SetRegister(handle, 3, 2);
    EXPECT_EQ(secondLabel(), "VGA   640x480 (NI)");
}

}  // namespace
}  // namespace qvi
