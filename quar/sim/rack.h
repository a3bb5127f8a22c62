#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quar {

// One board present in the simulated rack.
struct RackBoard {
    std::string kind;                // "SXP", "SXA", "DQP", "RXP"
    int revision = 0;                // what qrx_get_hw_revision reports
    int typeNumber = -1;             // -1: the library's default for the kind
    int channels = 4;                // SXA camera channels
    int memoryModel = 2;             // DQP frame memories: 0 A0, 1 and 3 A0+A1, 2 all
    int inputs = 0;                  // what the board's digital input port reads
    double frameRate = 30.0;         // frames per second of a grab; 0: uncapped
    int externalTriggerPeriodMs = 0;  // an external trigger every so often; 0: never
    std::uint32_t inputsToggle = 0;  // input lines inverted every other period
    int inputsPeriodMs = 0;          // that period; 0: the inputs stay
    bool loopback = false;           // the output lines drive the input lines
    std::vector<std::string> slots;  // module model names in slots 0, 1, 2; "" for empty
    // The type code of the input board a slot's module carries (a TX-70's RGB
    // board 8, its decoder board 7); -1: the board its configuration names.
    std::vector<int> slotTypes;

    int SlotType(int slot) const;
};

// The boards the simulator pretends are plugged in, read from a rack file:
//
//   [Board]              one section per board (any name starting "Board")
//   Kind = DQP           SXP, SXA, DQP or RXP
//   Count = 2            that many identical boards (default 1)
//   Revision = 40        hardware revision (default 0)
//   TypeNumber = 36      board type number (default: the kind's own)
//   Channels = 4         SXA camera channels, 0 to 4 (default 4)
//   MemoryModel = 0      DQP frame memories: 0 = A0 only, 1 or 3 = A0 and
//                        A1, 2 = A0, A1 and B1 (default 2)
//   Inputs = 8           what the digital input port reads (default 0)
//   FrameRate = 30       frames per second a grab delivers (default 30); 0:
//                        uncapped, a new frame whenever one is looked at
//   ExternalTriggerPeriod = 40   milliseconds between the external triggers
//                        the board's acquisition modules see (default 0:
//                        none ever comes)
//   InputsToggle = 0x0F  input lines that invert every InputsPeriod
//   InputsPeriod = 50    milliseconds (default 0: the inputs never change)
//   Loopback = 1         the output lines appear on the input lines in
//                        place of Inputs (default 0)
//   Slot0 = TX-31        module models in the slots (default: empty)
//   Slot1 = RX-20
//   Slot0Type = 7        the input board type of the module in slot 0
//                        (default: the one its configuration names)
//
// The file is named by the environment variable QUAR_RACK, else it is
// rack.ini in the configuration directory named by CNF27310. No file: no
// hardware at all.
class Rack {
public:
    // The rack as the environment names it now.
    static Rack FromEnvironment();
    static Rack FromFile(const std::filesystem::path &path);
    static Rack FromText(std::string_view text);
    static std::optional<std::filesystem::path> PathFromEnvironment();

    const std::vector<RackBoard> &Boards() const { return boards_; }
    // Board `index` of a kind (counting only that kind), or null.
    const RackBoard *Find(std::string_view kind, int index) const;
    int Count(std::string_view kind) const;

private:
    std::vector<RackBoard> boards_;
};

}  // namespace quar
