// The platform object's register writes: the entry each value kind takes; none without hardware.
#include "system/plat_mod.h"

#include <gtest/gtest.h>

#include <array>

#include "support/fake_registers.h"
#include "support/test_env.h"

namespace qvi {
namespace {

using testing::FakeRegisters;
using Write = FakeRegisters::Write;

class PlatModTest : public testing::UiTest {
protected:
    FakeRegisters registers;
    QV_plat_mod board{"SXP plat_mod", &registers, 0x20};
};

// 16-bit values take the 16-bit entry, unsigned 32-bit ones the 32-bit entry
// when the library has it; anything else is an illegal write.
TEST_F(PlatModTest, EachKindTakesItsEntryOrIsIllegal) {
    EXPECT_EQ(board.write_reg(4, QV_param_val::U16(0xBEEF)), 0);
    EXPECT_EQ(board.write_reg(5, QV_param_val::S16(-2)), 0);
    EXPECT_EQ(board.write_reg(6, QV_param_val::U32(0x12345678)), 0);
    EXPECT_EQ(registers.writes,
              (std::vector<Write>{
                  {0x20, 4, 0xBEEF, 16}, {0x20, 5, 0xFFFE, 16}, {0x20, 6, 0x12345678, 32}}));
    EXPECT_TRUE(ui.messages.empty());

    for (QV_param_val value : {QV_param_val::U8(1), QV_param_val::S32(1), QV_param_val::Float(1),
                               QV_param_val::Text("1"), QV_param_val::Index(1)})
        EXPECT_EQ(board.write_reg(6, value), -1);
    registers.has32 = false;
    EXPECT_EQ(board.write_reg(6, QV_param_val::U32(1)), -1);
    EXPECT_EQ(registers.writes.size(), 3u);
    EXPECT_EQ(ui.Errors(), std::vector<std::string>(6, "Illegal write_reg"));
}

TEST_F(PlatModTest, WithoutHardwareOrRegisterNothingIsTouched) {
    EXPECT_EQ(board.write_reg(-1, QV_param_val::U16(1)), 0);
    EXPECT_EQ(board.write_reg(-1, QV_param_val::Float(1)), 0);  // not even the kind is checked
    SetHardwareEnabled(false);
    EXPECT_EQ(board.write_reg(3, QV_param_val::U16(1)), 0);
    QV_param_val read = board.read_reg(3);
    EXPECT_TRUE(read.Equals(QV_param_val::U16(0)));
    EXPECT_TRUE(registers.writes.empty());
    EXPECT_EQ(registers.reads16 + registers.reads32, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PlatModTest, ReadsWholeRegistersOnlyWhereTheTableAndLibraryAllowIt) {
    // Three registers; register 1 is marked 32-bit in its last byte.
    std::array<std::uint8_t, 3 * QV_plat_mod::kRegTableEntrySize> table{};
    table[2 * QV_plat_mod::kRegTableEntrySize - 1] = QV_plat_mod::kReg32Flag;
    board.SetRegisterTable(table);
    registers.registers[0] = 0xFFFF;
    registers.registers[1] = 0x12345678;

    EXPECT_TRUE(board.read_reg(1).Equals(QV_param_val::U32(0x12345678)));
    EXPECT_TRUE(board.read_reg(0).Equals(QV_param_val::S16(-1)));
    EXPECT_TRUE(board.read_reg(-1).Equals(QV_param_val::U16(0)));
    EXPECT_FALSE(board.IsRegister32(3));  // beyond the table

    registers.has32 = false;
    EXPECT_TRUE(board.read_reg(1).Equals(QV_param_val::S16(0x5678)));
    EXPECT_EQ(registers.reads32, 1);
    EXPECT_EQ(registers.reads16, 2);
}

}  // namespace
}  // namespace qvi
