// The rack file: which boards and modules the simulator pretends are plugged in.
#include "sim/rack.h"

#include "config/input_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quar {

namespace {

std::string_view Trim(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

int ToInt(std::string_view text, int fallback) {
    int value = fallback;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

// A line mask, decimal or hexadecimal with 0x.
std::uint32_t ToMask(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

// An SXA has camera channels 0 to 3.
constexpr int kMaxChannels = 4;

// A board section being read, with its repeat count.
struct PendingBoard {
    RackBoard board;
    int count = 1;
};

void SetKey(PendingBoard &pending, std::string_view key, std::string_view value) {
    RackBoard &board = pending.board;
    if (EqualNoCase(key, "Kind")) {
        board.kind = std::string(value);
    } else if (EqualNoCase(key, "Count")) {
        pending.count = ToInt(value, 1);
    } else if (EqualNoCase(key, "Revision")) {
        board.revision = ToInt(value, 0);
    } else if (EqualNoCase(key, "TypeNumber")) {
        board.typeNumber = ToInt(value, -1);
    } else if (EqualNoCase(key, "Channels")) {
        board.channels = std::clamp(ToInt(value, 4), 0, kMaxChannels);
    } else if (EqualNoCase(key, "MemoryModel")) {
        board.memoryModel = ToInt(value, 2);
    } else if (EqualNoCase(key, "FrameRate")) {
        board.frameRate = std::max(0, ToInt(value, 30));
    } else if (EqualNoCase(key, "ExternalTriggerPeriod")) {
        board.externalTriggerPeriodMs = std::max(ToInt(value, 0), 0);
    } else if (EqualNoCase(key, "Inputs")) {
        board.inputs = ToInt(value, 0);
    } else if (EqualNoCase(key, "InputsToggle")) {
        board.inputsToggle = ToMask(value);
    } else if (EqualNoCase(key, "InputsPeriod")) {
        board.inputsPeriodMs = std::max(ToInt(value, 0), 0);
    } else if (EqualNoCase(key, "Loopback")) {
        board.loopback = ToInt(value, 0) != 0;
    } else if (StartsWithNoCase(key, "Slot") && key.size() == 9 && key[4] >= '0' && key[4] <= '2' &&
               EqualNoCase(key.substr(5), "Type")) {
        std::size_t slot = static_cast<std::size_t>(key[4] - '0');
        if (board.slotTypes.size() <= slot) board.slotTypes.resize(slot + 1, -1);
        board.slotTypes[slot] = ToInt(value, -1);
    } else if (StartsWithNoCase(key, "Slot") && key.size() == 5 && key[4] >= '0' && key[4] <= '2') {
        std::size_t slot = static_cast<std::size_t>(key[4] - '0');
        if (board.slots.size() <= slot) board.slots.resize(slot + 1);
        board.slots[slot] = std::string(value);
    }
}

}  // namespace

std::optional<std::filesystem::path> Rack::PathFromEnvironment() {
    if (const char *rack = std::getenv("QUAR_RACK"); rack && *rack) return rack;
    if (const char *dir = std::getenv("CNF27310"); dir && *dir)
        return std::filesystem::path(dir) / "rack.ini";
    return std::nullopt;
}

Rack Rack::FromEnvironment() {
    auto path = PathFromEnvironment();
    return path ? FromFile(*path) : Rack();
}

// A rack that is not a small regular file is no rack: no hardware is found.
Rack Rack::FromFile(const std::filesystem::path &path) {
    std::string why;
    const std::optional<std::string> text = quar::ReadInputFile(path, why);
    return text ? FromText(*text) : Rack();
}

Rack Rack::FromText(std::string_view text) {
    Rack rack;
    std::vector<PendingBoard> pending;
    bool inBoard = false;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            inBoard = StartsWithNoCase(line.substr(1), "Board");
            if (inBoard) pending.emplace_back();
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inBoard || equals == std::string_view::npos) continue;
        SetKey(pending.back(), Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    for (const PendingBoard &board : pending) {
        if (board.board.kind.empty()) continue;
        for (int i = 0; i < board.count && i < 64; ++i) rack.boards_.push_back(board.board);
    }
    return rack;
}

int RackBoard::SlotType(int slot) const {
    if (slot < 0 || static_cast<std::size_t>(slot) >= slotTypes.size()) return -1;
    return slotTypes[static_cast<std::size_t>(slot)];
}

const RackBoard *Rack::Find(std::string_view kind, int index) const {
    for (const RackBoard &board : boards_)
        if (board.kind == kind && index-- == 0) return &board;
    return nullptr;
}

int Rack::Count(std::string_view kind) const {
    int count = 0;
    for (const RackBoard &board : boards_) count += board.kind == kind;
    return count;
}

}  // namespace quar
