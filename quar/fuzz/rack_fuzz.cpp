// Feeds any bytes to the rack reader. Whatever it reads must be a rack the
// simulator can use: every board has a kind, an SXA 0 to 4 channels, a
// section's count stays bounded, and each board is found again by its kind
// and its index among the boards of that kind.

#include <cstdint>
#include <string_view>

#include "sim/rack.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const quar::Rack rack = quar::Rack::FromText(text);
    std::size_t sections = 0;
    for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1))
        ++sections;
    Check(rack.Boards().size() <= 64 * sections);
    for (const quar::RackBoard &board : rack.Boards()) {
        Check(!board.kind.empty());
        Check(board.channels >= 0 && board.channels <= 4);
        Check(board.slots.size() <= 3 && board.slotTypes.size() <= 3);
        for (int slot = -1; slot <= 3; ++slot) static_cast<void>(board.SlotType(slot));
        const int count = rack.Count(board.kind);
        Check(count > 0);
        Check(rack.Find(board.kind, count - 1) != nullptr);
        Check(rack.Find(board.kind, count) == nullptr);
    }
    return 0;
}
