// Triggers on the stand-in: every model takes the trigger source its
// registers were prepared for and no other, a triggered snap holds the next
// frame, and interrupt events see triggers and frame ends.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "quar/quar_acquire.h"
#include "quar/quar_host_acquire.h"
#include "quar/quar_modules.h"
#include "sim/test_pattern.h"
#include "sim/trigger_registers.h"
#include "simulator_fixture.h"

namespace qvi {
namespace {

using namespace std::chrono_literals;

constexpr int kPeriodMs = 20;

// One board per trigger model: SX-400s with every TX module but the TX-30,
// which sits on a DQ-500.
constexpr const char *kRack = R"(
[Board]
Kind = SXP
Count = 7
ExternalTriggerPeriod = 20
[Board]
Kind = DQP
ExternalTriggerPeriod = 20
Slot0 = TX-30
)";

// System n holds board n of the rack with its module (and the module's own
// lines, if any).
std::string Boards() {
    const char *boards[][3] = {
        {"Lumo:0", "TX-10:0", ""},   {"SX-400:1", "TX-20:0", ""},
        {"SX-400:2", "TX-40:0", ""}, {"SX-400:3", "TX-50:0", ""},
        {"SX-400:4", "TX-60:0", ""}, {"SX-400:5", "TX-70:0", "      RGB_Input_Board\n"},
        {"SX-400:6", "TX-70:1", ""}, {"DQ-500:0", "TX-30:0", ""},
    };
    std::string text;
    for (int system = 0; system < 8; ++system)
        text += "[SYSTEM:" + std::to_string(system) + "]\n[" + boards[system][0] + "]\n[" +
                boards[system][1] + "]\n      Slot_Number = 0\n" + boards[system][2];
    return text;
}

class TriggerTest : public SimulatorTest {
protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartSystems(kRack, Boards(), 8));
    }
    void TearDown() override {
        for (int system = 0; system < 8; ++system) QUAR_CALL(library_, qrx_remove_sys, system);
        SimulatorTest::TearDown();
    }
    QRX_HANDLE Module(QRX_HANDLE board) { return QUAR_CALL(library_, qrx_get_modcnf, board, 0); }
    bool IsDqp(QRX_HANDLE board) {
        return std::string(QUAR_CALL(library_, qrx_get_modname, board)) == "DQP";
    }
    void Write(QRX_HANDLE module, int reg, std::uint32_t value) {
        ASSERT_EQ(QUAR_CALL(library_, write_reg, module, reg, static_cast<uint16_t>(value)), 0);
    }
    void Arm(QRX_HANDLE board) {
        if (IsDqp(board))
            ASSERT_EQ(
                QUAR_CALL(library_, dqp_acqbits, board, DQP_FRAME_A0, DQP_ACQBITS_ARM_TRIGGER),
                DQP_STATUS_ARMED);
        else
            ASSERT_EQ(QUAR_CALL(library_, sxp_trig_snap, board, 0), 0);
    }
    // The board's "triggered snap still pending" parameter, as the program polls it.
    bool Pending(QRX_HANDLE board) {
        return QUAR_CALL(library_, qrx_get_param, board, IsDqp(board) ? 168 : 87) != 0.0;
    }
    // Waits a few external trigger periods for the pending snap to be taken.
    bool TakenSoon(QRX_HANDLE board) {
        for (int tick = 0; tick < 20 && Pending(board); ++tick) std::this_thread::sleep_for(10ms);
        return !Pending(board);
    }
    // Arms and fires a software trigger. The external clock keeps ticking, so
    // a tick between arming and looking may take the snap first: that case is
    // tried again; a software trigger that takes it fails every attempt.
    bool SoftwareTriggerLeavesArmed(QRX_HANDLE board) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            Arm(board);
            EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, board), 0);
            if (Pending(board)) return true;
        }
        return false;
    }
    // The row of a module, chosen as the hardware would by its input board.
    const quar::TriggerRegisters *Row(QRX_HANDLE module) {
        const std::string model = QUAR_CALL(library_, qrx_get_modname, module);
        const int inputBoard = QUAR_CALL(library_, read_reg, module, 2);
        const quar::TriggerRegisters *any = nullptr;
        for (const auto &row : quar::kTriggerRegisters) {
            if (row.model != model) continue;
            if (row.inputBoard == inputBoard) return &row;
            if (row.inputBoard < 0) any = &row;
        }
        return any;
    }
};

// Prepared for software, the external clock does not take the armed snap
// and the model's own software trigger does; prepared for external, a
// software trigger does not and the clock does. Every model with trigger
// registers, on every board of the rack that carries one.
TEST_F(TriggerTest, EveryModelTakesOnlyThePreparedSource) {
    int models = 0;
    for (int system = 0; system < 8; ++system) {
        const QRX_HANDLE board = Board(system);
        const QRX_HANDLE module = Module(board);
        const quar::TriggerRegisters *row = Row(module);
        if (row == nullptr) continue;
        SCOPED_TRACE(std::string(row->model) + " input board " + std::to_string(row->inputBoard));
        ++models;
        if (row->softwareSource >= 0) {
            Write(module, row->sourceRegister, static_cast<std::uint32_t>(row->softwareSource));
            Write(module, row->enableRegister, 1);
            Arm(board);
            std::this_thread::sleep_for(std::chrono::milliseconds(3 * kPeriodMs));
            EXPECT_TRUE(Pending(board)) << "an external trigger took a software-armed snap";
            Write(module, row->softwareTriggerRegister, row->softwareTriggerValue);
            EXPECT_FALSE(Pending(board));
        }
        Write(module, row->sourceRegister, static_cast<std::uint32_t>(row->externalSource));
        Write(module, row->enableRegister, 1);
        EXPECT_TRUE(SoftwareTriggerLeavesArmed(board))
            << "a software trigger took an externally armed snap";
        EXPECT_TRUE(TakenSoon(board));
    }
    EXPECT_EQ(models, 7);
}

// A model without trigger settings of its own (TX-60) takes either source;
// a disabled generator takes none.
TEST_F(TriggerTest, TheGeneratorEnableAndModelsWithoutSettings) {
    const QRX_HANDLE tx60 = Board(4);
    Arm(tx60);
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, tx60), 0);
    EXPECT_FALSE(Pending(tx60));

    const QRX_HANDLE lumo = Board(0);
    Write(Module(lumo), 57, 1);
    Write(Module(lumo), 52, 0);
    Arm(lumo);
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, Module(lumo)), 0);
    EXPECT_EQ(QUAR_CALL(library_, sxp_wait_trig, lumo, 4), 1);
    Write(Module(lumo), 52, 1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, Module(lumo)), 0);
    EXPECT_EQ(QUAR_CALL(library_, sxp_wait_trig, lumo, 0), 0);
}

// The snap holds the frame after the one there before; the trigger and the
// frame end set their events once; a second wait times out.
TEST_F(TriggerTest, ATriggeredSnapTakesTheNextFrameAndSetsItsEvents) {
    const QRX_HANDLE board = Board(0);
    const QRX_HANDLE module = Module(board);
    QRX_HANDLE onTrigger = 0, onFrame = 0;
    ASSERT_EQ(QUAR_CALL(library_, qrx_intr_connect, module, QRX_INTR_TRIGGER, &onTrigger), 0);
    ASSERT_EQ(QUAR_CALL(library_, qrx_intr_connect, board, QRX_INTR_FRAME_END, &onFrame), 0);
    QRX_XBOARD_REQUEST snap{QRX_XBOARD_SNAP, 0, {}};
    ASSERT_EQ(QUAR_CALL(library_, qrx_xboard, board, &snap), 0);
    const std::uint64_t before = Counter(board);

    Write(module, 57, 1);
    Write(module, 52, 1);
    Arm(board);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, onFrame, 0), -1) << "nothing taken yet";
    Write(module, 62, 1);
    EXPECT_EQ(QUAR_CALL(library_, sxp_wait_trig, board, 100), 0);
    EXPECT_EQ(Counter(board), before + 1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_rpix, board, 0, 200, 100),
              static_cast<int32_t>(quar::PatternPixel(200, 100, before + 1, quar::LayoutOf(8, 0))));
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, onTrigger, 0), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, onFrame, 0), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, onFrame, 30), -1);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 25ms);
    EXPECT_LT(waited, 500ms);

    // A trigger that comes while nothing is armed still reaches the module.
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, board), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, onTrigger, 0), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, onFrame, 0), -1);
}

TEST_F(TriggerTest, InterruptEventsDisableAndDisconnect) {
    const QRX_HANDLE board = Board(0);
    Write(Module(board), 57, 1);  // software only: the external clock is no trigger to it
    Write(Module(board), 52, 1);
    QRX_HANDLE event = 0;
    ASSERT_EQ(QUAR_CALL(library_, qrx_intr_connect, board, QRX_INTR_TRIGGER, &event), 0);
    ASSERT_EQ(QUAR_CALL(library_, qrx_intr_disable, event), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, board), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, event, 0), -1) << "disabled";
    ASSERT_EQ(QUAR_CALL(library_, qrx_intr_enable, event), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, event, 0), -1) << "came while disabled";

    int result = 0;
    std::thread waiter([&] { result = QUAR_CALL(library_, qrx_intr_wait, event, -1); });
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_disconnect, event), 0);
    waiter.join();
    EXPECT_EQ(result, -2);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_disconnect, event), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, event, 0), -1);
}

TEST_F(TriggerTest, BadHandlesAndArgumentsFail) {
    const QRX_HANDLE lumo = Board(0);
    const QRX_HANDLE dqp = Board(7);
    QRX_HANDLE event = 0;
    EXPECT_EQ(QUAR_CALL(library_, qrx_gen_swtrig, 0xDEAD), -1);
    EXPECT_EQ(QUAR_CALL(library_, sxp_trig_snap, dqp, 0), -1);
    EXPECT_EQ(QUAR_CALL(library_, sxp_trig_snap, lumo, 3), -1);
    EXPECT_EQ(QUAR_CALL(library_, sxp_wait_trig, lumo, 0), 0) << "nothing armed";
    EXPECT_EQ(QUAR_CALL(library_, sxp_wait_trig, lumo, -1), -1);
    EXPECT_EQ(QUAR_CALL(library_, sxp_wait_trig, dqp, 1), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_connect, lumo, QRX_INTR_TRIGGER, nullptr), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_connect, lumo, 2, &event), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_connect, 0xDEAD, QRX_INTR_TRIGGER, &event), -1);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_enable, lumo), -1) << "a module is no event";
    ASSERT_EQ(QUAR_CALL(library_, qrx_intr_connect, lumo, QRX_INTR_TRIGGER, &event), 0);
    EXPECT_EQ(QUAR_CALL(library_, qrx_intr_wait, event, -7), -1);
}

// A snap or a stop request ends a DQ-500's armed snap: no later trigger
// overwrites the frame it took.
TEST_F(TriggerTest, ADqpRequestEndsItsArmedSnap) {
    const QRX_HANDLE dqp = Board(7);
    Write(Module(dqp), 17, 1);
    Write(Module(dqp), 16, 1);
    Arm(dqp);
    QRX_XBOARD_REQUEST stop{QRX_XBOARD_STOP, DQP_FRAME_A0, {}};
    ASSERT_EQ(QUAR_CALL(library_, qrx_xboard, dqp, &stop), 0);
    EXPECT_FALSE(Pending(dqp));
    const int32_t pixel = QUAR_CALL(library_, qrx_rpix, dqp, DQP_FRAME_A0, 200, 100);
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * kPeriodMs));
    EXPECT_EQ(QUAR_CALL(library_, qrx_rpix, dqp, DQP_FRAME_A0, 200, 100), pixel);
    EXPECT_EQ(QUAR_CALL(library_, dqp_acqbits, dqp, DQP_FRAME_A0, DQP_ACQBITS_STATUS),
              DQP_STATUS_IDLE);
}

}  // namespace
}  // namespace qvi
