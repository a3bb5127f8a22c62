// The module factory and the system model's removal and numbering rules.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "library/hardware.h"
#include "modules/computational/rx20.h"
#include "params/mod.h"
#include "support/stand_in.h"
#include "system/config_state.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

class SystemModelTest : public testing::StandInTest {
protected:
    void SetUp() override {
        SetHardwareEnabled(false);
        Start();
        SetConfigModified(false);
    }

    // Loads a configuration written for the test.
    void Load(const std::string &text) {
        ASSERT_EQ(tree->LoadFile(Write("model.txt", text).string()), 0)
            << ::testing::PrintToString(ui.Texts());
    }

    int Remove(int i) {
        return tree->System().RemoveElement(i, *factory, [this] { ++rebuilds; });
    }

    int rebuilds = 0;
};

TEST_F(SystemModelTest, SharedCountersNumberModulesAndAliasesChooseTheModel) {
    std::vector<int> numbers;
    for (const char *name : {"RX-50", "RX-50", "RX-10", "RX-20", "TX-10", "TX-10"})
        numbers.push_back(factory->CreateModByName(name)->GetInstance());
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 0, 0, 0}));
    EXPECT_EQ(factory->CreateModByName("EMPTY"), nullptr);
    EXPECT_EQ(factory->CreateModByName("TX-30")->GetName(), "TX-31");
    EXPECT_EQ(factory->CreateModByName("Lumo")->GetName(), "SXP");
    factory->ResetCounters();
    EXPECT_EQ(factory->CreateModByName("RX-51")->GetInstance(), 0);

    // The memory module's aliases choose its memory size.
    auto sizeOf = [this](const char *name) {
        auto module = factory->CreateModByName(name);
        auto *memory = dynamic_cast<QV_rx20_mod *>(module.get());
        return memory ? memory->GetMemorySize() : -1;
    };
    EXPECT_EQ(sizeOf("RX-20"), 16);
    EXPECT_EQ(sizeOf("RX-21"), 12);
    EXPECT_EQ(sizeOf("RX-22"), 64);
    EXPECT_EQ(factory->CreateModByName("RX-22")->GetName(), "RX-20");
    EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.Texts());
}

TEST_F(SystemModelTest, WhatTheFactoryCannotBuildIsReported) {
    SetRxLibraryStubbed(1);
    EXPECT_EQ(factory->CreateModByName("RX-20"), nullptr);
    EXPECT_EQ(factory->CreateModByName("RX-21"), nullptr);
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{
                  "Can't create a mod for RX-20 RX Library is stubbed or not installed properly",
                  "Can't create a mod for RX-21 RX Library is stubbed or not installed properly"}));
    SetRxLibraryStubbed(0);

    // A default the factory cannot build is reported with the file it came from.
    ui.Clear();
    EXPECT_FALSE(factory->AddDefPlatMod("TX-99"));
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{
                               "Function: QV_mod_factory::AddDefPlatMod Can't create a platmod for "
                               "mod: TX-99 from file " +
                               (dir_ / "default.txt").string()}));
}

TEST_F(SystemModelTest, TheOnlyMotherboardAndTheBusTranslatorStay) {
    Load("[SYSTEM:0]\n[RX-600:0]\n[RX-20:0]\n      Slot_Number = 0\n      Memory_Size = 4K_4K_8\n"
         "[BZ-700]\n");
    EXPECT_EQ(Remove(1), -1);
    EXPECT_EQ(Remove(5), -1);
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"Can't remove, must have at least 1 motherboard",
                                        "Can't remove bus translator. Create a new file to change "
                                        "bus translator"}));
    EXPECT_EQ(tree->System().GetElement(1)->GetType(), "MBOARD");
    EXPECT_FALSE(ConfigModified());
}

TEST_F(SystemModelTest, RemovingAModuleRenumbersItsBoard) {
    Load(
        "[SYSTEM:0]\n[RX-600:0]\n[RX-20:0]\n      Slot_Number = 0\n[RX-20:1]\n"
        "      Slot_Number = 1\n[RX-10:0]\n      Slot_Number = 2\n");
    ASSERT_EQ(tree->System().GetElementText(3), "    slot 1 - RX-20:1");
    EXPECT_EQ(Remove(2), 0);
    EXPECT_EQ(tree->System().GetElement(2)->GetType(), "EMPTY");
    EXPECT_EQ(tree->System().GetElementText(3), "    slot 1 - RX-20:0");
    EXPECT_EQ(tree->System().GetElementText(4), "    slot 2 - RX-10:0");
    EXPECT_EQ(rebuilds, 1);
    EXPECT_TRUE(ConfigModified());
}

TEST_F(SystemModelTest, RemovingABoardOrACameraChannelEmptiesTheWholeBoard) {
    Load("[SYSTEM:0]\n[RX-600:0]\n[RX-10:0]\n      Slot_Number = 0\n[RX-600:1]\n[RX-10:1]\n"
         "      Slot_Number = 0\n");
    EXPECT_EQ(Remove(5), 0);
    for (int i : {5, 6}) EXPECT_EQ(tree->System().GetElement(i)->GetType(), "EMPTY") << i;
    // A module added afterwards is numbered from the counter, not below zero.
    EXPECT_EQ(factory->CreateModByName("RX-10")->GetInstance(), 0);

    // A camera channel takes its whole SXA board with it.
    Load(
        "[SYSTEM:0]\n[SXA:0]\n[CameraPort:0]\n[CameraPort:1]\n[CameraPort:2]\n[RX-600:0]\n"
        "[RX-10:0]\n      Slot_Number = 0\n");
    EXPECT_EQ(Remove(4), 0);  // channel 2
    for (int i : {1, 2, 3, 4}) EXPECT_EQ(tree->System().GetElement(i)->GetType(), "EMPTY") << i;
    EXPECT_EQ(tree->System().GetElement(5)->GetType(), "MBOARD");
    EXPECT_EQ(tree->System().GetElement(6)->GetType(), "DBOARD");
}

// The TX-10 goes with its Lumo board unless that is the only motherboard.
TEST_F(SystemModelTest, RemovingTheTx10OfALumoEmptiesTheBoardIfAnotherRemains) {
    Load("[SYSTEM:0]\n[Lumo:0]\n[TX-10:0]\n      Slot_Number = 0\n");
    EXPECT_EQ(Remove(2), 0);
    EXPECT_EQ(tree->System().GetElement(2)->GetType(), "EMPTY");
    EXPECT_EQ(tree->System().GetElement(1)->GetType(), "MBOARD");
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"Can't remove, must have at least 1 motherboard"}));
    EXPECT_TRUE(ConfigModified());

    ui.Clear();
    rebuilds = 0;
    Load("[SYSTEM:0]\n[Lumo:0]\n[TX-10:0]\n      Slot_Number = 0\n[RX-600:0]\n");
    EXPECT_EQ(Remove(2), 0);
    EXPECT_EQ(tree->System().GetElement(1)->GetType(), "EMPTY");
    EXPECT_EQ(rebuilds, 2);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SystemModelTest, ElementQueriesOutsideTheListAreFalse) {
    Load("[SYSTEM:0]\n[RX-600:0]\n");
    const QV_system &system = tree->System();
    EXPECT_EQ(system.GetElement(99), nullptr);
    EXPECT_EQ(system.GetModule(-1), nullptr);
    EXPECT_FALSE(system.IsModule(99));
    EXPECT_EQ(system.GetElementText(99), "");
    EXPECT_FALSE(system.HasSetup(1));  // the RX-600 has nothing to edit
    EXPECT_EQ(tree->System().SetActiveImageMgr(0), -1);
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"invalid index: 0 passed to function: SetActiveImageMgr"}));
}

// The library keeps its records little-endian; a module writes a camera
// structure's words in place and reads them back signed.
TEST(RecordFieldTest, FieldsAreLittleEndianAndSixteenBitWordsKeepTheirSign) {
    std::array<std::uint8_t, 8> record{};
    WriteRecordS16(record.data(), 1, -2);
    WriteRecordU32(record.data(), 4, 0x11223344u);
    EXPECT_EQ(record, (std::array<std::uint8_t, 8>{0, 0xFE, 0xFF, 0, 0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(RecordS16(record.data(), 1), -2);
    EXPECT_EQ(RecordU16(record.data(), 1), 0xFFFEu);
    EXPECT_EQ(RecordU32(record.data(), 4), 0x11223344u);
    // A record the library does not have reads as 0 and is never written.
    EXPECT_EQ(RecordS16(nullptr, 0), 0);
    WriteRecordS16(nullptr, 0, 5);
    WriteRecordU32(nullptr, 0, 5);
}

}  // namespace
}  // namespace qvi
