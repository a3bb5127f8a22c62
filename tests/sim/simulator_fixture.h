#pragma once

// A test on the built core library, the way the program meets it: a text
// configuration converted by the separate mkbcf program, loaded through
// qrx_load_cnf, with a rack file of the test's own.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "quar/quar_acquire.h"
#include "quar_library.h"
#include "support/acquisition_rigs.h"
#include "support/core_scratch_dir.h"

namespace qvi {

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("QUAR_RACK");
        ::unsetenv("CNF27310");
        ASSERT_TRUE(library_.IsOpen()) << dlerror();
    }

    std::filesystem::path Write(const char *name, const std::string &bytes) {
        return scratch_.Write(name, bytes);
    }

    // Converts with the separate mkbcf program; returns its exit status.
    int Convert(const std::filesystem::path &source, const std::filesystem::path &destination) {
        std::string command = std::string(MKBCF_PATH) + " '" + source.string() + "' '" +
                              destination.string() + "' -1 2>/dev/null";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int16_t Load(const char *text) {
        std::filesystem::path binary = dir_ / "config.cnf";
        EXPECT_EQ(Convert(Write("config.txt", text), binary), 0);
        return QUAR_CALL(library_, qrx_load_cnf, binary.c_str());
    }

    void UseRack(const char *text) { ::setenv("QUAR_RACK", Write("rack.ini", text).c_str(), 1); }

    // The boards of `rack` loaded with `configuration`, systems 0 to
    // `systems` - 1 started. Call through ASSERT_NO_FATAL_FAILURE.
    void StartSystems(const std::string &rack, const std::string &configuration, int systems = 1) {
        UseRack(rack.c_str());
        ASSERT_EQ(Load(configuration.c_str()), QRX_LOAD_OK);
        for (int system = 0; system < systems; ++system)
            ASSERT_EQ(QUAR_CALL(library_, qrx_init_sys, system), 0) << system;
    }

    QRX_HANDLE Board(int system) { return QUAR_CALL(library_, qrx_systop, system); }
    int Request(QRX_HANDLE board, int code) {
        QRX_XBOARD_REQUEST request{code, 0, {}};
        return QUAR_CALL(library_, qrx_xboard, board, &request);
    }
    // The frame number the pattern's counter shows in a board's frame 0.
    std::uint64_t Counter(QRX_HANDLE board) {
        return testing::PatternFrame([&](int x, int y) {
            return static_cast<std::uint32_t>(QUAR_CALL(library_, qrx_rpix, board, 0, x, y));
        });
    }

    testing::ScratchDir scratch_;
    const std::filesystem::path dir_ = scratch_.Path();
    testing::QuarLibrary library_{QUAR_CORE_PATH};
};

}  // namespace qvi
