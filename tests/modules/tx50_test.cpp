// The TX-50 against the real stand-in on an SX-400: a configuration whose
// four camera ports differ (two with custom PLL options, two without) is
// loaded, and what the module fills, shows, writes, sends to its registers
// and hands to the library's timing-generator entry is checked.
#include <bit>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/hardware.h"
#include "modules/acquisition/tx50.h"
#include "params/mod_param.h"
#include "quar/quar_modules.h"
#include "support/mod_sx400_pair.h"

namespace qvi {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using testing::PortLines;
using testing::Section;

// Ports 0 and 3 have custom PLL options; port 1 gives a custom value that a
// port without them ignores.
constexpr const char *kModule = R"([TX-50:0]
      Slot_Number = 0
      Startup_Port = 2
[CameraPort:0]
      Name = "RS-170 custom"
      Camera_select = Camera_0B
      Clock_Source = PLL_Mode
      Sync_stripper_src = Camera_1A
      Clamp_delay = 12
      Vertical_Active = 240
      Horizontal_Active = 640
      Video_input_Gain = "1.280"
      Video_input_level = "0.640"
      Pixel_frequency = "12.273"
      Cust_option = 1
      PLL_Reference = PLL_Ref_CSYNC
      Stripper = 250
      Vgate_start = 5
      Vgate_dur = 20
      Cust_N1 = 8
      Cust_VCO_Gain = 5
      Cust_Ph_det_gain = 3
      Cust_Post_Scaler = 4
      Cust_PDRSTEN = 1
      Cust_P2 = 1
[CameraPort:1]
      Name = "CCIR"
      Camera_select = Camera_1C
      Pixel_frequency = "14.750"
      Line_time = "64.000"
      Frame_time = "40000.000"
      PLL_Accuracy = "0.100"
      Stripper = 200
[CameraPort:2]
      Name = "Progressive"
      Camera_interlace = NonInterlaced
      Vertical_Active = 240
      Horizontal_Active = 512
      Sync_stripper_src = Camera_0_hsync
      Trigger_enable = Disabled
      Pixel_frequency = "14.318"
      Video_input_Gain = "1.280"
[CameraPort:3]
      Name = "Line scan"
      Cust_option = 1
)";

// The keys a port writes only with custom options, in list order.
const std::vector<std::string> kCustomKeys = {
    "PLL_Reference", "Stripper",         "Vgate_start",      "Vgate_dur",    "Cust_N1",
    "Cust_VCO_Gain", "Cust_Ph_det_gain", "Cust_Post_Scaler", "Cust_PDRSTEN", "Cust_P2",
};
constexpr int kCustomRows[] = {14, 43, 44, 45, 48, 49, 50, 51, 52, 53};

std::int16_t CameraS16(const std::uint8_t *camera, std::size_t offset) {
    return static_cast<std::int16_t>(RecordU16(camera, offset));
}

struct Module : testing::OpenedModule<TX50_plat_mod, QV_tx50_mod> {
    // Chooses the port as the "Active Camera" row does.
    void SelectPort(int port) const { Row(4).SetIndex(port); }
};

class Tx50Test : public testing::Sx400PairTest<Module> {
protected:
    void SetUp() override { LoadOnTwoBoards("TX-50", kModule); }
};

// Only a port with custom options writes the ten custom keys.
TEST_F(Tx50Test, OnlyPortsWithCustomOptionsWriteTheirKeys) {
    const std::string written = Section(*Open().container);
    for (int port = 0; port < 4; ++port)
        for (const std::string &key : kCustomKeys)
            EXPECT_EQ(testing::KeyLines(PortLines(written, port), key).size(),
                      port == 0 || port == 3 ? 1u : 0u)
                << key << " port " << port;
}

TEST_F(Tx50Test, PortsWithoutCustomOptionsRunWithTheFixedSettings) {
    Module module = Open();
    // Port 1's structure holds a stripper value, which it does not use.
    EXPECT_EQ(CameraS16(module.platform->PortCamera(1), 0x124), 200);
    const std::vector<std::tuple<int, int>> fixed = {
        {22, 0}, {53, 252}, {54, 6}, {55, 18}, {58, 10},
        {59, 6}, {60, 2},   {61, 2}, {62, 0},  {63, 1},
    };
    for (const auto &[handle, value] : fixed)
        EXPECT_EQ(module.Param(handle).GetRawValue(1).GetShort(), value) << handle;
    EXPECT_EQ(module.Param(53).GetRawValue(0).GetShort(), 250);

    // The custom rows are greyed while the current port has no options.
    for (int id : kCustomRows) EXPECT_FALSE(module.Row(id).IsEnabled()) << id;
    module.SelectPort(0);
    for (int id : kCustomRows) EXPECT_TRUE(module.Row(id).IsEnabled()) << id;
    EXPECT_EQ(module.Row(47).SetIndex(0), 2);  // every row redrawn
    EXPECT_EQ(module.Raw(57), 0);
    for (int id : kCustomRows) EXPECT_FALSE(module.Row(id).IsEnabled()) << id;
    EXPECT_THAT(PortLines(Section(*module.container), 0), Not(Contains("      Stripper = 250")));
}

TEST_F(Tx50Test, StripperSourceIsDecodedFromTheLibrarysCode) {
    Module module = Open();
    std::uint8_t *camera = module.platform->PortCamera(3);
    ASSERT_NE(camera, nullptr);
    for (const auto &[code, value] :
         std::vector<std::tuple<int, int>>{{0, 1}, {1, 0}, {3, 2}, {9, 4}, {8, 3}}) {
        camera[0x36] = static_cast<std::uint8_t>(code);
        module.platform->FillPortParams(*module.container, 3);
        EXPECT_EQ(module.Param(31).GetRawValue(3).GetShort(), value) << code;
    }
    EXPECT_THAT(PortLines(Section(*module.container), 3),
                Contains("      Sync_stripper_src = Camera_0_hsync"));
    // A code without a word leaves the setting as it was.
    camera[0x36] = 5;
    module.platform->FillPortParams(*module.container, 3);
    EXPECT_EQ(module.Param(31).GetRawValue(3).GetShort(), 3);
    EXPECT_TRUE(ui.messages.empty());

    // A port the text says nothing about has the library's default, the
    // module's own default.
    EXPECT_THAT(PortLines(Section(*module.container), 1),
                Contains("      Sync_stripper_src = Camera_mux"));
    QV_tx50_mod fresh(module.platform.get());
    EXPECT_THAT(PortLines(Section(fresh), 1), Contains("      Sync_stripper_src = Camera_mux"));
}

TEST_F(Tx50Test, HundredthsAreShownAndStoredAsTheNumberTheyStandFor) {
    Module module = Open();
    module.SelectPort(0);
    QV_usr_param &gain = module.Row(41);
    EXPECT_TRUE(gain.GetValue().Equals(QV_param_val::Float(1.28f)));
    EXPECT_EQ(gain.SetValue(QV_param_val::Float(0.64f)), 0);
    EXPECT_EQ(module.Raw(51), 64);
    EXPECT_TRUE(gain.GetValue().Equals(QV_param_val::Float(0.64f)));
    EXPECT_EQ(Register(module, 56), 20);  // 64 x 0.31875 + 0.5
    EXPECT_THAT(PortLines(Section(*module.container), 0),
                Contains("      Video_input_Gain = \"0.640\""));

    QV_usr_param &level = module.Row(42);
    level.SetValue(QV_param_val::Float(2.996f));
    EXPECT_EQ(module.Raw(52), 300);  // rounded, not truncated
    EXPECT_EQ(Register(module, 58), 255);

    EXPECT_EQ(gain.SetValue(QV_param_val::Float(400.0f)), -1);
    EXPECT_THAT(ui.Texts(),
                ElementsAre("value out of range: 400.000 passed to SetValue() for user param: "
                            "Input Gain"));
    EXPECT_EQ(module.Raw(51), 64);
}

TEST_F(Tx50Test, KeysReachTheHardwareInItsUnits) {
    Module module = Open();  // port 2: non-interlaced, crystal, stripper code 8
    EXPECT_EQ(Register(module, 10), 0);
    EXPECT_EQ(Register(module, 23), 1);    // XTAL_Mode, inverted on the way
    EXPECT_EQ(Register(module, 19), 3);    // the word's position, not the library's code
    EXPECT_EQ(Register(module, 53), 239);  // one less than the active lines
    EXPECT_EQ(Register(module, 56), 41);   // 128 x 0.31875 + 0.5
    EXPECT_EQ(Register(module, 37), 0);    // Disabled, inverted

    module.SelectPort(0);
    EXPECT_EQ(Register(module, 26), 1);    // clamp delay 12: 12 / 4 - 1.75
    EXPECT_EQ(Register(module, 23), 0);    // PLL_Mode inverted
    EXPECT_EQ(Register(module, 55), 639);  // horizontal active less one
    QV_usr_param &lineRate = module.Row(43);
    EXPECT_TRUE(lineRate.GetValue().Equals(QV_param_val::S16(16)));  // 250: 16.5 kHz
    lineRate.SetValue(QV_param_val::S16(31));
    EXPECT_EQ(module.Raw(53), 175);
    EXPECT_EQ(Register(module, 57), 175);
}

TEST_F(Tx50Test, VerticalActiveFollowsTheCameraMode) {
    Module module = Open();  // port 2: non-interlaced, 240 stored
    QV_usr_param &active = module.Row(36);
    EXPECT_EQ(module.platform->GetImageHeight(), 480);
    EXPECT_EQ(module.platform->GetImageWidth(), 512);
    EXPECT_TRUE(active.GetValue().Equals(QV_param_val::S16(480)));

    QV_usr_param &mode = module.Row(12);
    EXPECT_EQ(mode.GetIndex(), 1);
    EXPECT_EQ(mode.SetIndex(0), 1);  // interlaced: the shown 480 is stored
    EXPECT_EQ(module.Raw(20), 1);
    EXPECT_EQ(module.Raw(25), 480);
    EXPECT_TRUE(active.GetValue().Equals(QV_param_val::S16(480)));
    EXPECT_EQ(module.platform->GetImageHeight(), 480);

    mode.SetIndex(1);
    EXPECT_EQ(module.Raw(25), 240);
    active.SetValue(QV_param_val::S16(301));  // halved toward zero
    EXPECT_EQ(module.Raw(25), 150);
    EXPECT_EQ(Register(module, 53), 149);

    TX50_plat_mod alone(binding_.get(), ModuleHandle(0));
    EXPECT_EQ(alone.GetImageHeight(), 0);
    EXPECT_EQ(alone.GetImageWidth(), 0);
}

TEST_F(Tx50Test, InputMuxOffersThePortsInputs) {
    Module module = Open();
    QV_usr_param &mux = module.Row(46);
    // port, labels, index chosen, input stored, word written
    const std::vector<std::tuple<int, std::vector<std::string>, int, int, std::string>> cases = {
        {0, {"Camera 0A", "Camera 0B", "Camera 0C"}, 2, 2, "Camera_0C"},
        {1, {"Camera 1A", "Camera 1B", "Camera 1C"}, 1, 4, "Camera_1B"},
        {2, {"Camera 2"}, 0, 6, "Camera_3"},
        {3, {"Camera 3"}, 0, 7, "Camera_2"},
    };
    for (const auto &[port, labels, index, input, word] : cases) {
        module.SelectPort(port);
        EXPECT_EQ(mux.GetChoices(), labels) << port;
        EXPECT_EQ(mux.SetIndex(index), 1);
        EXPECT_EQ(module.Raw(30), input) << port;
        EXPECT_EQ(Register(module, 18), input) << port;
        EXPECT_EQ(mux.GetIndex(), index) << port;
        EXPECT_THAT(PortLines(Section(*module.container), port),
                    Contains("      Camera_select = " + word));
    }
    // Another port's input shows as the first of this port's.
    module.SelectPort(1);
    module.Param(30).SetRawValue(QV_param_val::S16(2));
    EXPECT_EQ(mux.GetIndex(), 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(mux.SetIndex(3), -1);
    EXPECT_EQ(module.Raw(30), 2);
}

TEST_F(Tx50Test, TimingGeneratorGetsTheTimesOfTheActivePort) {
    Module module = Open();
    module.SelectPort(0);
    module.Row(6).SetIndex(0);  // the generator interlaced
    // An RS-170 camera: 12.273 MHz, 63.556 us lines, 525 lines a frame.
    for (const auto &[id, value] : std::vector<std::tuple<int, float>>{
             {54, 0.1f}, {56, 63.556f}, {57, 4.7f}, {58, 33366.7f}, {59, 190.7f}, {60, 1271.1f}})
        module.Row(id).SetValue(QV_param_val::Float(value));

    const std::uint8_t *camera = module.platform->PortCamera(0);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_LINE_CLOCKS), 780);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_HSYNC_CLOCKS), 58);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_FRAME_LINES), 525);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_VSYNC_HALF_LINES), 6);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_VBLANK_LINES), 20);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_INTERLACE), 1);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_CLOCK_SOURCE), 1);  // PLL_Mode
    // Locked to the line: one reference per line, the custom post scaler.
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_REF_DIVIDER), 1);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_POST_SCALER), 4);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_FEEDBACK_DIVIDER), 3120);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_VCO_GAIN), 5);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_LOCKED), 1);
    EXPECT_EQ(module.platform->ProgramTimingGenerator(), 0);

    // The custom options as the module leaves them for the library: Cust_P2
    // as its position, the others as shown or stored.
    const std::vector<std::tuple<std::size_t, int>> words = {
        {0x116, 1}, {0x118, 8}, {0x11a, 5},   {0x11c, 3}, {0x11e, 4},  {0x120, 1},
        {0x122, 0}, {0x12a, 1}, {0x124, 250}, {0x126, 5}, {0x128, 20},
    };
    for (const auto &[offset, value] : words) EXPECT_EQ(CameraS16(camera, offset), value) << offset;
    EXPECT_EQ(RecordU16(module.platform->Spec(), 0), 0);

    // From the crystal the clock comes through other dividers, as close.
    module.Row(5).SetIndex(0);
    module.Row(55).SetValue(QV_param_val::Float(12.273f));
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_CLOCK_SOURCE), 0);
    EXPECT_GT(CameraS16(camera, TX50_TGEN_REF_DIVIDER), 1);
    const float clock = std::bit_cast<float>(RecordU32(camera, TX50_TGEN_PIXEL_CLOCK));
    EXPECT_NEAR(clock, 12.273f, 12.273f * 0.001f);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_LOCKED), 1);

    // Without hardware nothing is handed over.
    SetHardwareEnabled(false);
    module.Row(56).SetValue(QV_param_val::Float(64.0f));
    EXPECT_EQ(module.platform->ProgramTimingGenerator(), 0);
    EXPECT_EQ(CameraS16(camera, TX50_TGEN_LINE_CLOCKS), 780);
    SetHardwareEnabled(true);

    // Port 2 has a pixel frequency but no line time: nothing to program.
    module.SelectPort(2);
    EXPECT_EQ(module.platform->ProgramTimingGenerator(), -2);
    EXPECT_EQ(CameraS16(module.platform->PortCamera(2), TX50_TGEN_LINE_CLOCKS), 0);
    EXPECT_EQ(RecordU16(module.platform->Spec(), 0), 2);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace qvi
