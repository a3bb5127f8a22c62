// Feeds any bytes to the binary decoder, then loads what it accepts into the
// simulator as qrx_load_cnf does and initialises every system on a rack that
// has every board kind. An input that does not start with the magic is taken
// as a payload and given a header whose length and checksum hold, so that
// mutations reach the records behind the checksum. Whatever the decoder
// accepts must encode and decode to the same configuration, and must load.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "config/binary_format.h"
#include "fuzz_tables.h"
#include "quar/quar_api.h"
#include "sim/console.h"
#include "sim/library.h"

namespace {

std::vector<std::uint8_t> Seal(std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> bytes(quar::kBinaryMagic.begin(), quar::kBinaryMagic.end());
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    put(quar::kBinaryVersion, 2);
    put(0, 2);
    put(static_cast<std::uint32_t>(payload.size()), 4);
    put(quar::Crc32(payload), 4);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

// Eight of each board kind, with modules in their slots, so that the boards
// of a loaded configuration are present and their systems initialise.
constexpr std::string_view kRack = R"([Board]
Kind = SXP
Count = 8
Slot0 = TX-70
Slot0Type = 8
[Board]
Kind = SXA
Count = 8
[Board]
Kind = DQP
Count = 8
MemoryModel = 1
Slot0 = TX-31
Slot1 = RX-20
[Board]
Kind = RXP
Count = 8
)";

std::filesystem::path ScratchPath(const char *name) {
    return std::filesystem::temp_directory_path() /
           ("quar-fuzz-" + std::to_string(::getpid()) + "-" + name);
}

const std::filesystem::path &ConfigurationFile() {
    static const std::filesystem::path path = ScratchPath("load.cnf");
    return path;
}

void Discard(const char *, void *) {}

// Loads the file into the simulator, initialises its systems, and takes them
// out again so that the next input starts from an empty library.
void LoadIntoSimulator(std::span<const std::uint8_t> bytes) {
    std::ofstream(ConfigurationFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    quar::Library &library = quar::Library::Instance();
    const int result = library.LoadBinary(ConfigurationFile());
    if (result != QRX_LOAD_OK && result != QRX_LOAD_HARDWARE_MISSING) __builtin_trap();
    for (int system = 0; system < quar::Library::kSystems; ++system) {
        static_cast<void>(library.InitSystem(system));
        library.RemoveSystem(system);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    const std::filesystem::path rack = ScratchPath("rack.ini");
    std::ofstream(rack, std::ios::trunc) << kRack;
    ::setenv("QUAR_RACK", rack.c_str(), 1);
    quar::SetConsoleSink(Discard, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    std::vector<std::uint8_t> sealed;
    if (!quar::HasBinaryMagic(input)) {
        sealed = Seal(input);
        input = sealed;
    }
    for (const quar::TableSet &tables : quar::fuzz::TableSets()) {
        std::string error;
        const auto config = quar::DecodeConfiguration(input, error, tables);
        if (!config) {
            if (error.empty()) __builtin_trap();
            continue;
        }
        const auto again =
            quar::DecodeConfiguration(quar::EncodeConfiguration(*config), error, tables);
        if (!again || !(*again == *config)) __builtin_trap();
        // The simulator knows the real models only.
        if (&tables == &quar::RegistryTables()) LoadIntoSimulator(input);
    }
    return 0;
}
