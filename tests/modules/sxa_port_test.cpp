// The SXA camera channel against the real stand-in: a configuration with an
// SXA board is loaded through the bound library, each channel gets its
// platform object and container, and what the channel fills, shows, writes
// and sends to the library is checked.

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "modules/acquisition/sxa_port.h"
#include "params/mod_param.h"
#include "support/bound_stand_in.h"

namespace qvi {
namespace {

using testing::Lines;
using testing::Section;

using ::testing::ElementsAre;

constexpr const char *kConfiguration = R"([SYSTEM:0]
[SXA:0]
[CameraPort:0]
      Name = "Left"
      Camera_Structure = Create_Structure
      Timing_Mode = Dual_Tap
[CameraPort:1]
      Name = "Right"
      Camera_Structure = Create_Structure
[CameraPort:2]
      Name = "Cam1"
      Camera_Structure = Create_Structure
      HTotal = 910
      Timing_Mode = Separate_HSync
[CameraPort:3]
      Name = "Cam3"
      Camera_Structure = Create_Structure
)";

constexpr int kHTotalRegister = 123;
constexpr int kTimingModeRegister = 164;

// A channel's two objects; the container goes first.
using Channel = testing::OpenedModule<TX0_plat_mod, QV_sxa_port_mod>;

class SxaPortTest : public testing::BoundStandInTest {
protected:
    void SetUp() override { BindAndLoad("[Board]\nKind = SXA\nRevision = 7\n", kConfiguration); }

    QRX_HANDLE ChannelHandle(int channel) const {
        QRX_HANDLE board = binding_->Entry<&::qrx_systop>()(0);
        return binding_->Entry<&::qrx_get_vmodcnf>()(board, channel);
    }

    Channel Open(int channel) {
        Channel opened;
        opened.platform = std::make_unique<TX0_plat_mod>(binding_.get(), ChannelHandle(channel));
        opened.container = std::make_unique<QV_sxa_port_mod>(opened.platform.get());
        opened.platform->FillParams(*opened.container);
        return opened;
    }

    double LibraryParam(const Channel &channel, int param) const {
        return binding_->Entry<&::qrx_get_param>()(channel.platform->Handle(), param);
    }

    std::uint32_t Register(const Channel &channel, int reg) const {
        return binding_->Entry<&::read_reg32>()(channel.platform->Handle(), reg);
    }
};

TEST_F(SxaPortTest, SectionSkipsTheLinesOfDisabledKeysButTheName) {
    Channel channel = Open(1);
    channel.container->GetModParam(3)->SetEnabled(false);
    channel.container->GetModParam(8)->SetEnabled(false);
    const std::vector<std::string> lines = Lines(Section(*channel.container));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_THAT(std::vector(lines.begin(), lines.begin() + 4),
                ElementsAre("[CameraPort:1]", "      ", "      Camera_Structure = Create_Structure",
                            "      Interlaced"));
    // Every line left is a key line: HTotal is gone, and so are the board
    // revision and "Dual tap", which are never written.
    EXPECT_EQ(lines.size(), 66u - 1u);
    for (const std::string &line : lines) {
        EXPECT_EQ(line.find("HTotal"), std::string::npos);
        EXPECT_EQ(line.find("Dual tap"), std::string::npos);
    }
}

TEST_F(SxaPortTest, FillsNameWithChannelKeysInTheirKindsDualTapAndRevision) {
    // A name ending in another digit gets the channel; one ending in it keeps it.
    EXPECT_EQ(Open(0).Value(3).GetText(), "Left0");
    EXPECT_EQ(Open(2).Value(3).GetText(), "Cam12");
    EXPECT_EQ(Open(3).Value(3).GetText(), "Cam3");

    Channel dualTap = Open(0);
    EXPECT_TRUE(dualTap.Value(36).Equals(QV_param_val::U32(1)));
    EXPECT_TRUE(dualTap.Value(70).Equals(QV_param_val::S16(1)));
    EXPECT_TRUE(dualTap.Value(69).Equals(QV_param_val::S16(7)));

    Channel separate = Open(2);
    EXPECT_TRUE(separate.Value(70).Equals(QV_param_val::S16(0)));
    // Register writes reach the library as whole words.
    EXPECT_EQ(Register(separate, kHTotalRegister), 910u);
    EXPECT_EQ(separate.container->GetUsrParam(8)->SetValue(QV_param_val::U32(600)), 0);
    EXPECT_EQ(Register(separate, kHTotalRegister), 600u);

    SetHardwareEnabled(false);
    separate.platform->FillParams(*separate.container);
    EXPECT_TRUE(separate.Value(69).Equals(QV_param_val::S16(-1)));
}

TEST_F(SxaPortTest, TimingModeRowOffersDualTapOnlyOnSlaveChannels) {
    for (int leader : {0, 2}) {
        Channel channel = Open(leader);
        EXPECT_EQ(channel.container->GetUsrParam(36)->GetChoices().size(), 3u) << leader;
        EXPECT_EQ(channel.container->GetUsrParam(36)->SetIndex(3), -1);
    }
    Channel slave = Open(3);
    QV_usr_param *row = slave.container->GetUsrParam(36);
    EXPECT_THAT(row->GetChoices(),
                ElementsAre("Normal PLL", "Separate Sync PLL", "Crystal", "Dual Tap(Slave)"));

    EXPECT_EQ(row->SetIndex(3), 2);
    EXPECT_TRUE(slave.Value(36).Equals(QV_param_val::U32(1)));
    EXPECT_TRUE(slave.Value(70).Equals(QV_param_val::S16(1)));
    EXPECT_EQ(Register(slave, kTimingModeRegister), 1u);

    EXPECT_EQ(row->SetIndex(1), 2);
    EXPECT_TRUE(slave.Value(36).Equals(QV_param_val::U32(2)));
    EXPECT_TRUE(slave.Value(70).Equals(QV_param_val::S16(0)));
}

TEST_F(SxaPortTest, MissingModuleEntriesAreReportedOnceAndSkipped) {
    QV_acq_plat_mod module("TX-99 plat_mod", binding_.get(), ChannelHandle(0), "tx99");
    EXPECT_THAT(ui.Texts(), ElementsAre("QUAR Function not found: tx99_dregs",
                                        "QUAR Function not found: tx99_cp_camcnf"));
    module.DumpRegisters();
    module.CopyCameraConfig();
    EXPECT_EQ(ui.messages.size(), 2u);
}

}  // namespace
}  // namespace qvi
