// qvcfg started on imaging libraries that cannot be used: a core library that
// lacks an entry point, a library file that does not load. Start-up ends with
// the message naming what is wrong and exit status 1; nothing is ever called
// through an entry point that was not found.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "qvcfg_fixture.h"

namespace qvi {
namespace {

// `text` with every `from` replaced by `to` (of the same length).
std::string ReplaceAll(std::string text, const std::string &from, const std::string &to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
        text.replace(at, from.size(), to), at += to.size();
    return text;
}

class QvcfgBindingTest : public QvcfgTest {
protected:
    void SetUp() override {
        QvcfgTest::SetUp();
        ::setenv("QUAR_RACK", (Config() / "rack.ini").c_str(), 1);
    }

    // A copy of the stand-in's core library whose export `name` is renamed,
    // so that no lookup finds it.
    fs::path CoreWithout(const std::string &name) {
        std::string renamed = name;
        renamed.back() = renamed.back() == 'Q' ? 'Z' : 'Q';
        return scratch_.Write("core-" + std::to_string(copies_++) + ".so",
                              ReplaceAll(Read(QUAR_CORE_PATH), name + '\0', renamed + '\0'));
    }

    // Points one library key of the sample settings at `file` and runs `show demo.txt`.
    Outcome ShowWith(const std::string &key, const fs::path &file) {
        const std::string line = key + "=";
        std::string settings = Read(fs::path(SAMPLES_DIR) / "qvi.ini");
        const std::size_t at = settings.find(line);
        settings.replace(at, settings.find('\n', at) - at, line + file.string());
        const fs::path ini = scratch_.Write("config/qvi.ini", settings);
        return Qvcfg("-i " + ini.string() + " show " + Demo());
    }

    int copies_ = 0;
};

// Naming each entry and library is the binding's concern; here, that qvcfg
// says it alone and stops: a real loader finds no entry in a real file, and
// the platform's own entries are not looked up on a failed binding.
TEST_F(QvcfgBindingTest, AnUnusableLibraryIsTheOnlyMessage) {
    const fs::path broken = scratch_.Write("broken.so", "this is no shared library\n");
    const struct {
        std::string key;
        fs::path file;
        std::string message;
    } cases[] = {
        {"PCI_CORE_DLL", CoreWithout("qrx_load_cnf"), "QUAR Function not found: qrx_load_cnf"},
        {"PCI_CORE_DLL", CoreWithout("qrx_err_level"), "QUAR Function not found: qrx_err_level"},
        {"PCI_CORE_DLL", CoreWithout("qrx_systop"), "QUAR Function not found: qrx_systop"},
        {"PCI_RX_DLL", broken, "Can't Load RX QUAR DLL: " + broken.string()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome outcome = ShowWith(c.key, c.file);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, "error: " + c.message + "\n");
    }
}

}  // namespace
}  // namespace qvi
