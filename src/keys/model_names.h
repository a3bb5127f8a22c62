#pragma once

// Model names the program's logic asks for by name.

#include <string_view>

namespace qvi::keys {

// The model the library reports for a camera channel of the SXA board.
inline constexpr std::string_view kSxaChannelModel = "SXA-VMOD";

}  // namespace qvi::keys
