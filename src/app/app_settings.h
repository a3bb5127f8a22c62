#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "modules/module_settings.h"

namespace qvi {

class AppSettings;

// What start-up needs from the objects the settings stand beside but do not
// own: the platform object that wraps the bound library, the module factory
// and the camera database. The application supplies it.
class PlatformHooks {
public:
    virtual ~PlatformHooks() = default;

    virtual bool PlatformObjectExists() const = 0;
    // Deletes the module factory, the camera database and the platform
    // object, in that order; any of them may be absent.
    virtual void DeletePlatform() = 0;
    // Binds the library files the settings name and creates the platform
    // object for settings.platform; reports its own failures.
    virtual bool CreatePlatformObject(const AppSettings &settings) = 0;
    // Creates the module factory and the camera database and loads the
    // database from settings.dbaseFile; returns whether that load succeeded.
    virtual bool CreateFactoryAndDatabase(const AppSettings &settings) = 0;
    // The number of boards the platform object finds.
    virtual int DetectHardware() = 0;
};

// The hardware-use switch of the settings. It keeps no state of its own: it
// reads and writes the program-wide hardware flag that every register access
// asks, so switching it off here switches the hardware off everywhere.
class HardwareSwitch {
public:
    HardwareSwitch() = default;
    HardwareSwitch(const HardwareSwitch &) = default;
    // There is one flag, so copying one switch to another changes nothing.
    HardwareSwitch &operator=(const HardwareSwitch &) { return *this; }
    HardwareSwitch &operator=(bool enabled);
    explicit operator bool() const;
};

// The program's settings, filled at start-up from the command line, the
// environment and the settings file, and read by every part of the program.
class AppSettings {
public:
    AppSettings();

    std::string cnfDir;
    std::string iniPath = "UNDEFINED";
    std::string dbaseFile;
    HardwareSwitch hardwareEnabled;
    std::string vmeCoreDll;
    std::string vmeRxDll;
    std::string vmePxDll;
    std::string pciCoreDll;
    std::string pciRxDll;
    std::string pciPxDll;
    std::string platform;
    int pciDllsPresent = 0;
    int vmeDllsPresent = 0;
    std::string defaultCnfFile;
    std::string scratchTextFile;
    std::string scratchBinaryFile;
    std::string currentConfigFile;
    int boardsDetected = 0;
    std::vector<FpgaFileEntry> tx30FpgaFiles;
    std::string dbaseSubDir;
    std::vector<MemFileEntry> rx20MemFiles;
    // rx20MemFiles grouped by memory size, filled with it at start-up.
    MemFileGroups rx20MemGroups;

    // The module names the system window offers.
    std::vector<std::string> boardNames;
    std::vector<std::string> acquisitionModuleNames;
    std::vector<std::string> computationalModuleNames;

    PlatformHooks *Hooks() const { return hooks_; }
    void SetHooks(PlatformHooks *hooks) { hooks_ = hooks; }

private:
    PlatformHooks *hooks_ = nullptr;
};

// The one settings object of the program.
AppSettings &GlobalAppSettings();

// 1 when the next New command builds the system from the detected boards.
int DetectOnNew();
void SetDetectOnNew(int detect);

// What the models read of the program's settings, read live from them.
class AppModuleSettings final : public ModuleSettings {
public:
    explicit AppModuleSettings(const AppSettings &settings) : settings_(settings) {}

    const std::vector<FpgaFileEntry> &Tx30FpgaFiles() const override {
        return settings_.tx30FpgaFiles;
    }
    const MemFileGroups &Rx20MemoryGroups() const override { return settings_.rx20MemGroups; }
    std::string ConfigurationFolder() const override { return settings_.cnfDir; }
    bool BuildsNewConfiguration() const override { return DetectOnNew() != 0; }

private:
    const AppSettings &settings_;
};

}  // namespace qvi
