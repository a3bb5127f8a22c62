// Loading a TX-30 FPGA design: an MCS (Intel hex) file and the image size
// its text states.
#include "sim/fpga_design.h"

#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "sim/console.h"
#include "sim/element.h"

namespace quar {

namespace {

// Intel hex record types an MCS file holds.
constexpr int kDataRecord = 0;
constexpr int kEndRecord = 1;
constexpr int kSegmentAddressRecord = 2;
constexpr int kLinearAddressRecord = 4;

std::string ModuleName(const Element &element) {
    return "TX-30:" + std::to_string(element.instance);
}

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

// The bytes of one record line (":" and hex pairs); nothing when it is not one.
std::optional<std::vector<int>> RecordBytes(std::string_view line) {
    if (line.size() < 11 || line.front() != ':' || line.size() % 2 == 0) return std::nullopt;
    std::vector<int> bytes;
    for (std::size_t i = 1; i < line.size(); i += 2) {
        const auto high = HexDigit(line[i]);
        const auto low = HexDigit(line[i + 1]);
        if (!high || !low) return std::nullopt;
        bytes.push_back(*high * 16 + *low);
    }
    return bytes;
}

// The data bytes of an MCS file: every line a record whose length and
// checksum hold, ending with the end record. The 1-based number of the first
// bad line in `badLine` otherwise.
// The data bytes of an Intel HEX file; nothing after the number of the first
// bad line.
std::optional<std::string> DataBytes(std::istream &in, int &badLine) {
    std::string data;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty()) continue;
        const auto bytes = RecordBytes(line);
        int sum = 0;
        if (bytes)
            for (int byte : *bytes) sum += byte;
        const bool whole = bytes && bytes->size() == static_cast<std::size_t>((*bytes)[0]) + 5;
        const int type = whole ? (*bytes)[3] : -1;
        if (!whole || sum % 256 != 0 ||
            (type != kDataRecord && type != kEndRecord && type != kSegmentAddressRecord &&
             type != kLinearAddressRecord)) {
            badLine = number;
            return std::nullopt;
        }
        if (type == kEndRecord) return data;
        if (type == kDataRecord)
            for (std::size_t i = 4; i + 1 < bytes->size(); ++i)
                data += static_cast<char>((*bytes)[i]);
    }
    badLine = number + 1;  // no end record
    return std::nullopt;
}

// The simulated designs state the image they deliver in their text
// ("NTSC, 640 x 480"); a design that does not keeps the standard size.
std::pair<int, int> DesignSize(const std::string &design) {
    static const std::regex size("([0-9]{2,5}) x ([0-9]{2,5})");
    std::smatch found;
    if (!std::regex_search(design, found, size)) return {0, 0};
    return {std::stoi(found[1]), std::stoi(found[2])};
}

}  // namespace

int LoadFpgaDesign(Element &element, const char *path, bool report) {
    const std::string module = ModuleName(element);
    std::ifstream in;
    if (path != nullptr) in.open(path);
    if (!in) {
        if (report)
            ConsolePrint(module + " FPGA: cannot read " + (path ? path : "(no file)") + "\n");
        return -2;
    }
    int badLine = 0;
    const auto bytes = DataBytes(in, badLine);
    if (!bytes) {
        if (report)
            ConsolePrint(module + " FPGA: " + path + " line " + std::to_string(badLine) +
                         " is not a valid record; nothing loaded\n");
        return -3;
    }
    element.fpgaFile = path;
    element.fpgaBytes = bytes->size();
    element.fpgaSize = DesignSize(*bytes);
    if (report)
        ConsolePrint(module + " FPGA: loaded " + path + ", " + std::to_string(bytes->size()) +
                     " bytes\n");
    return 0;
}

}  // namespace quar
