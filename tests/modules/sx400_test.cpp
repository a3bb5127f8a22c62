// The SX-400 and SXA boards against the real stand-in: a configuration with
// both boards is loaded through the bound library, and what the SX-400's
// platform object sends to the library and what its container fills, shows
// and writes is checked; the SXA board's detection and section too.

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "modules/boards/sx400.h"
#include "modules/boards/sxa_board.h"
#include "params/mod_param.h"
#include "support/bound_stand_in.h"
#include "system/table_mod.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;
using testing::Lines;
using testing::Section;

constexpr const char *kRack = R"([Board]
Kind = SXP
Revision = 41
Slot0 = TX-10
Inputs = 8
[Board]
Kind = SXA
Channels = 2
)";

constexpr const char *kConfiguration = R"([SYSTEM:0]
[Lumo:0]
      Pixsz_Override = 24
[TX-10:0]
      Slot_Number = 0
[SXA:0]
[CameraPort:0]
      Name = "A"
      Camera_Structure = Create_Structure
[CameraPort:1]
      Name = "B"
      Camera_Structure = Create_Structure
)";

constexpr int kPixelSizeParam = 77;

// An acquisition module known only by its class text, with a container whose
// camera type (handle 2) is either a text or a choice.
struct FakeModule {
    explicit FakeModule(const std::string &className)
        : platform(className, static_cast<RegisterAccess *>(nullptr), 0),
          container("fake", &platform) {
        platform.SetModule(&container);
    }

    void SetCameraText(const std::string &camera) {
        const QV_param_val value[] = {QV_param_val::Text(camera)};
        container.AddModParam(std::make_unique<QV_string_param>(
            "Camera", 1, value, -1, 2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    }

    void SetCameraChoice(int index) {
        const QV_param_val value[] = {QV_param_val::S16(static_cast<std::int16_t>(index))};
        container.AddModParam(std::make_unique<QV_choice_param>(
            "Camera", 1, value, -1, 2, std::make_unique<Val2IndexConverter>(),
            std::make_unique<Index2ValConverter>(), std::make_unique<Val2IndexConverter>(), nullptr,
            nullptr, nullptr, std::vector<std::string>{"Other", "Dalsa CA-D4"},
            std::vector<QV_param_val>{QV_param_val::S16(0), QV_param_val::S16(1)}, true));
    }

    QV_plat_mod platform;
    QV_mod container;
};

class Sx400Test : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        BindAndLoad(kRack, kConfiguration);
        board_ = std::make_unique<SXP_plat_mod>(binding_.get(), BoardHandle());
        container_ = std::make_unique<QV_sx400_mod>(board_.get());
    }

    void TearDown() override {
        container_.reset();
        board_.reset();
        BoundStandInTest::TearDown();
    }


    double Param(int param) const {
        return binding_->Entry<&::qrx_get_param>()(board_->Handle(), param);
    }
    void SetParam(int param, double value) const {
        binding_->Entry<&::qrx_set_param>()(board_->Handle(), param, value);
    }

    std::unique_ptr<SXP_plat_mod> board_;
    std::unique_ptr<QV_sx400_mod> container_;
};

TEST_F(Sx400Test, ATx10InTheSlotMakesTheSectionLumo) {
    container_->SetInstance(4);
    EXPECT_EQ(Lines(Section(*container_)).front(), "[SX-400:4]");

    // Known by its class text.
    FakeModule tx10("TX-10 plat_mod");
    board_->SetAcquisitionModule(&tx10.platform);
    EXPECT_EQ(Lines(Section(*container_)).front(), "[Lumo:4]");

    // Known by the model name the library reports.
    QV_table_plat_mod named(nullptr, binding_.get(),
                            binding_->Entry<&::qrx_get_modcnf>()(BoardHandle(), 0));
    ASSERT_EQ(named.GetName(), "TX-10");
    board_->SetAcquisitionModule(&named);
    EXPECT_EQ(Lines(Section(*container_)).front(), "[Lumo:4]");

    FakeModule tx30("TX-30 plat_mod");
    board_->SetAcquisitionModule(&tx30.platform);
    EXPECT_EQ(Lines(Section(*container_)).front(), "[SX-400:4]");
}

TEST_F(Sx400Test, Tx60WithASixteenBitCameraForcesThePixelSize) {
    const std::string forced = "      PIXSZ_Override=16";
    auto lastLine = [&] { return Lines(Section(*container_)).back(); };

    FakeModule smd("TX-60 plat_mod");
    smd.SetCameraText("SMD_1M60");
    board_->SetAcquisitionModule(&smd.platform);
    EXPECT_EQ(lastLine(), forced);
    EXPECT_EQ(Lines(Section(*container_)).size(), 14u);

    FakeModule dalsa("TX-60 plat_mod");
    dalsa.SetCameraChoice(1);
    board_->SetAcquisitionModule(&dalsa.platform);
    EXPECT_EQ(lastLine(), forced);

    FakeModule other("TX-60 plat_mod");
    other.SetCameraChoice(0);
    board_->SetAcquisitionModule(&other.platform);
    EXPECT_NE(lastLine(), forced);

    // The same camera on another module changes nothing.
    FakeModule tx50("TX-50 plat_mod");
    tx50.SetCameraText("SMD_1M60");
    board_->SetAcquisitionModule(&tx50.platform);
    EXPECT_NE(lastLine(), forced);
}

TEST_F(Sx400Test, PixelSizeOverrideSetsLibraryParameterOnlyWithHardware) {
    SetHardwareEnabled(false);
    board_->FillParams(*container_);
    EXPECT_EQ(Param(kPixelSizeParam), 0.0);

    SetHardwareEnabled(true);
    board_->FillParams(*container_);
    EXPECT_EQ(Param(kPixelSizeParam), 2.0);  // 24

    QV_usr_param *row = container_->GetUsrParam(11);
    SetHardwareEnabled(false);
    EXPECT_EQ(row->SetIndex(1), 1);
    EXPECT_EQ(Param(kPixelSizeParam), 2.0);
    SetHardwareEnabled(true);
    row->SetIndex(1);
    EXPECT_EQ(Param(kPixelSizeParam), 1.0);  // 16
    row->SetIndex(0);
    EXPECT_EQ(Param(kPixelSizeParam), 0.0);
}

TEST_F(Sx400Test, TriggerModeRemembersTheStartField) {
    SetParam(86, 3.0);
    board_->SetTriggerMode(1);
    EXPECT_EQ(Param(86), 0.0);
    EXPECT_EQ(Param(84), 1.0);
    SetParam(86, 2.0);  // changed while triggered: the remembered one comes back
    board_->SetTriggerMode(0);
    EXPECT_EQ(Param(86), 3.0);
    EXPECT_EQ(Param(84), 0.0);

    SetParam(87, 1.0);
    EXPECT_EQ(board_->TriggerDone(), 0);
    SetParam(87, 0.0);
    EXPECT_EQ(board_->TriggerDone(), 1);
}

TEST_F(Sx400Test, OutputBitsAreReadModifiedAndWritten) {
    SetParam(131, 0x40);
    board_->SetOutputBit(3, 1);
    board_->SetOutputBit(0, 1);
    EXPECT_EQ(Param(131), 0x49);
    EXPECT_EQ(board_->SetOutputBit(3, -1), 1);
    board_->SetOutputBit(3, 0);
    EXPECT_EQ(Param(131), 0x41);
    EXPECT_EQ(board_->SetOutputBit(3, -1), 0);
    EXPECT_EQ(board_->SetOutputBit(6, -1), 1);
    EXPECT_EQ(Param(131), 0x41);  // reading changes nothing
}

TEST_F(Sx400Test, InputsAreReadBitByBitOrWhole) {
    EXPECT_EQ(board_->ReadInputs(3), 1);
    EXPECT_EQ(board_->ReadInputs(2), 0);
    EXPECT_EQ(board_->ReadInputs(16), 0);
    EXPECT_EQ(board_->ReadInputs(-1), 8);
    SetHardwareEnabled(false);
    EXPECT_EQ(board_->ReadInputs(-1), 0);
}

TEST_F(Sx400Test, SxaBoardDetectsOneModulePerChannelAndWritesItsHead) {
    SXA_plat_mod sxa(binding_.get(), BoardHandle(1));
    EXPECT_THAT(sxa.DetectModules(), ElementsAre("SXA-VMOD", "SXA-VMOD"));

    QV_sxa_board_mod container(&sxa);
    container.SetInstance(1);
    EXPECT_EQ(Section(container), "[SXA:1]\n");

    SXA_plat_mod unbound(nullptr, 0);
    EXPECT_TRUE(unbound.DetectModules().empty());
}

}  // namespace
}  // namespace qvi
