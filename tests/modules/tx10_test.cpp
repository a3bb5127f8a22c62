// The TX-10 against the real stand-in: a configuration with a Lumo board is
// loaded through the bound library, the module gets its platform object and
// container, and what it fills, shows, writes and sends to the registers is
// checked.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "keys/model_tables.h"
#include "modules/acquisition/tx10.h"
#include "params/mod_param.h"
#include "support/bound_stand_in.h"

namespace qvi {
namespace {

using testing::Section;

constexpr const char *kRack = "[Board]\nKind = SXP\nRevision = 30\nSlot0 = TX-10\n";

// Ports with their own geometry; port 1 carries the PLL words of the
// bit-layout examples.
constexpr const char *kModule = R"([TX-10:0]
      Slot_Number = 0
      Startup_Port = 2
[CameraPort:0]
      Name = "Left"
      Camera_Structure = Create_Structure
      HTotal = 780
      HActive = 527
      HOffset = 10
      VActive = 480
      VOffset = 20
      Interlaced
      PLL_RDIV = 1023
      PLL_REFPOL_Hi
[CameraPort:1]
      Name = "Right"
      Camera_Structure = Create_Structure
      CCIR
      PLL_FDIV = 2047
      PLL_External_Feedback
      PLL_FBKPOL_Lo
      PLL_ADD_Hi
      PLL_PDA = 1
      PLL_PDB = 1
      PLL_FINEEN_Hi
      PLL_VCO = 7
      PLL_PFD = 5
      PLL_PDEN_Lo
      PLL_LCOUNT = 6
      PLL_OMUX1_Hi
      PLL_Xtal_Mode
[CameraPort:2]
      Name = "Top"
      Camera_Structure = Create_Structure
      HTotal = 910
      HActive = 650
      VActive = 500
      VOffset = 4
      PRef = 200
[CameraPort:3]
      Name = "Bottom"
      Camera_Structure = Create_Structure
)";

std::string Configuration(const std::string &module) {
    return "[SYSTEM:0]\n[SX-400:0]\n" + module;
}

using Tx10 = testing::OpenedModule<TX10_plat_mod, QV_tx10_mod>;

class Tx10Test : public testing::BoundStandInTest {
protected:
    void SetUp() override { BindAndLoad(kRack, Configuration(kModule)); }
    Tx10 Open(int board = 0) { return OpenModule<Tx10>(board); }
};

TEST_F(Tx10Test, PllSettingsShareTheirWordsBitByBit) {
    Tx10 module = Open();
    const std::uint8_t *right = module.platform->PortCamera(1);
    ASSERT_NE(right, nullptr);
    // 62 = 0 at bit 0, 63 = 0, 64 = 1, 65 = 0, 66 = 1 at bits 4-5, 67 = 1 at
    // bits 6-7, 68 = 1 (default), 69 = 1.
    EXPECT_EQ(RecordU16(right, 0xa0), 0x0354);
    // VCO 7, PFD 5, PDEN low, INTFLT, INTVCO and CLKSEL high.
    EXPECT_EQ(RecordU16(right, 0x9e), 0x0007 | (5 << 3) | 0x0380);
    EXPECT_EQ(RecordU16(right, 0xa2), 0x0006 | 0x0008);  // LCOUNT 6, OMUX1 high, XTAL
    const std::uint8_t *left = module.platform->PortCamera(0);
    EXPECT_EQ(RecordU16(left, 0x9c), 0x07ff);  // RDIV 1023, REFPOL 1 from bit 10

    // The word read back field by field.
    std::uint8_t *mutableRight = module.platform->PortCamera(1);
    mutableRight[0xa0] = 0x55;
    mutableRight[0xa1] = 0x03;
    module.platform->FillPortParams(*module.container, 1);
    auto value = [&](int handle) { return module.Param(handle).GetRawValue(1).GetShort(); };
    // PLLFBKSEL, PLLFBKPOL, PLLADD, PLLSWLW, PLL_PDA, PLL_PDB, PLLLDLG, PLLFINEEN
    const std::vector<int> fields = {1, 0, 1, 0, 1, 1, 1, 1};
    for (int handle = 62; handle <= 69; ++handle)
        EXPECT_EQ(value(handle), fields[static_cast<std::size_t>(handle - 62)]) << handle;
    // The reference polarity is the whole top of its word, with the sign.
    mutableRight[0x9c] = 0x13;
    mutableRight[0x9d] = 0xfc;
    module.platform->FillPortParams(*module.container, 1);
    EXPECT_EQ(value(54), 19);
    EXPECT_EQ(value(55), -1);
}

TEST_F(Tx10Test, FillStartsOnTheStartupPortAndTheWindowGivesTheImageGeometry) {
    Tx10 module = Open();
    EXPECT_EQ(module.Param(0).GetRawValue().GetShort(), 2);
    EXPECT_EQ(module.Param(6).GetCurrentPort(), 2);
    EXPECT_EQ(module.Row(5).GetIndex(), 2);
    EXPECT_EQ(Register(module, 6), 910);  // port 2's HTotal
    EXPECT_EQ(Register(module, 72), 200);
    // The board revision comes from the hardware, for every port.
    EXPECT_EQ(module.Param(86).GetRawValue(0).GetShort(), 30);
    EXPECT_EQ(module.Param(86).GetRawValue(3).GetShort(), 30);
    EXPECT_EQ(module.platform->GetHardwareRevision(), 30);
    EXPECT_FALSE(module.Row(72).IsEnabled());

    // Port 2: 650 - 0 + 5 = 655, cut to 652; 500 - 4 lines, non-interlaced.
    EXPECT_EQ(module.platform->GetImageWidth(), 652);
    EXPECT_EQ(module.platform->GetImageHeight(), 496);
    // Port 0: 527 - 10 + 5 = 522, cut to 520; interlaced, both fields.
    EXPECT_EQ(module.Row(5).SetIndex(0), kRedrawRows);
    EXPECT_EQ(Register(module, 18), 527);
    EXPECT_EQ(module.platform->GetImageWidth(), 520);
    EXPECT_EQ(module.platform->GetImageHeight(), 920);
    EXPECT_EQ(module.Param(0).GetRawValue().GetShort(), 0);
    EXPECT_EQ(module.Row(5).SetIndex(4), -1);
    EXPECT_EQ(module.Row(5).GetIndex(), 0);
}

TEST_F(Tx10Test, WithoutHardwareTheModuleFillsButReadsNoRevision) {
    SetHardwareEnabled(false);
    Tx10 module = Open();
    EXPECT_EQ(module.Param(6).GetRawValue(2).GetShort(), 910);
    EXPECT_EQ(module.platform->GetHardwareRevision(), 0);
    EXPECT_EQ(module.Param(86).GetRawValue(0).GetShort(), 0);
}

TEST_F(Tx10Test, SelectedRegistersAreReadAndWrittenThroughTheirSelector) {
    Tx10 module = Open();
    SetRegister(module, 2, 0x21);
    SetRegister(module, 43, 5);
    SetRegister(module, 44, 6);
    EXPECT_EQ(module.platform->GetBoardType(), 0x21);
    EXPECT_EQ(module.platform->ReadSelectedRegister(0), 5);
    EXPECT_EQ(module.platform->ReadSelectedRegister(3), 6);
    EXPECT_EQ(module.platform->AccessSelectedRegister(0, 77), 1);
    EXPECT_EQ(module.platform->AccessSelectedRegister(1, 65534), 1);
    EXPECT_EQ(Register(module, 45), 77);
    EXPECT_EQ(module.platform->AccessSelectedRegister(0, 65535), 77);
    EXPECT_EQ(module.platform->AccessSelectedRegister(2, 70000), 65534 - 65536);
}

TEST_F(Tx10Test, ScanModeConvertsBetweenFrameAndFieldLines) {
    Tx10 module = Open();
    ASSERT_EQ(module.Row(5).SetIndex(3), kRedrawRows);  // port 3: non-interlaced
    module.Row(10).SetValue(QV_param_val::S16(525));
    module.Row(19).SetValue(QV_param_val::S16(480));
    module.Row(18).SetValue(QV_param_val::S16(20));
    auto shown = [&] {
        return std::vector{module.Row(10).GetValue().GetShort(),
                           module.Row(19).GetValue().GetShort(),
                           module.Row(18).GetValue().GetShort()};
    };

    EXPECT_EQ(module.Row(37).SetIndex(1), kRedrawRows);
    EXPECT_EQ(shown(), (std::vector<std::int16_t>{262, 240, 10}));
    EXPECT_EQ(module.Param(32).GetRawValue(3).GetShort(), 1);
    EXPECT_EQ(Register(module, 10), 262);
    EXPECT_EQ(module.Row(37).SetIndex(1), kRedrawRow);
    EXPECT_EQ(shown(), (std::vector<std::int16_t>{262, 240, 10}));

    EXPECT_EQ(module.Row(37).SetIndex(0), kRedrawRows);
    EXPECT_EQ(shown(), (std::vector<std::int16_t>{525, 480, 20}));
    // Port 2 kept its own geometry.
    EXPECT_EQ(module.Param(10).GetRawValue(2).GetShort(), 160);

    EXPECT_EQ(module.Row(37).SetIndex(2), -1);
    EXPECT_EQ(shown(), (std::vector<std::int16_t>{525, 480, 20}));
}

TEST_F(Tx10Test, TheConverterRefusesAValueOutsideItsBits) {
    EXPECT_EQ(Load(Configuration("[TX-10:0]\n      Slot_Number = 0\n[CameraPort:1]\n"
                                 "      PLL_RDIV = 1024\n")),
              -100);
    EXPECT_EQ(Load(Configuration("[TX-10:0]\n      Slot_Number = 0\n[CameraPort:1]\n"
                                 "      PLL_LCOUNT = 8\n")),
              -100);
}

TEST_F(Tx10Test, TheStrobeModeKnowsAThirdWordThatNoRowOffers) {
    ASSERT_EQ(Load(Configuration("[TX-10:0]\n      Slot_Number = 0\n[CameraPort:1]\n"
                                 "      RGB_Strobe_Fast_Triple\n")),
              QRX_LOAD_OK);
    Tx10 module = Open();
    module.container->SetPort(1);
    EXPECT_THAT(Section(*module.container), ::testing::HasSubstr("      RGB_Strobe_Fast_Triple\n"));
    QV_usr_param &strobe = module.Row(41);
    EXPECT_EQ(strobe.SetIndex(2), -1);
    EXPECT_EQ(strobe.SetIndex(1), 1);
    const std::string written = Section(*module.container);
    EXPECT_THAT(written, ::testing::HasSubstr("      Strobe_Slow\n"));
    EXPECT_THAT(written, ::testing::Not(::testing::HasSubstr("Triple")));
}

}  // namespace
}  // namespace qvi
