// Start-up: the settings file, the environment, platform selection and detection.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "support/core_scratch_dir.h"
#include "support/test_env.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;

const std::string kValidIni =
    "[ConfiguratorSettings]\nPlatform=PCI\nHardwareEnable=Enabled\n"
    "[ConfiguratorFiles]\nDBaseFile=cameras.db\nDBaseSubDir=dbase\n"
    "PCI_CORE_DLL=libtest-core.so\nPCI_RX_DLL=libtest-rx.so\nPCI_PX_DLL=libtest-px.so\n"
    "DefaultCNFFile=default.cnf\n"
    "[TX30_MCS_Files]\nNumberOfMCSFiles=2\n"
    "[MCSFile0]\nname=a.mcs\ndesc=640 x 480\nx_size=640\ny_size=480\n"
    "[MCSFile1]\nname=b.mcs\ndesc=1k\nx_size=1024\ny_size=1024\n"
    "[RX20_MCS_Files]\nNumberOfMCSFiles=2\n"
    "[MEMFile0]\nname=m16.mem\ndesc=sixteen\nmem_size=16_4K_4K_8\n"
    "[MEMFile1]\nname=m64.mem\ndesc=sixty-four\nmem_size=64_8K_8K_8\n";

// The platform side as the settings see it; logs each call.
class FakeHooks : public PlatformHooks {
public:
    bool PlatformObjectExists() const override { return exists; }
    void DeletePlatform() override {
        log.push_back("delete");
        exists = false;
    }
    bool CreatePlatformObject(const AppSettings &settings) override {
        log.push_back("create " + settings.platform);
        exists = createSucceeds;
        return exists;
    }
    bool CreateFactoryAndDatabase(const AppSettings &settings) override {
        log.push_back("database " + settings.dbaseFile);
        return databaseLoads;
    }
    int DetectHardware() override {
        log.push_back("detect");
        return boards;
    }

    bool exists = false;
    bool createSucceeds = true;
    bool databaseLoads = true;
    int boards = 2;
    std::vector<std::string> log;
};

class StartupTest : public testing::UiTest {
protected:
    StartupTest() {
        scratch_.Write("libtest-core.so", "library");
        if (const char *value = std::getenv("CNF27310")) savedDir_ = value;
        setenv("CNF27310", "/cnf", 1);
        settings.SetHooks(&hooks);
        SetDetectOnNew(-1);
    }
    ~StartupTest() override {
        savedDir_ ? setenv("CNF27310", savedDir_->c_str(), 1) : unsetenv("CNF27310");
    }

    std::string Ini() const { return (dir_ / "qvconfig.ini").string(); }
    void WriteIni(const std::string &text) const { scratch_.Write("qvconfig.ini", text); }
    // The text with one line replaced (an empty replacement removes it).
    static std::string Replaced(std::string text, const std::string &line,
                                const std::string &replacement) {
        const std::size_t at = text.find(line + "\n");
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos)
            text.replace(at, line.size() + 1, replacement.empty() ? "" : replacement + "\n");
        return text;
    }
    bool Load() { return LoadSettings(settings, Executable()); }
    fs::path Executable() const { return dir_ / "qvconfig"; }
    std::string MissingEntry(const std::string &key) const {
        return "Can't find entry: \"" + key + "\"\nin file: " + Ini();
    }

    testing::ScratchDir scratch_;
    const fs::path dir_ = scratch_.Path();
    FakeHooks hooks;
    AppSettings settings;

private:
    std::optional<std::string> savedDir_;
};

TEST_F(StartupTest, LoadsTheSettingsFileBesideTheExecutable) {
    WriteIni(kValidIni);
    ASSERT_TRUE(ReadConfigDirFromEnvironment(settings));
    ASSERT_TRUE(Load());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(settings.scratchBinaryFile, (dir_ / "qvconfig.cnf").string());
    EXPECT_EQ(settings.defaultCnfFile, "/cnf/dbase/default.cnf");
    EXPECT_EQ(settings.dbaseFile, "/cnf/dbase/cameras.db");
    EXPECT_EQ(settings.pciDllsPresent, 1);
    ASSERT_EQ(settings.tx30FpgaFiles.size(), 2u);
    EXPECT_EQ(settings.tx30FpgaFiles[1].name, "b.mcs");
    EXPECT_EQ(settings.tx30FpgaFiles[0].y_size, 480);
    EXPECT_EQ(settings.rx20MemGroups.size64.at(0).name, "m64.mem");
    EXPECT_EQ(hooks.log, (std::vector<std::string>{"delete", "create PCI",
                                                   "database /cnf/dbase/cameras.db", "detect"}));
    EXPECT_EQ(settings.boardsDetected, 2);
    EXPECT_TRUE(HardwareEnabled());
    EXPECT_EQ(DetectOnNew(), 1);
}

// The scratch files of a new configuration go beside the program, or to the
// user's cache folder when the program's folder cannot be written to.
TEST_F(StartupTest, FileNamesFollowTheExecutableUnlessGiven) {
    settings.iniPath = "/nowhere/given.ini";
    EXPECT_FALSE(LoadSettings(settings, dir_ / "qvconfig.bin"));
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{"Can't find ini file:/nowhere/given.ini"});
    EXPECT_EQ(settings.scratchTextFile, (dir_ / "qvconfig.txt").string());

    const fs::path cache = dir_ / "cache";
    ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    AppSettings fresh;
    EXPECT_FALSE(LoadSettings(fresh, "/opt/qvi/bin/qvconfig.bin"));
    ::unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(fresh.iniPath, "/opt/qvi/bin/qvconfig.ini");
    EXPECT_EQ(fresh.scratchTextFile, (cache / "qvconfig.txt").string());
    EXPECT_EQ(fresh.scratchBinaryFile, (cache / "qvconfig.cnf").string());
    EXPECT_TRUE(fs::is_directory(cache));
}

// A missing entry or a zero size is named, alone, and stops the load before
// the platform is touched; of two missing entries only the first is named.
TEST_F(StartupTest, AMissingEntryOrZeroSizeIsNamedAndStopsTheLoad) {
    std::vector<std::pair<std::string, std::string>> cases = {
        // the file, its one message
        {Replaced(Replaced(kValidIni, "DBaseSubDir=dbase", ""), "DBaseFile=cameras.db", ""),
         MissingEntry("DBaseFile")},
        {Replaced(kValidIni, "x_size=1024", "x_size=0"),
         "invalid x_size for TX-30 [MCSFile1] in file:" + Ini()},
        {Replaced(kValidIni, "y_size=480", ""),
         "invalid y_size for TX-30 [MCSFile0] in file:" + Ini()},
        {Replaced(kValidIni, "desc=1k", ""), MissingEntry("desc")},
        {Replaced(kValidIni, "mem_size=64_8K_8K_8", ""), MissingEntry("mem_size")}};
    for (const std::string key : {"Platform", "HardwareEnable", "DBaseFile", "DBaseSubDir",
                                  "PCI_CORE_DLL", "PCI_RX_DLL", "PCI_PX_DLL", "DefaultCNFFile"}) {
        std::string text = kValidIni;
        cases.emplace_back(text.replace(text.find(key + "="), key.size(), "Other"),
                           MissingEntry(key));
    }
    for (const auto &[text, message] : cases) {
        SCOPED_TRACE(message);
        WriteIni(text);
        ui.Clear();
        EXPECT_FALSE(Load());
        EXPECT_EQ(ui.Errors(), std::vector<std::string>{message});
        EXPECT_TRUE(hooks.log.empty());
    }
    // A list without its count is empty, and the load goes on.
    WriteIni(Replaced(kValidIni, "NumberOfMCSFiles=2", ""));
    ASSERT_TRUE(Load());
    EXPECT_TRUE(settings.tx30FpgaFiles.empty());
    EXPECT_EQ(settings.rx20MemFiles.size(), 2u);
}

TEST_F(StartupTest, MemoryFilesGroupBySizeNumber) {
    const std::vector<MemFileEntry> entries = {{"a", "", "16_4K_4K_8"}, {"b", "", "12"},
                                               {"c", "", "32_8K"},      {"d", "", "64 Mb"},
                                               {"e", "", "160"},        {"f", "", "16"}};
    const MemFileGroups groups = GroupMemFiles(entries, "/s.ini");
    ASSERT_EQ(groups.size16.size(), 2u);
    EXPECT_EQ(groups.size16[1].name, "f");
    EXPECT_EQ(groups.size12.at(0).name, "b");
    EXPECT_EQ(groups.size64.at(0).name, "d");
    EXPECT_EQ(groups.For(32), nullptr);
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"invalid mem_size for RX-20 [MEMFile2] in file:/s.ini",
                                        "invalid mem_size for RX-20 [MEMFile4] in file:/s.ini"}));
}

TEST_F(StartupTest, HardwareSwitchAndDetection) {
    // Only "Enabled" switches the hardware on; then no boards means no hardware.
    WriteIni(Replaced(kValidIni, "HardwareEnable=Enabled", "HardwareEnable=enabled"));
    hooks.boards = 0;
    ASSERT_TRUE(Load());
    EXPECT_FALSE(settings.hardwareEnabled);
    EXPECT_FALSE(HardwareEnabled());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(DetectOnNew(), 1);

    WriteIni(kValidIni);
    AppSettings enabled;
    enabled.SetHooks(&hooks);
    ASSERT_TRUE(LoadSettings(enabled, Executable()));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text, "No Image Processing Hardware Detected.\n");
    EXPECT_FALSE(HardwareEnabled());
    EXPECT_EQ(DetectOnNew(), 0);
}

TEST_F(StartupTest, LibraryFilesAndPlatformSelection) {
    fs::remove(dir_ / "libtest-core.so");
    WriteIni(kValidIni);
    EXPECT_FALSE(Load());
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{"Can't find QUAR DLL's for any platforms"});
    std::ofstream(dir_ / "core-elsewhere.so") << "library";
    EXPECT_TRUE(LibraryFilePresent((dir_ / "core-elsewhere.so").string(), "/bin/x"));
    EXPECT_FALSE(LibraryFilePresent("core-elsewhere.so", "/bin/x"));

    settings.pciDllsPresent = 1;
    ui.Clear();
    EXPECT_FALSE(SelectPlatform(settings, "VME"));
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{"VME QUAR DLL(s) not in path"});
    EXPECT_TRUE(hooks.log.empty());

    settings.platform = "PCI";
    hooks.exists = true;
    EXPECT_TRUE(SelectPlatform(settings, "PCI"));
    EXPECT_TRUE(hooks.log.empty());

    settings.dbaseFile = "/cnf/db/missing.db";
    settings.platform = "other";
    hooks.databaseLoads = false;
    ui.Clear();
    EXPECT_FALSE(SelectPlatform(settings, "PCI"));
    EXPECT_EQ(ui.Errors(),
              std::vector<std::string>{"Could not load camera database file:/cnf/db/missing.db"});
    EXPECT_EQ(settings.platform, "PCI");

    hooks.createSucceeds = false;
    settings.platform = "other";
    hooks.log.clear();
    ui.Clear();
    EXPECT_FALSE(SelectPlatform(settings, "PCI"));
    EXPECT_EQ(hooks.log, (std::vector<std::string>{"delete", "create PCI"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartupTest, StartUpTakesCommandLineThenEnvironmentThenSettings) {
    WriteIni(kValidIni);
    unsetenv("CNF27310");
    EXPECT_FALSE(StartUpSettings(settings, {}, Executable()).ok);
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{
                               "CNF27310 environment variable is not defined\n or passed as a "
                               "command line argument\n i.e. -c /opt/qvi/config"});
    EXPECT_EQ(settings.cnfDir, "NoT_DeFiNeD");

    // -c in the next word overrides the environment; a named file skips detection.
    setenv("CNF27310", "/env", 1);
    ui.Clear();
    const CommandLine line = StartUpSettings(settings, {"-c", "/arg", "/c/x.TXT"}, Executable());
    EXPECT_TRUE(line.ok);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(settings.dbaseFile, "/arg/dbase/cameras.db");
    EXPECT_EQ(settings.currentConfigFile, "/c/x.TXT");
    EXPECT_EQ(DetectOnNew(), 0);

    hooks.log.clear();
    EXPECT_FALSE(StartUpSettings(settings, {"-q"}, Executable()).ok);
    EXPECT_TRUE(hooks.log.empty());
}

}  // namespace
}  // namespace qvi
