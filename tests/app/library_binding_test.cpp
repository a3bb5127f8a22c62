// Binding the imaging library by name across its three files, with libraries
// the loader pretends to load (the real loader is tested on a real file).
#include "library/library_binding.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
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

// Each error-level call with the number of messages shown before it.
std::vector<std::pair<int, std::size_t>> errLevelCalls;
RecordingUi *recordingUi = nullptr;

void RecordErrLevel(int level) {
    errLevelCalls.emplace_back(level, recordingUi->messages.size());
}

// The library's register file; it refuses writes to handle 0.
std::uint32_t registerFile[8];
std::int16_t ReadReg(std::uint32_t, int reg) {
    return static_cast<std::int16_t>(registerFile[reg] & 0xFFFFu);
}
int WriteReg(std::uint32_t handle, int reg, std::uint16_t value) {
    registerFile[reg] = value;
    return handle == 0 ? -1 : 0;
}
std::uint32_t ReadReg32(std::uint32_t, int reg) {
    return registerFile[reg];
}
int WriteReg32(std::uint32_t handle, int reg, std::uint32_t value) {
    registerFile[reg] = value;
    return handle == 0 ? -1 : 0;
}

// A library the loader pretends to read from `file` (a real stamped file, for
// the version check). An exported name's address is that of its own entry,
// so an address tells which library answered, unless a function is given.
struct FakeLibrary {
    std::map<std::string, void *> exports;
    std::filesystem::path file;

    void Export(const std::string &name) {
        auto entry = exports.emplace(name, nullptr).first;
        entry->second = const_cast<std::string *>(&entry->first);
    }
};

class FakeLoader : public LibraryLoader {
public:
    // The documented entries the core exports, and those only RX or PX have.
    static constexpr std::string_view kRxOnly[] = {"qrx_ycrcb_to_rgb", "qrx_rgb_to_ycrcb",
                                                   "qrx_rpix"};
    static constexpr std::string_view kPxOnly[] = {"qrx_outport_strobe_val", "qrx_outport_val",
                                                   "qrx_inport_mode", "qrx_inport_val",
                                                   "qrx_inport_intrpol"};

    FakeLoader() {
        FakeLibrary &core = Add("core", QVI_FAKE_PX_PATH);
        FakeLibrary &requiredOnly = Add("core-required-only", QVI_FAKE_PX_PATH);
        for (std::size_t i = 0; i < kEntryTable.size(); ++i) {
            const std::string name(kEntryTable[i].name);
            const bool extra = i >= kLibraryEntryCount && i < kLibraryEntryCount + kExtraEntryCount;
            if (!extra && !std::ranges::count(kRxOnly, name) && !std::ranges::count(kPxOnly, name))
                core.Export(name);
            if (i < kLibraryEntryCount && kEntryTable[i].required) requiredOnly.Export(name);
        }
        for (FakeLibrary *library : {&core, &requiredOnly}) {
            library->exports["qrx_err_level"] = std::bit_cast<void *>(&RecordErrLevel);
            library->exports["read_reg"] = std::bit_cast<void *>(&ReadReg);
            library->exports["write_reg"] = std::bit_cast<void *>(&WriteReg);
            library->exports["read_reg32"] = std::bit_cast<void *>(&ReadReg32);
            library->exports["write_reg32"] = std::bit_cast<void *>(&WriteReg32);
        }
        Add("core-without-load-cnf", QVI_FAKE_PX_PATH, core, "qrx_load_cnf");
        FakeLibrary &rx = Add("rx", QVI_FAKE_PX_PATH);
        for (const char *name : {"qrx_get_hw_revision", "rx30_dregs", "rx57_dregs"})
            rx.Export(name);
        for (std::string_view name : kRxOnly) rx.Export(std::string(name));
        Add("rx-stubbed", QVI_FAKE_PX_PATH, rx, "rx57_dregs");
        FakeLibrary &px = Add("px", QVI_FAKE_PX_PATH);
        px.Export("px_done");
        for (std::string_view name : kPxOnly) px.Export(std::string(name));
        Add("px-v2", QVI_FAKE_PX_V2_PATH, px);
    }

    LibraryHandle Load(const std::string &fileName, std::string &error) override {
        auto found = libraries_.find(fileName);
        if (found == libraries_.end()) {
            error = fileName + ": not a library";
            return nullptr;
        }
        ++loaded;
        return &found->second;
    }
    void *Symbol(LibraryHandle library, const char *name) override {
        const auto &exports = static_cast<FakeLibrary *>(library)->exports;
        auto found = exports.find(name);
        return found == exports.end() ? nullptr : found->second;
    }
    void Free(LibraryHandle) override { ++freed; }
    std::filesystem::path FilePath(LibraryHandle library) override {
        return static_cast<FakeLibrary *>(library)->file;
    }

    // Whether a file of that name is there: every library, and "broken.so",
    // which is no library.
    bool Exists(const std::string &name) const {
        return name == "broken.so" || libraries_.contains(name);
    }
    void *Address(const std::string &library, const std::string &name) {
        return Symbol(&libraries_.at(library), name.c_str());
    }

    int loaded = 0;
    int freed = 0;

private:
    // A library like another one, read from `file`, without one name.
    FakeLibrary &Add(const std::string &name, const char *file, const FakeLibrary &like = {},
                     const std::string &without = "") {
        FakeLibrary &library = libraries_[name] = like;
        library.file = file;
        library.exports.erase(without);
        return library;
    }

    std::map<std::string, FakeLibrary> libraries_;
};

using Calls = std::vector<std::pair<int, std::size_t>>;

class LibraryBindingTest : public testing::UiTest {
protected:
    LibraryBindingTest() {
        recordingUi = &ui;
        errLevelCalls.clear();
        SetRxLibraryStubbed(0);
        SetPxLibraryStubbed(0);
    }
    ~LibraryBindingTest() override {
        binding.reset();
        SetRxLibraryStubbed(1);
        SetPxLibraryStubbed(1);
    }

    void Bind(const LibraryFiles &files, std::vector<VersionedFile> programFiles = {}) {
        binding = std::make_unique<LibraryBinding>(loader, files, error, Environment(programFiles));
    }
    BindingEnvironment Environment(std::vector<VersionedFile> programFiles = {}) {
        return {[this](const std::string &name) { return loader.Exists(name); },
                std::move(programFiles)};
    }

    FakeLoader loader;
    std::unique_ptr<LibraryBinding> binding;
    int error = 99;
};

TEST_F(LibraryBindingTest, CoreAloneOrAnUnmarkedRxBindsWithTheRxLibraryStubbed) {
    Bind({"core", "absent-rx", "absent-px"});

    EXPECT_EQ(error, 0);
    EXPECT_TRUE(binding->IsValid());
    EXPECT_EQ(binding->RxDllName(), "");
    EXPECT_EQ(binding->PxDllName(), "");
    EXPECT_EQ(loader.loaded, 1);
    EXPECT_EQ(RxLibraryStubbed(), 1);
    EXPECT_EQ(PxLibraryStubbed(), 1);
    std::vector<std::string> named;  // in look-up order: the RX entries, then the PX ones
    for (std::string_view name : FakeLoader::kRxOnly)
        named.push_back(kNotFound + std::string(name));
    for (std::string_view name : FakeLoader::kPxOnly)
        named.push_back(kNotFound + std::string(name));
    EXPECT_EQ(ui.Errors(), named);

    // An RX library without its marker entry is loaded but stubbed all the same.
    Bind({"core", "rx-stubbed", "px"});
    EXPECT_EQ(error, 0);
    EXPECT_EQ(binding->RxDllName(), "rx-stubbed");
    EXPECT_EQ(RxLibraryStubbed(), 1);
    EXPECT_EQ(PxLibraryStubbed(), 0);
}

// Every entry is found, the core answering first, then RX, then PX.
TEST_F(LibraryBindingTest, ThreeLibrariesFillEveryEntryQuietlyInLookupOrder) {
    Bind({"core", "rx", "px"}, {{"mkbcf", QVI_FAKE_PX_PATH}});

    EXPECT_EQ(error, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(RxLibraryStubbed(), 0);
    EXPECT_EQ(PxLibraryStubbed(), 0);
    for (std::size_t i = 0; i < kLibraryEntryCount; ++i)
        EXPECT_NE(binding->Address(kEntryTable[i].name), nullptr) << kEntryTable[i].name;
    // The stand-in's own additions are missing from these, without a word.
    EXPECT_EQ(binding->Entry<&::qrx_deref>(), nullptr);
    EXPECT_EQ(binding->Address("qrx_product_version"), nullptr);
    EXPECT_EQ(errLevelCalls, (Calls{{1, 0}, {2, 0}}));

    void *coreRevision = loader.Address("core", "qrx_get_hw_revision");
    EXPECT_EQ(std::bit_cast<void *>(binding->Entry<&::qrx_get_hw_revision>()), coreRevision);
    EXPECT_EQ(binding->Lookup("qrx_get_hw_revision"), coreRevision);
    EXPECT_EQ(binding->Address("qrx_rpix"), loader.Address("rx", "qrx_rpix"));
    EXPECT_EQ(binding->Lookup("rx30_dregs"), loader.Address("rx", "rx30_dregs"));
    EXPECT_EQ(binding->Lookup("px_done"), loader.Address("px", "px_done"));
    EXPECT_EQ(binding->Entry<&::find_pci_device>(), nullptr);
    EXPECT_TRUE(binding->LookupPlatformEntries());
    EXPECT_NE(binding->Entry<&::find_pci_device>(), nullptr);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(binding->Lookup("tx30_cp_camcnf"), nullptr);
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{kNotFound + "tx30_cp_camcnf"}));
}

TEST_F(LibraryBindingTest, OldCoreReportsEachOptionalEntryAndFailsThePlatform) {
    Bind({"core-required-only", "", ""});

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
    const struct {
        LibraryFiles files;
        std::string message;
        int loadedBefore;
    } cases[] = {
        {{"broken.so", "rx", "px"}, "Can't Load Core QUAR DLL: broken.so", 0},
        {{"core", "broken.so", "px"}, "Can't Load RX QUAR DLL: broken.so", 1},
        {{"core", "rx", "broken.so"}, "Can't Load PX QUAR DLL: broken.so", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        ui.Clear();
        loader.loaded = loader.freed = 0;
        Bind(c.files);
        EXPECT_EQ(error, -1);
        EXPECT_EQ(ui.Errors(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(binding->LoadError(), "broken.so: not a library");
        EXPECT_EQ(loader.loaded, c.loadedBefore);
        EXPECT_TRUE(errLevelCalls.empty());
        binding.reset();
        EXPECT_EQ(loader.freed, c.loadedBefore);
    }
}

// The platform object fails with its binding, and then looks none of its own
// entries up: one message names what went wrong, nothing follows it. A core
// without qrx_load_cnf is named, and the error level is still set around the
// version check.
TEST_F(LibraryBindingTest, ThePlatformObjectFailsWithItsBindingWithoutAFurtherMessage) {
    const struct {
        LibraryFiles files;
        std::string message;
        Calls errLevels;
    } cases[] = {
        {{"core-without-load-cnf", "rx", "px"}, kNotFound + "qrx_load_cnf", {{1, 1}, {2, 1}}},
        {{"broken.so", "", ""}, "Can't Load Core QUAR DLL: broken.so", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        ui.Clear();
        errLevelCalls.clear();
        QV_pci_platform platform(loader, c.files, Environment());
        EXPECT_FALSE(platform.IsValid());
        EXPECT_EQ(ui.Errors(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(errLevelCalls, c.errLevels);
        EXPECT_EQ(platform.Binding().Entry<&::find_pci_device>(), nullptr);
    }
    ui.Clear();
    QV_pci_platform usable(loader, {"core", "", ""}, Environment());
    EXPECT_TRUE(usable.IsValid());
}

TEST_F(LibraryBindingTest, RegistersGoThroughTheLibrary) {
    Bind({"core", "", ""});
    RegisterAccess &registers = *binding;
    EXPECT_TRUE(registers.HasReadReg32());

    EXPECT_EQ(registers.WriteReg16(1, 5, 0xBEEF), 0);
    EXPECT_EQ(registers.ReadReg16(1, 5), static_cast<std::int16_t>(0xBEEF));
    EXPECT_EQ(registers.WriteReg32(1, 6, 0x12345678u), 0);
    EXPECT_EQ(registers.ReadReg32(1, 6), 0x12345678u);
    EXPECT_EQ(registers.ReadReg16(1, 6), 0x5678);
    // The library's own result comes back: it refuses handle 0.
    EXPECT_EQ(registers.WriteReg16(0, 5, 1), -1);
    EXPECT_EQ(registers.WriteReg32(0, 5, 1), -1);

    // Without a bound library there are no registers.
    Bind({"broken.so", "", ""});
    RegisterAccess &unbound = *binding;
    EXPECT_FALSE(unbound.HasReadReg32() || unbound.HasWriteReg32());
    EXPECT_EQ(unbound.WriteReg16(1, 5, 1), -1);
    EXPECT_EQ(unbound.WriteReg32(1, 5, 1), -1);
    EXPECT_EQ(unbound.ReadReg16(1, 5), 0);
    EXPECT_EQ(unbound.ReadReg32(1, 5), 0u);
}

TEST_F(LibraryBindingTest, DifferingVersionsAreListedBetweenTheErrorLevels) {
    Bind({"core", "rx", "px-v2"}, {{"mkbcf", "/nonexistent/mkbcf"}});

    EXPECT_EQ(error, 0);
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"Warning: Your QUAR files have conflicting versions."
                                        "\n\tFile: core \tVersion: 1.0.0"
                                        "\n\tFile: rx \tVersion: 1.0.0"
                                        "\n\tFile: px-v2 \tVersion: 2.0.0"
                                        "\n\tFile: mkbcf \tVersion: "}));
    EXPECT_EQ(errLevelCalls, (Calls{{1, 0}, {2, 1}}));
}

// A bare name is found beside the program; a file that is there but no
// library does not load, and the reason names it.
TEST(DlLibraryLoaderTest, FindsBareNamesBesideTheProgram) {
    DlLibraryLoader loader;
    std::string reason;
    LibraryHandle library = loader.Load(QVI_FAKE_PX_NAME, reason);
    ASSERT_NE(library, nullptr) << reason;
    EXPECT_NE(loader.Symbol(library, "px_done"), nullptr);
    EXPECT_EQ(loader.Symbol(library, "rx57_dregs"), nullptr);
    loader.Free(library);

    EXPECT_TRUE(LibraryFileExists(QVI_FAKE_PX_NAME));
    EXPECT_FALSE(LibraryFileExists("libqvi_absent.so"));
    EXPECT_FALSE(LibraryFileExists(""));
    EXPECT_FALSE(LibraryFileExists(std::filesystem::temp_directory_path().string()));

    EXPECT_EQ(loader.Load("libqvi_absent.so", reason), nullptr);
    EXPECT_NE(reason.find("libqvi_absent.so"), std::string::npos) << reason;
    const std::filesystem::path text = std::filesystem::temp_directory_path() /
                                       ("qvi_not_a_library_" + std::to_string(getpid()) + ".so");
    std::ofstream(text) << "not a library\n";
    EXPECT_EQ(loader.Load(text.string(), reason), nullptr);
    EXPECT_NE(reason.find(text.string()), std::string::npos) << reason;
    std::filesystem::remove(text);
}

}  // namespace
}  // namespace qvi
