#pragma once

#include <string_view>

#include "quar/quar_api.h"

namespace quar {

// The library's console stream: register dumps and load messages go here.
// Without a sink installed by the program they go to standard output.
void SetConsoleSink(QRX_CONSOLE_SINK sink, void *user);
void ConsolePrint(std::string_view text);

}  // namespace quar
