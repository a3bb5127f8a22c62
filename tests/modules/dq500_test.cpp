// The DQ-500 board against the real stand-in: configurations with one or two
// DQ-500 boards are loaded through the bound library, each board gets its
// platform object and container, and what the board writes, shows and sends
// to the library is checked, as is the video-bus master check.

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/library_binding.h"
#include "modules/boards/dq500.h"
#include "modules/boards/video_bus.h"
#include "params/mod_param.h"
#include "quar/quar_modules.h"
#include "support/bound_stand_in.h"
#include "system/system.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;

constexpr const char *kConfiguration = R"([SYSTEM:0]
[DQ-500:0]
      FrameA1_Size = Size_4K256
      VideoBus_Master
[DQ-500:1]
      VideoBus_Master
)";

constexpr int kVideoBusRegister = 121;
constexpr int kFrameA1SizeRegister = 216;
constexpr std::uint32_t kUnknownHandle = 0xBAD0;

// A board's two objects; the container goes first.
using Board = testing::OpenedModule<DQP_plat_mod, QV_dq500_mod>;

class Dq500Test : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        BindAndLoad("[Board]\nKind = DQP\nRevision = 3\n[Board]\nKind = DQP\n", kConfiguration);
    }

    std::unique_ptr<DQP_plat_mod> Platform(QRX_HANDLE handle) const {
        return std::make_unique<DQP_plat_mod>(binding_.get(), handle);
    }

    Board Open(QRX_HANDLE handle, int instance = 0) const {
        Board opened;
        opened.platform = Platform(handle);
        opened.container = std::make_unique<QV_dq500_mod>(opened.platform.get());
        opened.container->SetInstance(instance);
        opened.platform->FillParams(*opened.container);
        return opened;
    }
};

TEST_F(Dq500Test, FrameRowWritesItsFramesSizeRegister) {
    Board board = Open(BoardHandle(0));
    QV_usr_param &a1 = board.Row(2);
    EXPECT_EQ(a1.GetIndex(), 2);
    EXPECT_EQ(a1.SetIndex(3), 1);
    EXPECT_EQ(binding_->Entry<&::read_reg>()(board.platform->Handle(), 218), 3);
}

TEST_F(Dq500Test, DacChoicesGoToTheirEntryOnlyWithHardware) {
    // The stand-in accepts a setting for a board it knows and refuses it
    // otherwise: the refusal shows the entry was called, and which one.
    Board known = Open(BoardHandle(0));
    EXPECT_EQ(known.Row(14).SetIndex(0), 1);
    EXPECT_TRUE(known.Value(41).Equals(QV_param_val::S16(1)));
    EXPECT_TRUE(ui.messages.empty());

    auto unknown = Platform(kUnknownHandle);
    QV_dq500_mod container(unknown.get());
    ui.Clear();
    struct Case {
        int row;
        const char *error;
    };
    const Case cases[] = {{8, "Error: dqp_dac_sync_on_green()"},
                          {14, "Error: dqp_dac_pedestal()"},
                          {15, "Error: dqp_dac_gamma_rom()"},
                          {16, "Error: dqp_dac_spseudo()"}};
    for (const Case &dac : cases) {
        SetHardwareEnabled(false);
        ui.Clear();
        container.GetUsrParam(dac.row)->SetIndex(1);
        EXPECT_TRUE(ui.messages.empty()) << dac.error;

        SetHardwareEnabled(true);
        container.GetUsrParam(dac.row)->SetIndex(0);
        EXPECT_THAT(ui.Errors(), ElementsAre(dac.error));
    }
    // Another choice writes its register and calls no entry.
    ui.Clear();
    container.GetUsrParam(12)->SetIndex(0);
    EXPECT_TRUE(ui.Errors().empty());
}

TEST_F(Dq500Test, DisplayTypeAboveTwelveIsRefused) {
    auto board = Platform(BoardHandle(0));
    EXPECT_EQ(board->SetDisplayType(12), 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(board->SetDisplayType(13), -1);
    EXPECT_THAT(ui.Errors(), ElementsAre("Invalid display index: 13"));

    ui.Clear();
    SetHardwareEnabled(false);
    EXPECT_EQ(board->SetDisplayType(13), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Dq500Test, FrameSizesReadTheirRegisterAndRefuseOtherNames) {
    auto board = Platform(BoardHandle(0));
    EXPECT_EQ(board->MemoryModel(), 2);  // all three frames fitted
    binding_->WriteReg16(board->Handle(), 185, 0x1234);
    binding_->WriteReg16(board->Handle(), kFrameA1SizeRegister, 0xFFFE);
    binding_->WriteReg16(board->Handle(), 246, 9);
    EXPECT_EQ(board->GetFrameSize("A0"), 0x1234);
    EXPECT_EQ(board->GetFrameSize("A1"), -2);  // as 16 bits
    EXPECT_EQ(board->GetFrameSize("B1"), 9);
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(board->GetFrameSize("B0"), -1);
    EXPECT_THAT(ui.Errors(), ElementsAre("Invalid frame: B0 passed to DQP_plat_mod::GetFrameSize"));

    SetHardwareEnabled(false);
    EXPECT_EQ(board->GetFrameSize("A0"), -1);
}

// ---- the video-bus master check --------------------------------------------

class VideoBusTest : public Dq500Test {
protected:
    void Build() {
        for (int i = 0; i < 2; ++i) {
            platforms_.push_back(Platform(BoardHandle(i)));
            auto container = std::make_unique<QV_dq500_mod>(platforms_.back().get());
            platforms_.back()->FillParams(*container);
            containers_.push_back(container.get());
            system_.AddModElement(std::move(container));
        }
        ui.Clear();
    }

    int Role(int board) const {
        return containers_[board]->GetUsrParam(kVideoBusRowId)->GetIndex();
    }
    int Register(int board) const {
        return binding_->Entry<&::read_reg>()(platforms_[board]->Handle(), kVideoBusRegister);
    }

    std::vector<std::unique_ptr<DQP_plat_mod>> platforms_;  // outlive the system's containers
    QV_system system_;
    std::vector<QV_dq500_mod *> containers_;
};

// No leaves both masters; Yes makes the second a slave; one master or one
// board asks nothing.
TEST_F(VideoBusTest, AskedOncePerPairOfMastersAndYesMakesTheSecondASlave) {
    Build();
    ASSERT_EQ(Role(0), kVideoBusMasterIndex);
    ASSERT_EQ(Role(1), kVideoBusMasterIndex);
    ui.answers.push_back(MessageAnswer::No);
    EXPECT_EQ(CheckVideoBusMasters(system_, {0, 1}), 0);
    EXPECT_EQ(Role(1), kVideoBusMasterIndex);
    EXPECT_EQ(CheckVideoBusMasters(system_, {0}), 0);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "Multiple DQP video bus masters detected. Only one master is allowed per video "
              "bus. Are the DQPs on the same video bus? Yes will set one DQP to master and the "
              "other DQP(s) to slave(s)");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.questions[0].caption, "Warning");

    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_EQ(CheckVideoBusMasters(system_, {0, 1}), 1);
    EXPECT_EQ(Role(0), kVideoBusMasterIndex);
    EXPECT_EQ(Role(1), kVideoBusSlaveIndex);
    EXPECT_EQ(Register(0), 1);
    EXPECT_EQ(Register(1), 0);
    EXPECT_EQ(CheckVideoBusMasters(system_, {0, 1}), 0);
    EXPECT_EQ(ui.questions.size(), 2u);
}

}  // namespace
}  // namespace qvi
