// The TX-40 against the real stand-in: two SX-400 boards each carry one, the
// first with a camera whose settings are away from the defaults, and what the
// module fills, shows, writes, sends to its registers and stores in the
// library's camera structure is checked.
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/hardware.h"
#include "modules/acquisition/tx40.h"
#include "modules/model_registry.h"
#include "params/mod_param.h"
#include "support/mod_sx400_pair.h"

namespace qvi {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::Lines;
using testing::Section;

// Interleaved pixels: the file holds the width the camera delivers (636 + 4).
constexpr const char *kModule = R"([TX-40:0]
      Slot_Number = 0
      Name = "Pulnix TM-1040"
      Camera_Structure = Create_Structure
      Horizontal_Active = 636
      Horizontal_Offset = 10
      Vertical_Active = 479
      Interlaced
      Interleaved_Pixels
      Pixel_Size_16
      CCLK_24.00MHz
      CCLK_Div4
      EXSCLK_14.32_Div8
      EXSync_Counter_Enable
      EXSCLK_CounterPreset = 997
      Camera_Mode = 5
[SX-400:1]
[TX-40:1]
      Slot_Number = 0
)";

// Rows of the Module Setup dialog.
constexpr int kVerticalActiveRow = 1;
constexpr int kModeControl0Row = 18;
constexpr int kPixelSizeRow = 21;
constexpr int kCoarseClockRow = 23;
constexpr int kFineClockRow = 24;
constexpr int kExSyncWidthRow = 26;
constexpr int kExSyncFineRow = 27;
constexpr int kInterleaveRow = 31;
constexpr int kHorizontalOffsetRow = 32;
constexpr int kHorizontalActiveRow = 33;

constexpr std::size_t kRecordFieldOffset = 0x6a;

struct Module : testing::OpenedModule<TX40_plat_mod, QV_tx40_mod> {
    // The library's record of the module: the specification, then the
    // reference to the current camera structure.
    const std::uint8_t *Record() const { return platform->Spec(); }
};

class Tx40Test : public testing::Sx400PairTest<Module> {
protected:
    void SetUp() override { LoadOnTwoBoards("TX-40", kModule); }
};

TEST_F(Tx40Test, InterleavedWidthCountsPixelPairsAndSwitchingKeepsTheWindowInPixels) {
    Module module = Open();
    EXPECT_EQ(module.Raw(37), 316);  // (636 / 2) - 2
    EXPECT_EQ(module.Raw(36), 10);
    EXPECT_EQ(module.platform->GetImageWidth(), 640);
    EXPECT_TRUE(module.Row(kHorizontalActiveRow).GetValue().Equals(QV_param_val::S16(640)));
    EXPECT_TRUE(module.Row(kHorizontalOffsetRow).GetValue().Equals(QV_param_val::S16(20)));

    QV_usr_param &interleave = module.Row(kInterleaveRow);
    EXPECT_EQ(interleave.GetIndex(), 1);
    EXPECT_EQ(interleave.SetIndex(0), 1);
    EXPECT_EQ(module.Raw(32), 0);
    EXPECT_EQ(module.Raw(37), 636);
    EXPECT_EQ(module.Raw(36), 20);
    EXPECT_EQ(Register(module, 37), 636);
    EXPECT_EQ(Register(module, 36), 20);
    EXPECT_EQ(module.platform->GetImageWidth(), 640);
    EXPECT_EQ(interleave.SetIndex(1), 1);
    EXPECT_EQ(module.Raw(37), 316);
    EXPECT_EQ(module.Raw(36), 10);
    EXPECT_EQ(interleave.SetIndex(1), 1);  // no switch: nothing moves
    EXPECT_EQ(module.Raw(37), 316);
    EXPECT_EQ(interleave.SetIndex(2), -1);
    EXPECT_EQ(module.Raw(32), 1);
    EXPECT_EQ(ui.Texts().size(), 1u);

    Module plain = Open(1);
    plain.container->GetModParam(37)->SetRawValue(QV_param_val::S16(636));
    EXPECT_EQ(plain.platform->GetImageWidth(), 640);
    EXPECT_THAT(Lines(Section(*plain.container)), Contains("      Horizontal_Active = 636"));
    TX40_plat_mod alone(binding_.get(), ModuleHandle(0));
    EXPECT_EQ(alone.GetImageWidth(), 0);
}

TEST_F(Tx40Test, WindowRowsStoreWhatIsEnteredInTheCurrentCameraStructure) {
    Module module = Open();
    const std::uint8_t *record = module.Record();
    ASSERT_NE(record, nullptr);

    module.Row(kHorizontalActiveRow).SetValue(QV_param_val::S16(1000));
    EXPECT_EQ(module.Raw(37), 496);  // pairs, less four
    EXPECT_EQ(RecordU16(record, 0x5e), 1000);
    module.Row(kHorizontalOffsetRow).SetValue(QV_param_val::S16(30));
    EXPECT_EQ(module.Raw(36), 15);
    EXPECT_EQ(RecordU16(record, 0x5c), 30);
    module.Row(kVerticalActiveRow).SetValue(QV_param_val::S16(480));
    EXPECT_EQ(module.Raw(39), 479);
    EXPECT_TRUE(module.Row(kVerticalActiveRow).GetValue().Equals(QV_param_val::S16(480)));
    EXPECT_EQ(RecordU16(record, 0x62), 480);
    EXPECT_EQ(Register(module, 39), 479);

    // After the copy the rows update the copy; the specification stays.
    module.platform->CopyCameraConfig();
    std::uint8_t *copy = module.platform->CurrentCamera();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(module.platform->Deref(RecordU32(copy, kRecordFieldOffset)), copy);
    EXPECT_EQ(module.Row(kPixelSizeRow).SetIndex(1), 1);
    EXPECT_EQ(module.Raw(31), 1);
    EXPECT_EQ(RecordU16(copy, 0x4e), 1);
    EXPECT_EQ(RecordU16(record, 0x4e), 3);

    // Another copy starts again from the specification, not from the last copy.
    module.platform->CopyCameraConfig();
    std::uint8_t *again = module.platform->CurrentCamera();
    ASSERT_NE(again, copy);
    EXPECT_EQ(RecordU16(again, 0x4e), 3);
}

TEST_F(Tx40Test, ExSyncWidthAndClockLabelsFollowTheirSettings) {
    Module module = Open();  // preset 997, counter on, the 0.5586 us clock
    QV_usr_param &width = module.Row(kExSyncWidthRow);
    width.Refresh();
    EXPECT_THAT(width.GetChoices(), ElementsAre("disabled", "140.00 us", "558.60 us", "2.23 ms",
                                                "8.93 ms", "35.70 ms", "143.00 ms"));
    EXPECT_EQ(width.GetIndex(), 2);
    module.container->GetModParam(30)->SetRawValue(QV_param_val::S16(0));
    EXPECT_EQ(width.GetChoices()[1], "420.00 ns");

    EXPECT_EQ(width.SetIndex(0), 0);
    EXPECT_EQ(module.Raw(25), 0);
    EXPECT_EQ(width.GetIndex(), 0);
    EXPECT_EQ(width.SetIndex(6), 2);
    EXPECT_EQ(module.Raw(25), 1);
    EXPECT_EQ(module.Raw(23), 5);
    EXPECT_EQ(width.GetIndex(), 6);

    QV_usr_param &exSyncFine = module.Row(kExSyncFineRow);
    EXPECT_EQ(exSyncFine.SetValue(QV_param_val::S16(100)), 0);
    EXPECT_TRUE(exSyncFine.GetValue().Equals(QV_param_val::S16(0)));
    EXPECT_TRUE(ui.messages.empty());

    // 24.00 MHz divided by 4.
    QV_usr_param &coarse = module.Row(kCoarseClockRow);
    QV_usr_param &fine = module.Row(kFineClockRow);
    EXPECT_THAT(coarse.GetChoices(), ElementsAre("tbd"));
    module.container->RefreshUsrParams();
    EXPECT_THAT(coarse.GetChoices(),
                ElementsAre("187.50 KHz", "375.00 KHz", "750.00 KHz", "1.50 MHz", "3.00 MHz",
                            "6.00 MHz", "12.00 MHz", "24.00 MHz"));
    EXPECT_EQ(coarse.GetIndex(), 5);
    EXPECT_EQ(fine.GetIndex(), 2);
    // The base frequencies are 32-bit floats: 25.18 and 44.90 lie just above.
    EXPECT_THAT(fine.GetChoices(),
                ElementsAre("3.58 MHz", "4.07 MHz", "6.00 MHz", "6.30 MHz", "7.08 MHz", "8.13 MHz",
                            "9.00 MHz", "10.00 MHz", "11.23 MHz", "12.50 MHz"));

    EXPECT_EQ(coarse.SetIndex(7), 2);
    EXPECT_EQ(module.Raw(11), 0);  // divide by 1
    EXPECT_EQ(fine.GetChoices()[0], "14.32 MHz");
    EXPECT_EQ(fine.SetIndex(7), 2);
    EXPECT_EQ(module.Raw(10), 7);  // the 40.00 MHz code
    EXPECT_EQ(Register(module, 5), 7);
    EXPECT_EQ(coarse.GetChoices().back(), "40.00 MHz");
    EXPECT_EQ(coarse.SetIndex(8), -1);
    EXPECT_EQ(module.Raw(11), 0);
}

TEST_F(Tx40Test, BitsPerPixelFollowPixelSizeInterleaveAndRegisterThree) {
    Module module = Open();  // 16-bit pixels, interleaved
    QV_mod_param &size = *module.container->GetModParam(31);
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 8);
    SetRegister(module, 3, 2);
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 24);
    size.SetRawValue(QV_param_val::S16(2));
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 12);
    SetRegister(module, 3, 0);
    for (const auto &[pixelSize, interleave, bits] : std::vector<std::tuple<int, int, int>>{
             {0, 0, 8}, {1, 0, 10}, {2, 1, 12}, {3, 0, 16}, {3, 1, 8}, {5, 0, 0}}) {
        size.SetRawValue(QV_param_val::S16(static_cast<std::int16_t>(pixelSize)));
        module.container->GetModParam(32)->SetRawValue(
            QV_param_val::S16(static_cast<std::int16_t>(interleave)));
        EXPECT_EQ(module.platform->GetBitsPerPixel(), bits) << pixelSize << " " << interleave;
    }
}

TEST_F(Tx40Test, PixelSizeLoadsTheMatchingLinearLookUpTable) {
    Module module = Open();
    const std::string filled = Console([&] { module.platform->FillParams(*module.container); });
    EXPECT_EQ(filled, "TX-40:0 input LUT: linear, 65536 entries (16-bit pixels)\n");

    const std::string chosen = Console([&] { module.Row(kPixelSizeRow).SetIndex(1); });
    EXPECT_EQ(Register(module, 28), 1);
    EXPECT_EQ(chosen, "TX-40:0 input LUT: linear, 1024 entries (10-bit pixels)\n");

    SetHardwareEnabled(false);
    EXPECT_EQ(Console([&] { module.Row(kPixelSizeRow).SetIndex(0); }), "");
    EXPECT_EQ(module.Raw(31), 0);
}

TEST_F(Tx40Test, ModeControlRowsAreBitsOfCameraMode) {
    Module module = Open();  // Camera_Mode 5: lines 0 and 2 high
    std::vector<int> shown;
    for (int row = kModeControl0Row; row < kModeControl0Row + 3; ++row)
        shown.push_back(module.Row(row).GetIndex());
    EXPECT_THAT(shown, ElementsAre(1, 0, 1));
    EXPECT_EQ(module.Row(kModeControl0Row + 1).SetIndex(1), 1);
    EXPECT_EQ(module.Raw(13), 7);
    EXPECT_EQ(module.Row(kModeControl0Row).SetIndex(0), 1);
    EXPECT_EQ(module.Raw(13), 6);
    EXPECT_EQ(Register(module, 8), 6);

    EXPECT_EQ(module.Row(kModeControl0Row + 1).SetIndex(2), -1);
    EXPECT_EQ(module.Raw(13), 6);

    // '0' is looked for first, then '1', then '2', wherever they stand.
    const ParamList &params = module.container->GetModParams();
    TX40_cam_mode_usr_param line1("Line 21", 90, params, 13, {"low", "high"});
    EXPECT_EQ(line1.GetIndex(), 1);
    line1.SetIndex(0);
    EXPECT_EQ(module.Raw(13), 4);
    TX40_cam_mode_usr_param unnamed("Mode Control X", 91, params, 13, {"low", "high"});
    EXPECT_EQ(unnamed.GetIndex(), 0);
    EXPECT_EQ(unnamed.SetIndex(1), -1);
    EXPECT_EQ(module.Raw(13), 4);
    EXPECT_THAT(ui.Texts(),
                ElementsAre("invalid index: 2 passed to "
                            "TX40_cam_mode_usr_param::SetIndex for Mode Control 1",
                            "unknown mode control bit name: Mode Control X in "
                            "TX40_cam_mode_usr_param::GetIndex  must have a 0, 1 or 2",
                            "unknown mode control bit name: Mode Control X in "
                            "TX40_cam_mode_usr_param::SetIndex  must have a 0, 1 or 2"));
}

}  // namespace
}  // namespace qvi
