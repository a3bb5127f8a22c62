// qvcfg started on imaging libraries that cannot be used: a core library that
// lacks an entry point, a library file that does not load. Start-up ends with
// the message naming what is wrong and exit status 1; nothing is ever called
// through an entry point that was not found.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "qvcfg_fixture.h"

namespace qvi {
namespace {

void Write(const fs::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

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
    void TearDown() override {
        ::unsetenv("QUAR_RACK");
        QvcfgTest::TearDown();
    }

    // A copy of the stand-in's core library whose export `name` is renamed,
    // so that no lookup finds it.
    fs::path CoreWithout(const std::string &name) {
        std::string renamed = name;
        renamed.back() = renamed.back() == 'Q' ? 'Z' : 'Q';
        const fs::path copy = dir_ / "libquar-core-altered.so";
        Write(copy, ReplaceAll(Read(QUAR_CORE_PATH), name + '\0', renamed + '\0'));
        return copy;
    }

    // Points one library key of the settings at `file` and runs `show demo.txt`.
    Outcome ShowWith(const std::string &key, const fs::path &file) {
        const fs::path ini = Config() / "qvi.ini";
        const std::string line = key + "=";
        std::string settings = Read(ini);
        const std::size_t at = settings.find(line);
        settings.replace(at, settings.find('\n', at) - at, line + file.string());
        Write(ini, settings);
        return Qvcfg("-i " + ini.string() + " show " + Demo());
    }
};

TEST_F(QvcfgBindingTest, ACoreLackingARequiredEntryEndsStartUpNamingIt) {
    for (const char *entry : {"qrx_load_cnf", "qrx_err_level", "qrx_systop"}) {
        SCOPED_TRACE(entry);
        const Outcome outcome = ShowWith("PCI_CORE_DLL", CoreWithout(entry));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_NE(outcome.err.find(std::string("error: QUAR Function not found: ") + entry),
                  std::string::npos)
            << outcome.err;
        // The platform's own entries are not looked up on a failed binding.
        EXPECT_EQ(outcome.err.find("find_pci_device"), std::string::npos) << outcome.err;
    }
}

// Each library's own message is the binding's concern; here, that it is all qvcfg says.
TEST_F(QvcfgBindingTest, ALibraryThatDoesNotLoadIsTheOnlyMessage) {
    const fs::path broken = dir_ / "libquar-broken.so";
    Write(broken, "this is no shared library\n");
    const Outcome outcome = ShowWith("PCI_RX_DLL", broken);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "error: Can't Load RX QUAR DLL: " + broken.string() + "\n");
}

}  // namespace
}  // namespace qvi
