#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/core_scratch_dir.h"

namespace qvi {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class QvcfgTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(SAMPLES_DIR, Config(), fs::copy_options::recursive);
        ::unsetenv("QUAR_RACK");
        ::unsetenv("CNF27310");
    }

    // Runs qvcfg with the copied directory as its configuration directory.
    Outcome Qvcfg(const std::string &arguments) {
        const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
        std::string command = std::string(QVCFG_PATH) + " -c " + Config().string() + " " +
                              arguments + " >" + out.string() + " 2>" + err.string();
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(out), Read(err)};
    }

    fs::path Config() const { return dir_ / "config"; }
    std::string Demo() const { return (Config() / "demo.txt").string(); }

    static constexpr auto Read = &testing::ScratchDir::Read;

    // Replaces the first `from` of the file at `path` by `to`. Call through
    // ASSERT_NO_FATAL_FAILURE.
    static void Edit(const fs::path &path, const std::string &from, const std::string &to) {
        std::string text = Read(path);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        std::ofstream(path, std::ios::binary) << text;
    }

    // The lines of the output that list elements ("INDEX<TAB>TEXT").
    static std::vector<std::string> ElementLines(const std::string &out) {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            if (line.find('\t') != std::string::npos) lines.push_back(line);
        return lines;
    }

    testing::ScratchDir scratch_;
    const fs::path dir_ = scratch_.Path();
};

}  // namespace qvi
