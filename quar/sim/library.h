#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/config_model.h"
#include "sim/arena.h"
#include "sim/element.h"
#include "sim/rack.h"

namespace quar {

// The simulated library: the systems of the loaded configuration, the
// modules built on their own, the bus translator, and the rack that decides
// which boards are "present". Every entry point goes through the one
// instance; a bad handle gets the library's failure result, never a crash.
class Library {
public:
    static constexpr int kSystems = 8;
    // The DQ-500's library parameter that stays 1 while a triggered snap is
    // armed and not yet taken.
    static constexpr int kDqpTriggerPendingParam = 168;

    static Library &Instance();

    // qrx_load_cnf: the 16-bit result.
    int LoadBinary(const std::filesystem::path &path);
    int RemoveSystem(int system);
    int InitSystem(int system);
    QRX_HANDLE SystemTop(int system) const;
    QRX_HANDLE NextBoard(QRX_HANDLE board) const;
    QRX_HANDLE BusTranslator() const { return busTranslator_; }
    int SetBusTranslator(QRX_HANDLE handle);
    QRX_HANDLE Channel(QRX_HANDLE board, int channel) const;
    QRX_HANDLE SlotModule(QRX_HANDLE board, int slot) const;
    QRX_HANDLE FindByInstance(std::string_view model, int instance) const;
    QRX_HANDLE LoadModule(const std::filesystem::path &path, std::string_view model);
    int DeleteModule(QRX_HANDLE handle);

    // Null for a bad handle.
    Element *Find(QRX_HANDLE handle);
    const Element *Find(QRX_HANDLE handle) const;
    void *Spec(QRX_HANDLE handle) const;
    Arena &Records() { return arena_; }
    const Arena &Records() const { return arena_; }

    // The rack board behind a loaded board, or null when it is not present.
    const RackBoard *RackBoardOf(QRX_HANDLE board) const;
    int DetectModule(QRX_HANDLE board, int slot) const;
    // A DQ-500's frame memories (the rack's memory model; all of them for a
    // board outside the rack); -1 for a handle that is not a DQ-500.
    int DqpMemoryModel(QRX_HANDLE board) const;
    // The memories a frame number of the board stands for: on a DQ-500 those
    // its memory model fits, on another board the frame itself.
    std::vector<int> MemoriesOf(QRX_HANDLE board, int frame) const;
    // qrx_xboard: an acquisition request for a frame of a board, or for an
    // SXA camera channel's buffer (the channel's handle).
    int FrameRequest(QRX_HANDLE board, int code, int frame);
    int HardwareRevision(QRX_HANDLE handle) const;
    // Frames per second a grab on the board delivers (the rack's FrameRate;
    // 0: uncapped).
    double FrameRate(QRX_HANDLE board) const;
    int OpenDevice(std::string_view kind, int index);
    int CloseDevice(int deviceHandle);
    void ReloadRack() { rack_ = Rack::FromEnvironment(); }

    int ErrorLevel() const { return errorLevel_; }
    void SetErrorLevel(int level) { errorLevel_ = level; }
    int SafeAccess() const { return safeAccess_; }
    void SetSafeAccess(int flag) { safeAccess_ = flag; }
    std::array<std::int16_t, 3> &Delays() { return delays_; }

    // Prints a module's register file to the console stream.
    int DumpRegisters(QRX_HANDLE handle, int part = -1) const;
    // Gives a module a private copy of a camera structure.
    int CopyCamera(QRX_HANDLE handle, std::uint32_t camera, std::uint32_t *result);

private:
    Library() = default;

    Element &AddElement(const ModuleConfig &config, int category, int system, QRX_HANDLE parent);
    void AddBoard(const BoardConfig &board, int system);
    void LoadNamedDesign(const ModuleConfig &config, Element &module) const;
    void RemoveElement(QRX_HANDLE handle);
    void LoadRegistersFromRecords(Element &element);
    // The index of a loaded board among the loaded boards of its kind.
    int KindIndex(QRX_HANDLE board) const;
    bool SystemPresent(int system) const;

    Arena arena_;
    std::map<QRX_HANDLE, std::unique_ptr<Element>> elements_;
    std::array<std::vector<QRX_HANDLE>, kSystems> systems_;
    // Per system, how many boards of each kind (library name) it holds.
    std::array<std::map<std::string, int>, kSystems> kindCounts_;
    QRX_HANDLE busTranslator_ = 0;
    // The folder of the configuration last loaded: its TX-30 designs.
    std::filesystem::path configFolder_;
    QRX_HANDLE nextHandle_ = 0x100;
    Rack rack_;
    std::map<int, std::string> openDevices_;
    int nextDevice_ = 1;
    int errorLevel_ = 2;
    int safeAccess_ = 0;
    std::array<std::int16_t, 3> delays_{};
};

// The library model name of a module type number reported for a slot, and
// back: the module type tables.
int ModuleTypeNumber(std::string_view model);

}  // namespace quar
