#pragma once

// Small key tables of made-up models for the converter's tests and fuzzers:
// boards with slots, a four-port module, a single-port module with every
// number type, an SXA-like board with two camera channels, a model whose rows
// are pending, and a bus translator. They are independent of the real data set.

#include <string_view>

#include "config/config_model.h"

namespace quar::testing {

namespace fake {

using qvi::keys::KeyKind;
using qvi::keys::KeyRow;
using qvi::keys::ModelCategory;
using qvi::keys::ModelTable;
using qvi::keys::SlotKind;
using qvi::keys::ValueType;
using qvi::keys::Word;

constexpr bool kNamed = true;
constexpr bool kBare = false;
constexpr bool kPerPort = true;

constexpr KeyRow Range(int handle, std::string_view key, ValueType type, double defaultValue,
                       bool perPort = false, int radix = 10) {
    return {handle, key, KeyKind::Range, type, {}, defaultValue, {}, false, -1, radix, perPort, {}};
}

constexpr KeyRow Text(int handle, std::string_view key, std::string_view defaultText,
                      bool perPort = false) {
    return {handle,  key, KeyKind::String, ValueType::Text, {}, 0.0, defaultText, false, -1, 10,
            perPort, {}};
}

constexpr KeyRow Choice(int handle, std::string_view key, std::span<const Word> words,
                        double defaultValue, bool named, bool perPort = false) {
    return {handle,  key, KeyKind::Choice, ValueType::S16, words, defaultValue, {}, named, -1, 10,
            perPort, {}};
}

// clang-format off
inline constexpr Word kTrigger[] = {{"TX_Trigger_enabled", 1}, {"", 0}};
inline constexpr Word kStartField[] = {{"Next_field", 0}, {"Next_even_field", 2},
                                       {"Next_odd_field", 3}};
inline constexpr Word kPixelSize[] = {{"0", 0}, {"16", 16}, {"24", 24}};
inline constexpr KeyRow kBoardKeys[] = {
    Range(0, "Latency", ValueType::S16, 248),
    Range(5, "Mailbox1", ValueType::S32, 0, false, 16),
    Choice(2, "", kTrigger, 1, kBare),
    Choice(4, "Start_Field", kStartField, 2, kNamed),
    Choice(22, "Pixsz_Override", kPixelSize, 0, kNamed),
};

inline constexpr Word kFrameSize[] = {{"Size_1K1K", 0}, {"Size_2K512", 1}};
inline constexpr KeyRow kDqKeys[] = {Choice(1, "FrameA0_Size", kFrameSize, 0, kNamed)};

inline constexpr KeyRow kSxaKeys[] = {Range(0, "IRQ_Line", ValueType::U8, 0)};

inline constexpr Word kInterlace[] = {{"Non_Interlaced", 0}, {"Interlaced", 1}};
inline constexpr KeyRow kChannelKeys[] = {
    Text(3, "Name", "Undefined"),
    Choice(6, "", kInterlace, 1, kBare),
    Range(8, "Gain", ValueType::U16, 100),
};

inline constexpr Word kOutputLut[] = {{"Output_LUT_Enable", 0}, {"Output_LUT_Bypass", 1}};
inline constexpr Word kStrobe[] = {{"Strobe1_Low", 0}, {"Strobe1_High", 1}};
inline constexpr Word kSync[] = {{"CV_In", 13}, {"CS_In", 12}};
inline constexpr KeyRow kFourPortKeys[] = {
    Range(0, "Startup_Port", ValueType::S16, 0),
    Text(5, "Load_Name", "tx30def.mcs"),
    Choice(6, "", kOutputLut, 0, kBare),
    Text(3, "Name", "Undefined", kPerPort),
    Choice(24, "", kStrobe, 0, kBare, kPerPort),
    Choice(22, "Sync_Type", kSync, 13, kNamed, kPerPort),
    Range(32, "Red_Video_P_Ref", ValueType::S16, 160, kPerPort),
    Range(37, "CSC_Coefficient_Matrix", ValueType::Float, 0, kPerPort),
    Range(38, "CSC_Coefficient_Matrix", ValueType::Float, 0, kPerPort),
    Range(39, "CSC_Coefficient_Matrix", ValueType::Float, 0, kPerPort),
    Range(50, "Window_Mask", ValueType::U16, 0, kPerPort, 16),
    Range(51, "Offset", ValueType::U8, 0, kPerPort),
};

inline constexpr Word kFieldShift[] = {{"Field_Shift", 1}, {"", 0}};
inline constexpr Word kDual[] = {{"Dual_A", 0}, {"Dual_B", 1}};
inline constexpr Word kMatrixStructure[] = {{"Default_Structure", 1}, {"Create_Structure", 0}};
inline constexpr KeyRow kOnePortKeys[] = {
    Text(2, "Name", "Undefined"),
    Choice(10, "", kFieldShift, 1, kBare),
    Choice(11, "", kDual, 0, kBare),
    Choice(12, "", kDual, 0, kBare),
    Range(20, "Exposure", ValueType::Float, 1.0),
    Range(21, "Mailbox", ValueType::S32, 0, false, 16),
    Range(22, "Counter", ValueType::U32, 0),
    Range(23, "Trim", ValueType::S8, 0),
    Range(24, "Index_Pos", ValueType::Index, 0),
    Choice(14, "Matrix_Structure", kMatrixStructure, 1, kNamed),
};

inline constexpr KeyRow kPendingKeys[] = {Range(0, "Startup_Port", ValueType::S16, 3)};
inline constexpr KeyRow kMemoryKeys[] = {Range(0, "Memory_Size", ValueType::U16, 16)};

inline constexpr Word kAccess[] = {{"Safe_Access_Mode", 1}, {"Reg_Access_Mode", 0}};
inline constexpr KeyRow kBusKeys[] = {Choice(3, "", kAccess, 0, kBare)};

inline constexpr SlotKind kOneAcquisitionSlot[] = {SlotKind::Acquisition};
inline constexpr SlotKind kDqSlots[] = {SlotKind::Acquisition, SlotKind::Computational};
inline constexpr SlotKind kRxSlots[] = {SlotKind::Computational, SlotKind::Computational,
                                        SlotKind::Computational};
inline constexpr SlotKind kTwoChannels[] = {SlotKind::CameraChannel, SlotKind::CameraChannel};
// clang-format on

constexpr ModelTable Table(std::string_view model, std::string_view section, ModelCategory category,
                           SlotKind fits, std::span<const SlotKind> slots, int cameraPorts,
                           std::span<const KeyRow> keys, bool pending = false) {
    ModelTable table{model, section, category, fits, slots, {}, keys};
    table.layout.cameraPorts = cameraPorts;
    table.rowsPending = pending;
    return table;
}

constexpr auto kBoardCategory = ModelCategory::Board;
constexpr auto kModule = ModelCategory::SlotModule;
constexpr auto kAcquisition = SlotKind::Acquisition;

inline constexpr ModelTable kBoard =
    Table("SXP", "SX-400", kBoardCategory, kAcquisition, kOneAcquisitionSlot, 0, kBoardKeys);
inline constexpr ModelTable kDqBoard =
    Table("DQP", "DQ-500", kBoardCategory, kAcquisition, kDqSlots, 0, kDqKeys);
inline constexpr ModelTable kRxBoard =
    Table("RXP", "RX-600", kBoardCategory, kAcquisition, kRxSlots, 0, {});
inline constexpr ModelTable kSxaBoard =
    Table("SXA", "SXA", kBoardCategory, kAcquisition, kTwoChannels, 0, kSxaKeys);
inline constexpr ModelTable kChannel = Table("SXA-VMOD", "CameraPort", ModelCategory::CameraChannel,
                                             SlotKind::CameraChannel, {}, 1, kChannelKeys);
inline constexpr ModelTable kFourPort =
    Table("TX-31", "TX-30", kModule, kAcquisition, {}, 4, kFourPortKeys);
inline constexpr ModelTable kOnePort =
    Table("TX-60", "TX-60", kModule, kAcquisition, {}, 1, kOnePortKeys);
inline constexpr ModelTable kPending =
    Table("TX-50", "TX-50", kModule, kAcquisition, {}, 0, kPendingKeys, true);
inline constexpr ModelTable kMemory =
    Table("RX-10", "RX-10", kModule, SlotKind::Computational, {}, 0, kMemoryKeys);
inline constexpr ModelTable kBus =
    Table("BZ700", "BZ-700", ModelCategory::BusTranslator, kAcquisition, {}, 0, kBusKeys);

inline constexpr const ModelTable *kAll[] = {&kBoard,   &kDqBoard,  &kRxBoard, &kSxaBoard,
                                             &kChannel, &kFourPort, &kOnePort, &kPending,
                                             &kMemory,  &kBus};

}  // namespace fake

// The made-up models; the SX-400 board is also found under "Lumo".
class FakeTables final : public TableSet {
public:
    const qvi::keys::ModelTable *FindSection(std::string_view section) const override {
        if (section == "Lumo") return &fake::kBoard;
        for (const qvi::keys::ModelTable *table : fake::kAll)
            if (table->section == section) return table;
        return nullptr;
    }
    const qvi::keys::ModelTable *FindModel(std::string_view model) const override {
        for (const qvi::keys::ModelTable *table : fake::kAll)
            if (table->model == model) return table;
        return nullptr;
    }
};

}  // namespace quar::testing
