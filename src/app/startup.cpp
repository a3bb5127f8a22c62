// Start-up: the settings file, the configuration directory, the file lists, the libraries.
#include "app/startup.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/profile.h"
#include "platform/ui.h"

namespace qvi {

namespace fs = std::filesystem;

namespace {

constexpr const char *kConfigDirVariable = "CNF27310";
constexpr std::string_view kUndefinedDir = "NoT_DeFiNeD";
constexpr std::string_view kMissingEntry = "InVaLiD_EnTrY";
constexpr std::size_t kEntryBufferSize = 100;
constexpr std::string_view kPciPlatform = "PCI";
constexpr std::string_view kVmePlatform = "VME";

constexpr std::string_view kSettingsSection = "ConfiguratorSettings";
constexpr std::string_view kFilesSection = "ConfiguratorFiles";
constexpr std::string_view kFpgaListSection = "TX30_MCS_Files";
constexpr std::string_view kMemListSection = "RX20_MCS_Files";
constexpr std::string_view kListCountKey = "NumberOfMCSFiles";

// Beyond any memory size; keeps the number of a long digit run from overflowing.
constexpr int kMemSizeCap = 100000;

bool FileOpenable(const fs::path &path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && std::ifstream(path, std::ios::binary).is_open();
}

bool ReadEntry(const std::string &iniPath, std::string_view section, std::string_view key,
               std::string &value) {
    std::string read = ReadIniEntry(iniPath, section, key);
    if (read == kIniEntryError) return false;
    value = std::move(read);
    return true;
}

// The executable path without its extension: the settings and scratch files
// are named after it.
// Where the scratch files of a new configuration go: beside the program, or,
// when its folder cannot be written (an installed program), the user's cache
// folder ($XDG_CACHE_HOME, else ~/.cache).
fs::path ScratchBase(const fs::path &executable) {
    const fs::path beside = fs::path(executable).replace_extension();
    const fs::path folder = beside.has_parent_path() ? beside.parent_path() : fs::path(".");
    if (::access(folder.c_str(), W_OK) == 0) return beside;
    fs::path cache;
    if (const char *xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        cache = xdg;
    else if (const char *home = std::getenv("HOME"); home && *home)
        cache = fs::path(home) / ".cache";
    else
        return beside;
    std::error_code ignored;
    fs::create_directories(cache, ignored);
    return cache / beside.filename();
}

void NameFilesAfterExecutable(AppSettings &settings, const fs::path &executable) {
    const std::string base = fs::path(executable).replace_extension().string();
    if (settings.iniPath == "UNDEFINED") settings.iniPath = base + ".ini";
    const std::string scratch = ScratchBase(executable).string();
    settings.scratchTextFile = scratch + ".txt";
    settings.scratchBinaryFile = scratch + ".cnf";
}

// A file of the database sub-directory of the configuration directory.
std::string ConfigDirFile(const AppSettings &settings, const std::string &fileName) {
    return (fs::path(settings.cnfDir) / settings.dbaseSubDir / fileName).string();
}

// The file names the settings file gives that are kept only as full paths.
struct NamedFiles {
    std::string dbaseFile;
    std::string defaultCnfFile;
};

bool ReadLibraryNames(AppSettings &settings) {
    const std::string &ini = settings.iniPath;
    return ReadEntry(ini, kFilesSection, "PCI_CORE_DLL", settings.pciCoreDll) &&
           ReadEntry(ini, kFilesSection, "PCI_RX_DLL", settings.pciRxDll) &&
           ReadEntry(ini, kFilesSection, "PCI_PX_DLL", settings.pciPxDll);
}

bool ReadMainEntries(AppSettings &settings, NamedFiles &files) {
    const std::string &ini = settings.iniPath;
    std::string hardware;
    if (!ReadEntry(ini, kSettingsSection, "Platform", settings.platform) ||
        !ReadEntry(ini, kSettingsSection, "HardwareEnable", hardware))
        return false;
    settings.hardwareEnabled = hardware == "Enabled";
    return ReadEntry(ini, kFilesSection, "DBaseFile", files.dbaseFile) &&
           ReadEntry(ini, kFilesSection, "DBaseSubDir", settings.dbaseSubDir) &&
           ReadLibraryNames(settings) &&
           ReadEntry(ini, kFilesSection, "DefaultCNFFile", files.defaultCnfFile);
}

std::string EntrySection(std::string_view prefix, int index) {
    return std::string(prefix) + std::to_string(index);
}

bool CheckFpgaSize(int size, std::string_view which, int index, const std::string &iniPath) {
    if (size != 0) return true;
    ReportError(
        MessageText("invalid ", which, " for TX-30 [MCSFile", index, "]", " in file:", iniPath));
    return false;
}

bool ReadFpgaFile(const std::string &iniPath, int index, FpgaFileEntry &entry) {
    const std::string section = EntrySection("MCSFile", index);
    if (!ReadEntry(iniPath, section, "name", entry.name) ||
        !ReadEntry(iniPath, section, "desc", entry.desc))
        return false;
    const Profile profile(iniPath);
    entry.x_size = profile.GetInt(section, "x_size", 0);
    entry.y_size = profile.GetInt(section, "y_size", 0);
    return CheckFpgaSize(entry.x_size, "x_size", index, iniPath) &&
           CheckFpgaSize(entry.y_size, "y_size", index, iniPath);
}

bool ReadMemFile(const std::string &iniPath, int index, MemFileEntry &entry) {
    const std::string section = EntrySection("MEMFile", index);
    return ReadEntry(iniPath, section, "name", entry.name) &&
           ReadEntry(iniPath, section, "desc", entry.desc) &&
           ReadEntry(iniPath, section, "mem_size", entry.mem_size);
}

// Reads the entries a list section counts, appending each to `entries`.
template <typename Entry, typename ReadOne>
bool ReadFileList(const std::string &iniPath, std::string_view listSection,
                  std::vector<Entry> &entries, ReadOne readOne) {
    entries.clear();
    const int count = Profile(iniPath).GetInt(listSection, kListCountKey, 0);
    for (int i = 0; i < count; ++i) {
        Entry entry;
        if (!readOne(iniPath, i, entry)) return false;
        entries.push_back(std::move(entry));
    }
    return true;
}

bool FindCoreLibraries(AppSettings &settings, const fs::path &executable) {
    settings.pciDllsPresent = LibraryFilePresent(settings.pciCoreDll, executable) ? 1 : 0;
    settings.vmeDllsPresent = LibraryFilePresent(settings.vmeCoreDll, executable) ? 1 : 0;
    if (settings.pciDllsPresent || settings.vmeDllsPresent) return true;
    ReportError("Can't find QUAR DLL's for any platforms");
    return false;
}

// Whether the core library of a platform was found; a platform of another
// name has none.
bool CoreLibraryFound(const AppSettings &settings, std::string_view platform) {
    if (platform == kPciPlatform) return settings.pciDllsPresent != 0;
    if (platform == kVmePlatform) return settings.vmeDllsPresent != 0;
    return false;
}

bool FoundInPathList(const std::string &fileName, const char *list) {
    std::string_view rest = list ? list : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        if (!dir.empty() && FileOpenable(fs::path(dir) / fileName)) return true;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return false;
}

}  // namespace

CommandLine StartUpSettings(AppSettings &settings, const std::vector<std::string> &arguments,
                            const fs::path &executable) {
    CommandLine commandLine = ParseCommandLine(arguments, settings);
    if (!commandLine.ok) return commandLine;
    commandLine.ok = ReadConfigDirFromEnvironment(settings) && LoadSettings(settings, executable);
    if (commandLine.ok && !commandLine.configFile.empty()) SetDetectOnNew(0);
    return commandLine;
}

bool ReadConfigDirFromEnvironment(AppSettings &settings) {
    settings.cnfDir = kUndefinedDir;
    if (const char *dir = std::getenv(kConfigDirVariable)) settings.cnfDir = dir;
    if (settings.cnfDir != kUndefinedDir) return true;
    ReportError(MessageText("CNF27310 environment variable is not defined",
                            "\n or passed as a command line argument",
                            "\n i.e. -c /opt/qvi/config"));
    return false;
}

bool LoadSettings(AppSettings &settings, const fs::path &executable) {
    NameFilesAfterExecutable(settings, executable);
    if (!FileOpenable(settings.iniPath)) {
        ReportError(MessageText("Can't find ini file:", settings.iniPath));
        return false;
    }
    NamedFiles files;
    if (!ReadMainEntries(settings, files)) return false;
    settings.defaultCnfFile = ConfigDirFile(settings, files.defaultCnfFile);
    if (!ReadFileList(settings.iniPath, kFpgaListSection, settings.tx30FpgaFiles, ReadFpgaFile) ||
        !ReadFileList(settings.iniPath, kMemListSection, settings.rx20MemFiles, ReadMemFile))
        return false;
    settings.rx20MemGroups = GroupMemFiles(settings.rx20MemFiles, settings.iniPath);
    if (!FindCoreLibraries(settings, executable)) return false;
    settings.dbaseFile = ConfigDirFile(settings, files.dbaseFile);
    if (!SelectPlatform(settings, settings.platform)) return false;
    DetectBoards(settings);
    return true;
}

std::string ReadIniEntry(const std::string &iniPath, std::string_view section,
                         std::string_view key) {
    std::string value = Profile(iniPath).GetString(section, key, kMissingEntry, kEntryBufferSize);
    if (value != kMissingEntry) return value;
    ReportError(MessageText("Can't find entry: \"", key, "\"\nin file: ", iniPath));
    return std::string(kIniEntryError);
}

bool LibraryFilePresent(const std::string &fileName, const fs::path &executable) {
    if (fileName.empty()) return false;
    if (fileName.find('/') != std::string::npos) return FileOpenable(fileName);
    return FileOpenable(executable.parent_path() / fileName) ||
           FoundInPathList(fileName, std::getenv("LD_LIBRARY_PATH"));
}

bool SelectPlatform(AppSettings &settings, const std::string &name) {
    if (!CoreLibraryFound(settings, name)) {
        ReportError(MessageText(name, " QUAR DLL(s) not in path"));
        return false;
    }
    PlatformHooks *hooks = settings.Hooks();
    if (!hooks) return false;
    if (name == settings.platform && hooks->PlatformObjectExists()) return true;
    settings.platform = name;
    hooks->DeletePlatform();
    if (name != kPciPlatform || !hooks->CreatePlatformObject(settings)) return false;
    if (hooks->CreateFactoryAndDatabase(settings)) return true;
    ReportError(MessageText("Could not load camera database file:", settings.dbaseFile));
    return false;
}

void DetectBoards(AppSettings &settings) {
    PlatformHooks *hooks = settings.Hooks();
    settings.boardsDetected = hooks ? hooks->DetectHardware() : 0;
    if (settings.boardsDetected == 0 && settings.hardwareEnabled) {
        ReportWarning("No Image Processing Hardware Detected.\n");
        settings.hardwareEnabled = false;
        SetDetectOnNew(0);
    } else {
        SetDetectOnNew(1);
    }
}

int MemSizeNumber(std::string_view memSize) {
    int number = 0;
    for (const char c : memSize) {
        if (c < '0' || c > '9' || number >= kMemSizeCap) break;
        number = number * 10 + (c - '0');
    }
    return number;
}

MemFileGroups GroupMemFiles(const std::vector<MemFileEntry> &entries, const std::string &iniPath) {
    MemFileGroups groups;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (std::vector<MemFileEntry> *group = groups.For(MemSizeNumber(entries[i].mem_size))) {
            group->push_back(entries[i]);
            continue;
        }
        ReportWarning(
            MessageText("invalid mem_size for RX-20 [MEMFile", i, "]", " in file:", iniPath));
    }
    return groups;
}

}  // namespace qvi
