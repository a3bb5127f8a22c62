// Feeds any bytes to the binary decoder. An input that does not start with the
// magic is taken as a payload and given a header whose length and checksum
// hold, so that mutations reach the records behind the checksum. Whatever the
// decoder accepts must encode and decode to the same configuration.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "config/binary_format.h"
#include "fuzz_tables.h"

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

}  // namespace

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
    }
    return 0;
}
