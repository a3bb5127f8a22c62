// The computational modules against the real stand-in: a configuration with
// an RX-600 holding an RX-20, an RX-30 and an RX-40 is loaded through the
// bound library; what the modules fill, show and write back is checked.

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "modules/computational/rx10.h"
#include "modules/computational/rx20.h"
#include "modules/computational/rx30.h"
#include "modules/computational/rx40.h"
#include "modules/module_settings.h"
#include "params/mod_param.h"
#include "support/bound_stand_in.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;
using testing::Lines;
using testing::Section;

constexpr const char *kRx20Section = R"([RX-20:0]
      Slot_Number = 0
      Load_Name = "rx20m12.mcs"
      Memory_Size = 8K_1K_12
      Load_Flag = No_Load
)";

constexpr const char *kRx30Section = R"([RX-30:0]
      Slot_Number = 1
      Emu_Init = 5
      Op_Mode = ASYNC
)";

constexpr const char *kRx40Section = R"([RX-40:0]
      Slot_Number = 2
)";

MemFileEntry File(std::string name, std::string size) {
    return {std::move(name), "", std::move(size)};
}

class ComputationalTest : public testing::BoundStandInTest {
protected:
    void SetUp() override {
        MemFileGroups &groups = moduleSettings.rx20MemGroups;
        groups.size12 = {File("m12a.mcs", "12_4K_2K_12"), File("m12b.mcs", "12_8K_1K_12")};
        groups.size16 = {File("m16a.mcs", "16_4K_4K_8")};
        groups.size64 = {File("m64a.mcs", "64_8K_4K_8"), File("m64b.mcs", "64_8K_8K_8")};
        const std::string text =
            std::string("[SYSTEM:0]\n[RX-600:0]\n") + kRx20Section + kRx30Section + kRx40Section;
        BindAndLoad("[Board]\nKind = RXP\nSlot0 = RX-20\nSlot1 = RX-30\nSlot2 = RX-40\n", text);
        board_ = std::make_unique<QV_plat_mod>("board", binding_.get(), BoardHandle());
        ui.Clear();
    }

    void TearDown() override {
        board_.reset();
        BoundStandInTest::TearDown();
    }

    QRX_HANDLE SlotHandle(int slot) const {
        return binding_->Entry<&::qrx_get_modcnf>()(BoardHandle(), slot);
    }
    std::uint8_t *MutableSpec(QRX_HANDLE handle) const {
        return static_cast<std::uint8_t *>(binding_->Entry<&::qrx_get_modspec>()(handle));
    }

    // Fills a container from its platform object as the factory would; in
    // the board unless told otherwise.
    template <typename Container>
    std::unique_ptr<Container> Open(QV_plat_mod &platform, bool inBoard = true) {
        if (inBoard) platform.SetParentBoard(board_.get());
        std::unique_ptr<Container> container;
        if constexpr (std::is_constructible_v<Container, QV_plat_mod *, const ModuleSettings &>)
            container = std::make_unique<Container>(&platform, moduleSettings);
        else
            container = std::make_unique<Container>(&platform);
        container->SetSlot(platform.GetSlot());
        container->SetInstance(platform.GetInstance());
        platform.FillParams(*container);
        return container;
    }

    std::unique_ptr<QV_plat_mod> board_;
};

TEST_F(ComputationalTest, Rx20MemoryTypeIsALayoutOfItsSizesFilesAndOnlyTheRx10HasNoRows) {
    QV_rx20_plat_mod rx20(binding_.get(), SlotHandle(0));
    QV_rx40_plat_mod rx40(binding_.get(), SlotHandle(2));
    auto rx20Mod = Open<QV_rx20_mod>(rx20);
    // Memory type 3 is a 12 layout, the second of the 12 list.
    EXPECT_EQ(rx20Mod->GetMemorySize(), 12);
    EXPECT_THAT(rx20Mod->GetUsrParam(0)->GetChoices(), ElementsAre("4K_2K_12", "8K_1K_12"));
    EXPECT_EQ(rx20Mod->GetUsrParam(0)->GetIndex(), 1);
    EXPECT_TRUE(Open<QV_rx40_mod>(rx40)->IsEditable());
    EXPECT_FALSE(QV_rx10_mod(nullptr).IsEditable());
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
}

// The emulator init shows "on" for any count and stores the choice; the
// operating mode is ASYNC only for 1.
TEST_F(ComputationalTest, Rx30EmulatorInitAndOperatingMode) {
    QV_rx30_plat_mod rx30(binding_.get(), SlotHandle(1));
    auto module = Open<QV_rx30_mod>(rx30);
    QV_usr_param *emu = module->GetUsrParam(2);
    ASSERT_NE(emu, nullptr);
    EXPECT_EQ(emu->GetIndex(), 1);
    EXPECT_EQ(emu->SetIndex(0), 1);
    EXPECT_EQ(module->GetModParam(6)->GetCFGString(0), "Emu_Init = 0");

    EXPECT_EQ(module->GetModParam(10)->GetCFGString(0), "Op_Mode = ASYNC");
    std::uint8_t *spec = MutableSpec(rx30.Handle());
    ASSERT_NE(spec, nullptr);
    const std::uint8_t two[4] = {2, 0, 0, 0};
    std::memcpy(spec + QV_rx30_plat_mod::kOpModeOffset, two, sizeof two);
    rx30.FillParams(*module);
    EXPECT_EQ(module->GetModParam(10)->GetCFGString(0), "Op_Mode = SYNC");
}

TEST_F(ComputationalTest, Rx20OutsideABoardWritesTheFirstFileOfItsSize) {
    QV_rx20_plat_mod rx20(binding_.get(), SlotHandle(0));
    auto module = Open<QV_rx20_mod>(rx20, false);
    // Without a board the memory type leaves the size number alone.
    EXPECT_EQ(module->GetMemorySize(), 16);
    module->SetMemorySize(12);
    EXPECT_THAT(Lines(Section(*module)),
                ElementsAre("[RX-20:0]", "      Slot_Number = 0", "      Load_Name = \"m12a.mcs\"",
                            "      Memory_Size = 4K_2K_12", "      Load_Flag = No_Load"));
    // A size number outside the catalogue falls back to the 16 list.
    module->SetMemorySize(32);
    const std::vector<std::string> lines = Lines(Section(*module));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "      Load_Name = \"m16a.mcs\"");
    EXPECT_EQ(lines[3], "      Memory_Size = 4K_4K_8");
    EXPECT_EQ(ui.Texts().front(), "Invalid MemSizeNum: 32 passed to RX-20 FPGA File Manager");
}

TEST_F(ComputationalTest, Rx20MemoryTypeWithoutLayout) {
    QV_rx20_plat_mod rx20(binding_.get(), SlotHandle(0));
    std::uint8_t *spec = MutableSpec(rx20.Handle());
    ASSERT_NE(spec, nullptr);
    spec[QV_rx20_plat_mod::kMemoryTypeOffset] = 7;
    spec[QV_rx20_plat_mod::kMemoryTypeOffset + 1] = 0;
    auto module = Open<QV_rx20_mod>(rx20);
    EXPECT_THAT(ui.Texts(),
                ElementsAre("Invalid memory_type: 7 passed to RX-20 FPGA File Manager"));
    EXPECT_EQ(module->GetMemorySize(), 16);
    EXPECT_EQ(module->GetModParam(5)->GetRawValue(0).GetText(), "Undefined");
    EXPECT_THAT(module->GetUsrParam(0)->GetChoices(), ElementsAre("4K_4K_8"));
}

TEST_F(ComputationalTest, Rx20MemorySizeChoiceStoresNameAndFile) {
    QV_rx20_mod module(nullptr, moduleSettings);
    QV_usr_param *row = module.GetUsrParam(0);
    ASSERT_NE(row, nullptr);
    module.SetMemorySize(64);
    EXPECT_THAT(row->GetChoices(), ElementsAre("8K_4K_8", "8K_8K_8"));
    EXPECT_EQ(row->GetIndex(), -1);  // "Undefined" is none of them
    EXPECT_EQ(row->SetIndex(1), 1);
    EXPECT_EQ(module.GetModParam(5)->GetRawValue(0).GetText(), "8K_8K_8");
    EXPECT_EQ(module.GetModParam(1)->GetRawValue(0).GetText(), "m64b.mcs");
    // Any number but 12 and 64 offers the 16 list, without a message.
    module.SetMemorySize(20);
    EXPECT_THAT(row->GetChoices(), ElementsAre("4K_4K_8"));
    EXPECT_TRUE(ui.messages.empty());
    row->SetIndex(4);
    EXPECT_EQ(module.GetModParam(5)->GetRawValue(0).GetText(), "ERROR");
    EXPECT_EQ(module.GetModParam(1)->GetRawValue(0).GetText(), "ERROR");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.Texts().front(), "Invalid index: 4 passed to RX-20 FPGA File Manager");
}

TEST_F(ComputationalTest, CatalogueCanBeGivenItsOwnGroups) {
    MemFileGroups groups;
    groups.size12 = {File("own.mcs", "12 MB")};
    const Rx20MemoryCatalogue catalogue(groups);
    EXPECT_EQ(catalogue.FileName(0, 12), "own.mcs");
    EXPECT_EQ(catalogue.SizeName(0, 12), "12 MB");
    groups.size12.push_back(File("odd.mcs", "12_"));
    EXPECT_EQ(catalogue.SizeName(1, 12), "12_") << "no layout after the number";
    EXPECT_THAT(catalogue.FileNames(64), ElementsAre());
    EXPECT_EQ(Rx20MemoryCatalogue::SizeNumberOf(2), 12);
    EXPECT_EQ(Rx20MemoryCatalogue::SizeNumberOf(5), 64);
    EXPECT_EQ(Rx20MemoryCatalogue::SizeNumberOf(-1), 16);
    EXPECT_THAT(ui.Texts(),
                ElementsAre("Invalid memory_type: -1 passed to RX-20 FPGA File Manager"));
}

}  // namespace
}  // namespace qvi
