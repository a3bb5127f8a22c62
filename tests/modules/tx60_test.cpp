// The TX-60 against the real stand-in: two SX-400 boards each carry one, the
// first with a camera whose settings are away from the defaults, and what the
// module fills, shows and writes, and what its board makes of it, is checked.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "modules/acquisition/tx60.h"
#include "modules/model_registry.h"
#include "params/mod_param.h"
#include "support/mod_sx400_pair.h"

namespace qvi {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using testing::Lines;
using ::testing::Not;
using testing::Section;

constexpr const char *kModule = R"([TX-60:0]
      Slot_Number = 0
      Name = "Dalsa CA-D4"
      Camera_ID = 2
      Camera_Mode = 4
      PRI_Enable
      Horizontal_Active = 0x280
      Acq_DX = 640
      Acq_DY = 480
[SX-400:1]
[TX-60:1]
      Slot_Number = 0
)";

constexpr int kCameraIdRow = 1;
constexpr int kCameraModeRow = 2;
constexpr int kPriEnableRow = 20;
constexpr int kHorizontalActiveRow = 24;

using Module = testing::OpenedModule<TX60_plat_mod, QV_tx60_mod>;

class Tx60Test : public testing::Sx400PairTest<Module> {
protected:
    void SetUp() override { LoadOnTwoBoards("TX-60", kModule); }
};

// The interrupt enable is a bare word or no line; the horizontal active is
// kept as a signed 16-bit value and written in hexadecimal.
TEST_F(Tx60Test, InterruptEnableAndHorizontalActiveAsWrittenAndSent) {
    Module module = Open(1);
    auto written = [&] { return Lines(Section(*module.container)); };
    EXPECT_THAT(written(), Not(Contains(HasSubstr("PRI_Enable"))));
    EXPECT_THAT(written(), Contains("      Horizontal_Active = 0x0"));
    EXPECT_EQ(module.Row(kPriEnableRow).SetIndex(1), 1);
    EXPECT_THAT(written(), Contains("      PRI_Enable"));
    EXPECT_EQ(Register(module, 27), 1);

    QV_usr_param &active = module.Row(kHorizontalActiveRow);
    EXPECT_EQ(active.SetValue(QV_param_val::U32(640)), 0);
    EXPECT_TRUE(module.Value(34).Equals(QV_param_val::S16(640)));
    EXPECT_EQ(Register(module, 31), 640);
    active.SetValue(QV_param_val::Float(512.75f));
    EXPECT_TRUE(module.Value(34).Equals(QV_param_val::S16(512)));
    EXPECT_THAT(written(), Contains("      Horizontal_Active = 0x200"));
}

// The image is the acquisition size; its depth is twelve bits only for
// camera mode 4 with camera id 2.
TEST_F(Tx60Test, ImageIsTheAcquisitionSizeAndTwelveBitsOnlyForModeFourWithIdTwo) {
    Module module = Open();  // mode "4", id "2"
    EXPECT_EQ(module.platform->GetImageWidth(), 640);
    module.Row(29).SetValue(QV_param_val::S16(1000));
    EXPECT_EQ(module.platform->GetImageHeight(), 1000);
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 12);
    module.Row(kCameraIdRow).SetIndex(1);
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 8);
    module.Row(kCameraIdRow).SetIndex(2);
    module.Row(kCameraModeRow).SetIndex(3);  // "5"
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 8);
    EXPECT_EQ(Register(module, 5), 5);
    module.Row(kCameraModeRow).SetIndex(2);
    EXPECT_EQ(module.platform->GetBitsPerPixel(), 12);

    TX60_plat_mod alone(binding_.get(), ModuleHandle(0));
    EXPECT_EQ(alone.GetBitsPerPixel(), 8);
}

}  // namespace
}  // namespace qvi
