// One module setting: per-port values, converters and its written line.
#include "params/mod_param.h"

#include <gtest/gtest.h>

#include <array>

#include "support/fake_registers.h"
#include "support/test_env.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

using testing::FakeRegisters;
using testing::UiTest;
using Write = FakeRegisters::Write;

constexpr std::uint32_t kHandle = 0x51;

class ModParamTest : public UiTest {
protected:
    FakeRegisters registers;
    QV_plat_mod board{"test plat_mod", &registers, kHandle};
};

// The SXA camera port's interlace setting: a bare word.
std::unique_ptr<QV_choice_param> InterlaceParam() {
    const std::array<QV_param_val, 1> defaults{QV_param_val::U32(1)};
    return std::make_unique<QV_choice_param>(
        "", 1, defaults, 81, 6, std::make_unique<Val2IndexConverter>(),
        std::make_unique<Index2ValConverter>(), std::make_unique<Val2IndexConverter>(), nullptr,
        nullptr, nullptr, std::vector<std::string>{"Non_Interlaced", "Interlaced"},
        std::vector<QV_param_val>{QV_param_val::U32(0), QV_param_val::U32(1)}, false);
}

std::unique_ptr<QV_range_param> RangeParam(const char *name, QV_param_val value, int radix,
                                           int ports = 1, int reg = 12) {
    const std::array<QV_param_val, 1> defaults{value};
    return std::make_unique<QV_range_param>(name, ports, defaults, reg, 3, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, radix);
}

// A choice is a bare word or "key = word" (a value in no choice gives the
// first word); a range follows its radix (the value's own formatting is the
// value tests'), a float is quoted with three decimals, a string is quoted; a
// disabled parameter has no line.
TEST_F(ModParamTest, WrittenLinesFollowTheKind) {
    auto interlace = InterlaceParam();
    EXPECT_EQ(interlace->GetCFGString(), "Interlaced");
    interlace->SetRawValue(QV_param_val::U32(0));
    EXPECT_EQ(interlace->GetCFGString(), "Non_Interlaced");
    interlace->SetRawValue(QV_param_val::U32(7));
    EXPECT_EQ(interlace->GetCFGString(), "Non_Interlaced");
    interlace->SetEnabled(false);
    EXPECT_EQ(interlace->GetCFGString(), "");

    const std::array<QV_param_val, 1> high{QV_param_val::U16(1)};
    QV_choice_param polarity(
        "Trigger_Polarity", 1, high, -1, 9, std::make_unique<Val2IndexConverter>(), nullptr,
        std::make_unique<Val2IndexConverter>(), nullptr, nullptr, nullptr,
        {"Active_Low", "Active_High"}, {QV_param_val::U16(0), QV_param_val::U16(1)}, true);
    EXPECT_EQ(polarity.GetCFGString(), "Trigger_Polarity = Active_High");

    EXPECT_EQ(RangeParam("HCount", QV_param_val::U16(255), 16)->GetCFGString(), "HCount = 0xFF");
    EXPECT_EQ(RangeParam("Gain", QV_param_val::Float(1.5f), 16)->GetCFGString(),
              "Gain = \"1.500\"");
    auto range = RangeParam("HCount", QV_param_val::U16(1), 10);
    range->SetEnabled(false);
    EXPECT_EQ(range->GetCFGString(0), "");

    const std::array<QV_param_val, 1> text{QV_param_val::Text("KP-F1 camera")};
    QV_string_param name("Camera_Name", 1, text, -1, 1, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr);
    EXPECT_EQ(name.GetCFGString(), "Camera_Name = \"KP-F1 camera\"");
    QV_mod_param plain("Plain", 1, high, -1, 1, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr);
    EXPECT_EQ(plain.GetCFGString(), "ERROR in QV_mod_param::GetCFGString(int thePort)");
}

TEST_F(ModParamTest, BadPortsAreReportedAndChangeNothing) {
    auto param = RangeParam("Clamp_Level", QV_param_val::U16(10), 10, 4);
    EXPECT_EQ(param->SetRawValue(4, QV_param_val::U16(99)), -1);
    EXPECT_EQ(param->SetValFromCNF(7, QV_param_val::U16(99)), -1);
    QV_param_val fallback = param->GetDefaultVal(4);
    EXPECT_EQ(fallback.GetKind(), ValKind::Index);
    EXPECT_EQ(fallback.GetLong(), -1);
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{
                  "invalid port: 4 passed to SetRawValue() for mod param: Clamp_Level",
                  "invalid port: 7 passed to SetValFromCNF() for mod param: Clamp_Level",
                  "invalid port: 4 passed to GetDefaultVal() for mod param: "
                  "Clamp_Level"}));
    for (int port = 0; port < 4; ++port)
        EXPECT_TRUE(param->GetRawValue(port).Equals(QV_param_val::U16(10)));
    EXPECT_FALSE(param->IsModified());

    param->SetCurrentPort(4);  // ignored
    EXPECT_EQ(param->GetCurrentPort(), 0);
    param->SetCurrentPort(3);
    EXPECT_EQ(param->GetCurrentPort(), 3);
}

TEST_F(ModParamTest, IsModifiedComparesKindsAsWellAsNumbers) {
    auto param = RangeParam("HCount", QV_param_val::U16(5), 10);
    EXPECT_FALSE(param->IsModified());
    param->SetRawValue(QV_param_val::U32(5));
    EXPECT_TRUE(param->IsModified());
    param->MarkSaved();
    EXPECT_FALSE(param->IsModified());
}

TEST_F(ModParamTest, UiValuesPassThroughTheConvertersAndReachTheRegister) {
    auto interlace = InterlaceParam();
    interlace->AttachTo(nullptr, &board);
    EXPECT_EQ(interlace->GetUIValue().GetLong(), 1);
    EXPECT_EQ(interlace->SetUIValue(QV_param_val::Index(0)), 0);
    EXPECT_TRUE(interlace->GetRawValue().Equals(QV_param_val::U32(0)));
    EXPECT_EQ(registers.writes, (std::vector<Write>{{kHandle, 81, 0, 32}}));
}

TEST_F(ModParamTest, ValuesFromTheConfigurationGoThroughTheirConverterWithoutHardware) {
    const std::array<QV_param_val, 1> defaults{QV_param_val::U16(0)};
    QV_range_param inverted("Sync_Enable", 1, defaults, 3, 1, nullptr, nullptr, nullptr,
                            std::make_unique<InvertConverter>(), nullptr, nullptr, 10);
    inverted.AttachTo(nullptr, &board);
    EXPECT_EQ(inverted.SetValFromCNF(0, QV_param_val::U16(0)), 0);
    EXPECT_EQ(inverted.GetRawValue().GetLong(), 1);
    EXPECT_TRUE(registers.writes.empty());
}

TEST_F(ModParamTest, RevertRestoresSavedValuesAndRewritesOnlyTheCurrentPort) {
    auto param = RangeParam("Clamp_Level", QV_param_val::U16(10), 10, 4, 20);
    param->AttachTo(nullptr, &board);
    param->SetCurrentPort(1);
    param->SetRawValue(0, QV_param_val::U16(50));
    param->SetRawValue(1, QV_param_val::U16(51));
    param->RevertAll();
    EXPECT_FALSE(param->IsModified());
    EXPECT_EQ(param->GetRawValue(0).GetLong(), 10);
    EXPECT_EQ(registers.writes, (std::vector<Write>{{kHandle, 20, 10, 16}}));
}

TEST_F(ModParamTest, OffsetRangeWritesTheValueLessEightAsSigned16) {
    const std::array<QV_param_val, 1> defaults{QV_param_val::U16(3)};
    QV_offset_range_param level("Black_Level", 1, defaults, 40, 2,
                                std::make_unique<InvertConverter>(), nullptr, nullptr, nullptr,
                                std::make_unique<InvertConverter>(), nullptr, 10);
    level.AttachTo(nullptr, &board);
    level.ApplyToHardware();  // the to-hardware converter is not used
    EXPECT_EQ(registers.writes, (std::vector<Write>{{kHandle, 40, 0xFFFB, 16}}));
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace qvi
