// Binding the imaging library by name across its three files, with fake libraries.
#include "library/library_binding.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <fstream>
#include <map>
#include <memory>
#include <utility>

#include "platform/posix/dl_library_loader.h"
#include "support/test_env.h"
#include "system/pci_platform.h"

namespace qvi {
namespace {

const std::string kNotFound = "QUAR Function not found: ";

// The real loader, counting loads and frees, that hands out a replacement for
// chosen names wherever a library exports them.
class TestLoader : public LibraryLoader {
public:
    LibraryHandle Load(const std::string &fileName, std::string &error) override {
        LibraryHandle library = real_.Load(fileName, error);
        if (library) ++loaded;
        return library;
    }
    void *Symbol(LibraryHandle library, const char *name) override {
        void *address = real_.Symbol(library, name);
        auto replacement = replacements.find(name);
        return address && replacement != replacements.end() ? replacement->second : address;
    }
    void Free(LibraryHandle library) override {
        ++freed;
        real_.Free(library);
    }
    std::filesystem::path FilePath(LibraryHandle library) override {
        return real_.FilePath(library);
    }

    std::map<std::string, void *> replacements;
    int loaded = 0;
    int freed = 0;

private:
    DlLibraryLoader real_;
};

// Each error-level call with the number of messages shown before it.
std::vector<std::pair<int, std::size_t>> errLevelCalls;
RecordingUi *recordingUi = nullptr;

void RecordErrLevel(int level) {
    errLevelCalls.emplace_back(level, recordingUi->messages.size());
}

using Calls = std::vector<std::pair<int, std::size_t>>;

class LibraryBindingTest : public testing::UiTest {
protected:
    LibraryBindingTest() {
        recordingUi = &ui;
        errLevelCalls.clear();
        loader.replacements["qrx_err_level"] = std::bit_cast<void *>(&RecordErrLevel);
        SetRxLibraryStubbed(0);
        SetPxLibraryStubbed(0);
    }
    ~LibraryBindingTest() override {
        binding.reset();
        SetRxLibraryStubbed(1);
        SetPxLibraryStubbed(1);
        std::error_code ignored;
        std::filesystem::remove(textFile_, ignored);
    }

    void Bind(const LibraryFiles &files, std::vector<VersionedFile> programFiles = {}) {
        binding = std::make_unique<LibraryBinding>(
            loader, files, error, BindingEnvironment{LibraryFileExists, std::move(programFiles)});
    }

    // A file that is there but is no library.
    std::string TextFile() {
        std::ofstream(textFile_) << "not a library\n";
        return textFile_.string();
    }

    TestLoader loader;
    std::unique_ptr<LibraryBinding> binding;
    int error = 99;

private:
    std::filesystem::path textFile_ = std::filesystem::temp_directory_path() /
                                      ("qvi_not_a_library_" + std::to_string(getpid()) + ".so");
};

TEST_F(LibraryBindingTest, CoreAloneBindsAndNamesEachEntryOnlyTheOthersExport) {
    // A bare name: found beside the test program.
    Bind({QVI_FAKE_CORE_NAME, "libqvi_absent_rx.so", "/nonexistent/libqvi_absent_px.so"});

    EXPECT_EQ(error, 0);
    EXPECT_TRUE(binding->IsValid());
    EXPECT_EQ(binding->RxDllName(), "");
    EXPECT_EQ(binding->PxDllName(), "");
    EXPECT_EQ(loader.loaded, 1);
    EXPECT_EQ(RxLibraryStubbed(), 1);
    EXPECT_EQ(PxLibraryStubbed(), 1);
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{
                               kNotFound + "qrx_ycrcb_to_rgb", kNotFound + "qrx_rgb_to_ycrcb",
                               kNotFound + "qrx_rpix", kNotFound + "qrx_outport_strobe_val",
                               kNotFound + "qrx_outport_val", kNotFound + "qrx_inport_mode",
                               kNotFound + "qrx_inport_val", kNotFound + "qrx_inport_intrpol"}));
}

TEST_F(LibraryBindingTest, ThreeLibrariesFillEveryEntryQuietly) {
    Bind({QVI_FAKE_CORE_PATH, QVI_FAKE_RX_PATH, QVI_FAKE_PX_PATH}, {{"mkbcf", QVI_FAKE_RX_PATH}});

    EXPECT_EQ(error, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(RxLibraryStubbed(), 0);
    EXPECT_EQ(PxLibraryStubbed(), 0);
    for (std::size_t i = 0; i < kLibraryEntryCount; ++i)
        EXPECT_NE(binding->Address(kEntryTable[i].name), nullptr) << kEntryTable[i].name;
    // The stand-in's own additions are missing from the fakes, without a word.
    EXPECT_EQ(binding->Entry<&::qrx_deref>(), nullptr);
    EXPECT_EQ(binding->Address("qrx_product_version"), nullptr);
    EXPECT_EQ(errLevelCalls, (Calls{{1, 0}, {2, 0}}));

    EXPECT_EQ(binding->Entry<&::find_pci_device>(), nullptr);
    EXPECT_TRUE(binding->LookupPlatformEntries());
    EXPECT_NE(binding->Entry<&::find_pci_device>(), nullptr);
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(loader.loaded, 3);
    binding.reset();
    EXPECT_EQ(loader.freed, 3);
}

TEST_F(LibraryBindingTest, LookupAsksCoreThenRxThenPx) {
    Bind({QVI_FAKE_CORE_PATH, QVI_FAKE_RX_PATH, QVI_FAKE_PX_PATH});

    // Both core and RX export it; the core answers 100, RX 200.
    EXPECT_EQ(binding->Entry<&::qrx_get_hw_revision>()(7), 100);
    EXPECT_EQ(binding->LookupAs<decltype(&::qrx_get_hw_revision)>("qrx_get_hw_revision")(7), 100);
    EXPECT_NE(binding->Lookup("rx30_dregs"), nullptr);
    EXPECT_NE(binding->Lookup("px_done"), nullptr);
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(binding->Lookup("tx30_cp_camcnf"), nullptr);
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{kNotFound + "tx30_cp_camcnf"}));
}

TEST_F(LibraryBindingTest, LoadedRxWithoutItsMarkerIsStubbed) {
    Bind({QVI_FAKE_CORE_PATH, QVI_FAKE_RX_STUBBED_PATH, QVI_FAKE_PX_PATH});

    EXPECT_EQ(error, 0);
    EXPECT_EQ(binding->RxDllName(), QVI_FAKE_RX_STUBBED_PATH);
    EXPECT_EQ(RxLibraryStubbed(), 1);
    EXPECT_EQ(PxLibraryStubbed(), 0);
}

TEST_F(LibraryBindingTest, CoreWithoutLoadCnfFailsAfterNamingIt) {
    Bind({QVI_FAKE_CORE_WITHOUT_LOAD_CNF_PATH, QVI_FAKE_RX_PATH, QVI_FAKE_PX_PATH});

    EXPECT_EQ(error, -1);
    EXPECT_FALSE(binding->IsValid());
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{kNotFound + "qrx_load_cnf"}));
    // The error level is still set around the version check.
    EXPECT_EQ(errLevelCalls, (Calls{{1, 1}, {2, 1}}));
}

TEST_F(LibraryBindingTest, OldCoreReportsEachOptionalEntryAndFailsThePlatform) {
    Bind({QVI_FAKE_CORE_REQUIRED_ONLY_PATH, "", ""});

    EXPECT_EQ(error, 0);
    const std::vector<std::string> errors = ui.Errors();
    ASSERT_EQ(errors.size(), 94u - 25u);
    EXPECT_EQ(errors.front(), kNotFound + "qrx_del_modcnf");
    EXPECT_EQ(errors[1], kNotFound + "qrx_get_vmodcnf");
    EXPECT_EQ(errors.back(), kNotFound + "qrx_inport_intrpol");

    ui.Clear();
    EXPECT_FALSE(binding->LookupPlatformEntries());
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{
                  kNotFound + "find_pci_device", kNotFound + "bz700_get_delays",
                  kNotFound + "bz700_set_delays", kNotFound + "qrx_open_device_handle",
                  kNotFound + "qrx_close_device_handle", kNotFound + "get_amcc_safe_access_flag",
                  kNotFound + "set_amcc_safe_access_flag"}));
}

TEST_F(LibraryBindingTest, ALibraryThatDoesNotLoadStopsTheBinding) {
    const std::string text = TextFile();
    const struct {
        LibraryFiles files;
        std::string message;
        int loadedBefore;
    } cases[] = {
        {{text, QVI_FAKE_RX_PATH, QVI_FAKE_PX_PATH}, "Can't Load Core QUAR DLL: " + text, 0},
        {{"/nonexistent/libquar-core.so", "", ""},
         "Can't Load Core QUAR DLL: /nonexistent/libquar-core.so",
         0},
        {{QVI_FAKE_CORE_PATH, text, QVI_FAKE_PX_PATH}, "Can't Load RX QUAR DLL: " + text, 1},
        {{QVI_FAKE_CORE_PATH, QVI_FAKE_RX_PATH, text}, "Can't Load PX QUAR DLL: " + text, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        ui.Clear();
        loader.loaded = loader.freed = 0;
        Bind(c.files);
        EXPECT_EQ(error, -1);
        EXPECT_EQ(ui.Errors(), (std::vector<std::string>{c.message}));
        EXPECT_FALSE(binding->LoadError().empty());
        EXPECT_EQ(loader.loaded, c.loadedBefore);
        EXPECT_TRUE(errLevelCalls.empty());
        binding.reset();
        EXPECT_EQ(loader.freed, c.loadedBefore);
    }
}

// The platform object fails with its binding, and then looks none of its own
// entries up: one message names what went wrong, nothing follows it.
TEST_F(LibraryBindingTest, ThePlatformObjectFailsWithItsBindingWithoutAFurtherMessage) {
    const std::string text = TextFile();
    const struct {
        LibraryFiles files;
        std::string message;
    } cases[] = {
        {{QVI_FAKE_CORE_WITHOUT_LOAD_CNF_PATH, QVI_FAKE_RX_PATH, QVI_FAKE_PX_PATH},
         kNotFound + "qrx_load_cnf"},
        {{text, "", ""}, "Can't Load Core QUAR DLL: " + text},
        {{QVI_FAKE_CORE_PATH, text, ""}, "Can't Load RX QUAR DLL: " + text},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        ui.Clear();
        QV_pci_platform platform(loader, c.files, BindingEnvironment{LibraryFileExists, {}});
        EXPECT_FALSE(platform.IsValid());
        EXPECT_EQ(ui.Errors(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(platform.Binding().Entry<&::find_pci_device>(), nullptr);
    }
    ui.Clear();
    QV_pci_platform usable(loader, {QVI_FAKE_CORE_PATH, "", ""},
                           BindingEnvironment{LibraryFileExists, {}});
    EXPECT_TRUE(usable.IsValid());
}

TEST_F(LibraryBindingTest, RegistersGoThroughTheLibrary) {
    Bind({QVI_FAKE_CORE_PATH, "", ""});
    RegisterAccess &registers = *binding;

    EXPECT_TRUE(registers.HasReadReg32());
    EXPECT_TRUE(registers.HasWriteReg32());
    EXPECT_EQ(registers.WriteReg16(1, 5, 0xBEEF), 0);
    EXPECT_EQ(registers.ReadReg16(1, 5), static_cast<std::int16_t>(0xBEEF));
    EXPECT_EQ(registers.WriteReg32(1, 6, 0x12345678u), 0);
    EXPECT_EQ(registers.ReadReg32(1, 6), 0x12345678u);
    EXPECT_EQ(registers.ReadReg16(1, 6), 0x5678);
    // The library's own result comes back: the fake refuses handle 0.
    EXPECT_EQ(registers.WriteReg16(0, 5, 1), -1);
    EXPECT_EQ(registers.WriteReg32(0, 5, 1), -1);

    // Without a bound library there are no registers.
    Bind({"/nonexistent/libquar-core.so", "", ""});
    RegisterAccess &unbound = *binding;
    EXPECT_FALSE(unbound.HasReadReg32() || unbound.HasWriteReg32());
    EXPECT_EQ(unbound.WriteReg16(1, 5, 1), -1);
    EXPECT_EQ(unbound.WriteReg32(1, 5, 1), -1);
    EXPECT_EQ(unbound.ReadReg16(1, 5), 0);
    EXPECT_EQ(unbound.ReadReg32(1, 5), 0u);
}

TEST_F(LibraryBindingTest, DifferingVersionsAreListedBetweenTheErrorLevels) {
    Bind({QVI_FAKE_CORE_PATH, QVI_FAKE_RX_PATH, QVI_FAKE_PX_V2_PATH},
         {{"mkbcf", "/nonexistent/mkbcf"}});

    EXPECT_EQ(error, 0);
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{
                               std::string("Warning: Your QUAR files have conflicting versions.") +
                               "\n\tFile: " + QVI_FAKE_CORE_PATH + " \tVersion: 1.0.0" +
                               "\n\tFile: " + QVI_FAKE_RX_PATH + " \tVersion: 1.0.0" +
                               "\n\tFile: " + QVI_FAKE_PX_V2_PATH + " \tVersion: 2.0.0" +
                               "\n\tFile: mkbcf \tVersion: "}));
    EXPECT_EQ(errLevelCalls, (Calls{{1, 0}, {2, 1}}));
}

TEST(DlLibraryLoaderTest, FindsBareNamesBesideTheProgram) {
    DlLibraryLoader loader;
    std::string reason;
    LibraryHandle library = loader.Load(QVI_FAKE_PX_NAME, reason);
    ASSERT_NE(library, nullptr) << reason;
    EXPECT_EQ(std::filesystem::canonical(loader.FilePath(library)),
              std::filesystem::canonical(QVI_FAKE_PX_PATH));
    EXPECT_NE(loader.Symbol(library, "px_done"), nullptr);
    EXPECT_EQ(loader.Symbol(library, "rx57_dregs"), nullptr);
    loader.Free(library);

    EXPECT_TRUE(LibraryFileExists(QVI_FAKE_PX_NAME));
    EXPECT_TRUE(LibraryFileExists(QVI_FAKE_PX_PATH));
    EXPECT_FALSE(LibraryFileExists("libqvi_absent.so"));
    EXPECT_FALSE(LibraryFileExists(""));
    EXPECT_FALSE(LibraryFileExists(std::filesystem::temp_directory_path().string()));

    EXPECT_EQ(loader.Load("libqvi_absent.so", reason), nullptr);
    EXPECT_NE(reason.find("libqvi_absent.so"), std::string::npos) << reason;
}

}  // namespace
}  // namespace qvi
