// Feeds any bytes to the text parser. Whatever it accepts must come back
// unchanged through the binary form; whatever it refuses must say why.

#include <cstdint>
#include <string>
#include <string_view>

#include "config/binary_format.h"
#include "config/text_parser.h"
#include "fuzz_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (const quar::TableSet &tables : quar::fuzz::TableSets()) {
        quar::ConfigError error;
        const auto config = quar::ParseConfigText(text, "fuzz.txt", error, tables);
        if (!config) {
            if (error.reason.empty()) __builtin_trap();
            continue;
        }
        std::string why;
        const auto decoded =
            quar::DecodeConfiguration(quar::EncodeConfiguration(*config), why, tables);
        if (!decoded || !(*decoded == *config)) __builtin_trap();
    }
    return 0;
}
