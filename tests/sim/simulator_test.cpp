// The imaging library stand-in as the program meets it: a text configuration
// converted by the separate mkbcf program, loaded into the shared core
// library, and walked through its entry points.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "quar/quar_digital_io.h"
#include "quar/quar_modules.h"
#include "quar_library.h"
#include "simulator_fixture.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;
using testing::QuarLibrary;

// One of every board kind: a Lumo (SX-400 with a TX-10), an SXA with two
// camera channels, a DQ-500 with both slots filled, an RX-600 with three
// computational modules, and the bus translator. Only the keys these tests
// look at are given: every key's way through the library is the every-key
// round trip's.
constexpr const char *kEveryBoard = R"([SYSTEM:0]
[Lumo:0]
[TX-10:0]
      Slot_Number = 0
[SXA:0]
[CameraPort:0]
      Name = "Cam A0"
      Camera_Structure = Create_Structure
      HTotal = 910
      Timing_Mode = Dual_Tap
[CameraPort:1]
[DQ-500:0]
[TX-30:0]
      Slot_Number = 0
[RX-20:0]
      Slot_Number = 1
[SYSTEM:1]
[RX-600:0]
[RX-10:0]
      Slot_Number = 0
[RX-30:0]
      Slot_Number = 1
[RX-40:0]
      Slot_Number = 2
[BZ-700]
      Safe_Access_Mode
      No_Hardware
)";

constexpr const char *kFullRack = R"(
[Board]
Kind = SXP
Slot0 = TX-10
[Board]
Kind = SXA
[Board]
Kind = DQP
Slot0 = TX-30
Slot1 = RX-20
[Board]
Kind = RXP
Slot0 = RX-10
Slot1 = RX-30
Slot2 = RX-40
)";

// The names, kinds and order of the elements, and the bus translator's
// access mode, are the system tree tests' (the program walks the library the
// same way); here, what it does not show.
TEST_F(SimulatorTest, ModulesKnowTheirBoardAndBoardsTheirSystem) {
    EXPECT_EQ(Load(kEveryBoard), QRX_LOAD_HARDWARE_MISSING);  // no rack: loaded, nothing present
    QRX_HANDLE lumo = QUAR_CALL(library_, qrx_systop, 0);
    QRX_HANDLE tx10 = QUAR_CALL(library_, qrx_get_modcnf, lumo, 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_parent, tx10), lumo);
    QRX_HANDLE sxa = QUAR_CALL(library_, qrx_get_next_mod, lumo);
    QRX_HANDLE channel1 = QUAR_CALL(library_, qrx_get_vmodcnf, sxa, 1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_parent, channel1), sxa);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_sysnum, QUAR_CALL(library_, qrx_systop, 1)), 1);
}

// Detection from the rack is the system tree tests'; initialising writes
// every key's value to its register.
TEST_F(SimulatorTest, InitialisingWritesTheLoadedValuesToTheRegisters) {
    UseRack(kFullRack);
    EXPECT_EQ(Load(kEveryBoard), QRX_LOAD_OK);
    EXPECT_EQ(QUAR_CALL(library_, qrx_init_sys, 0), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_init_sys, 1), 0);
    QRX_HANDLE sxa = QUAR_CALL(library_, qrx_get_next_mod, QUAR_CALL(library_, qrx_systop, 0));
    QRX_HANDLE channel0 = QUAR_CALL(library_, qrx_get_vmodcnf, sxa, 0);
    EXPECT_EQ(QUAR_CALL(library_, read_reg32, channel0, 164), 1u);    // Timing_Mode
    EXPECT_EQ(QUAR_CALL(library_, read_reg32, channel0, 123), 910u);  // HTotal
}

TEST_F(SimulatorTest, ReloadingReplacesSystemsAndRemovingEmptiesThem) {
    Load(kEveryBoard);
    QRX_HANDLE first = QUAR_CALL(library_, qrx_systop, 0);
    Load(kEveryBoard);
    QRX_HANDLE second = QUAR_CALL(library_, qrx_systop, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_modspec, first), nullptr);  // the old board is gone
    EXPECT_EQ(QUAR_CALL(library_, qrx_remove_sys, 0), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_systop, 0), 0u);
    EXPECT_NE(QUAR_CALL(library_, qrx_systop, 1), 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_remove_sys, 8), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_load_cnf, (dir_ / "missing.cnf").c_str()), QRX_LOAD_NO_FILE);

    // A handle the library never gave out fails without harm.
    EXPECT_EQ(QUAR_CALL(library_, write_reg, 0xDEAD, 1, 1), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_set_param, 0xDEAD, 1, 1.0), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_modspec, 0xDEAD), nullptr);
    EXPECT_STREQ(QUAR_CALL(library_, qrx_get_modname, 0xDEAD), "");
}

TEST_F(SimulatorTest, ModulesBuiltOnTheirOwnAndCameraCopies) {
    fs::path text = Write("defaults.txt", kEveryBoard);
    QRX_HANDLE port = QUAR_CALL(library_, qrx_load_modcnf, text.c_str(), "SXA-VMOD");
    ASSERT_NE(port, 0u);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_parent, port), 0u);
    void *spec = QUAR_CALL(library_, qrx_get_modspec, port);
    std::uint32_t camera = 0;  // the channel's camera structure
    std::memcpy(&camera, static_cast<const std::uint8_t *>(spec) + 0x12, 4);

    std::uint32_t copy = 0;
    EXPECT_EQ(QUAR_CALL(library_, sxa_cp_camcnf, port, camera, &copy, camera), 0);
    ASSERT_NE(copy, 0u);
    EXPECT_NE(copy, camera);
    EXPECT_STREQ(static_cast<const char *>(QUAR_CALL(library_, qrx_deref, copy)) + 8, "Cam A0");

    EXPECT_EQ(QUAR_CALL(library_, qrx_load_modcnf, text.c_str(), "TX-70"), 0u);  // not in the file
    EXPECT_EQ(QUAR_CALL(library_, qrx_del_modcnf, port), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_get_modspec, port), nullptr);
}

void CollectConsole(const char *text, void *user) {
    *static_cast<std::string *>(user) += text;
}

TEST_F(SimulatorTest, RegisterDumpsGoToTheConsoleStream) {
    Load(kEveryBoard);
    std::string console;
    QUAR_CALL(library_, qrx_set_console_sink, CollectConsole, &console);
    QRX_HANDLE lumo = QUAR_CALL(library_, qrx_systop, 0);
    QUAR_CALL(library_, write_reg, lumo, 17, 0x2A);
    EXPECT_EQ(QUAR_CALL(library_, sxp_dregs, lumo), 0);
    EXPECT_NE(console.find("SX-400:0 registers"), std::string::npos) << console;
    EXPECT_NE(console.find("reg   17 = 0x0000002A"), std::string::npos) << console;
    QUAR_CALL(library_, qrx_set_console_sink, nullptr, nullptr);
}

// The SXA loops its outputs back; the DQ-500 is not in the rack.
constexpr const char *kPortRack = R"(
[Board]
Kind = SXP
Slot0 = TX-10
[Board]
Kind = SXA
Loopback = 1
)";

TEST_F(SimulatorTest, OutputPortAndParameter131AgreeAndLoopBackToTheInputs) {
    UseRack(kPortRack);
    Load(kEveryBoard);
    QRX_HANDLE lumo = QUAR_CALL(library_, qrx_systop, 0);
    QRX_HANDLE sxa = QUAR_CALL(library_, qrx_get_next_mod, lumo);
    EXPECT_EQ(QUAR_CALL(library_, qrx_outport_val, lumo, 0xA5), 0);
    EXPECT_DOUBLE_EQ(QUAR_CALL(library_, qrx_get_param, lumo, 131), 0xA5);

    EXPECT_EQ(QUAR_CALL(library_, qrx_outport_val, sxa, 0x3C), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_val, sxa, 0), 0x3C);
    EXPECT_EQ(QUAR_CALL(library_, qrx_outport_strobe_val, sxa, 0x42), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_val, sxa, 0), 0x42);
    EXPECT_EQ(QUAR_CALL(library_, qrx_set_param, sxa, 131, -3.0), 0);  // junk reads as no lines
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_val, sxa, 0), 0);

    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_mode, lumo, 1, 1), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_intrpol, lumo, 1), 0);

    // With its input buffer off the port reads no lines; on again, it does.
    EXPECT_EQ(QUAR_CALL(library_, qrx_outport_val, sxa, 0x42), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_mode, sxa, 0, 1), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_val, sxa, 0), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_mode, sxa, 1, 1), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_val, sxa, 0), 0x42);
}

TEST_F(SimulatorTest, PortEntriesRefuseBadHandlesAndValues) {
    UseRack(kPortRack);
    Load(kEveryBoard);
    QRX_HANDLE lumo = QUAR_CALL(library_, qrx_systop, 0);
    QRX_HANDLE sxa = QUAR_CALL(library_, qrx_get_next_mod, lumo);
    QRX_HANDLE dqp = QUAR_CALL(library_, qrx_get_next_mod, sxa);  // not in the rack
    QRX_HANDLE channel = QUAR_CALL(library_, qrx_get_vmodcnf, sxa, 0);
    for (QRX_HANDLE bad : {QRX_HANDLE{0}, QRX_HANDLE{0xDEAD}, dqp, channel}) {
        EXPECT_EQ(QUAR_CALL(library_, qrx_inport_val, bad, 0), -1) << bad;
        EXPECT_EQ(QUAR_CALL(library_, qrx_outport_val, bad, 1), -1) << bad;
        EXPECT_EQ(QUAR_CALL(library_, qrx_outport_strobe_val, bad, 1), -1) << bad;
        EXPECT_EQ(QUAR_CALL(library_, qrx_inport_mode, bad, 0, 0), -1) << bad;
        EXPECT_EQ(QUAR_CALL(library_, qrx_inport_intrpol, bad, 0), -1) << bad;
    }
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_val, lumo, 1), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_outport_val, lumo, -1), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_outport_strobe_val, lumo, 0x10000), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_mode, lumo, 2, 0), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_mode, lumo, 0, -1), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_inport_intrpol, lumo, 3), -1);
    EXPECT_DOUBLE_EQ(QUAR_CALL(library_, qrx_get_param, lumo, 131), 0.0);  // refused: unchanged
}

}  // namespace
}  // namespace qvi
