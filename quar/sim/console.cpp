// The library's console stream, sent to the sink the program installs or else to standard output.
#include "sim/console.h"

#include <cstdio>
#include <string>

namespace quar {

namespace {
QRX_CONSOLE_SINK consoleSink = nullptr;
void *consoleUser = nullptr;
}  // namespace

void SetConsoleSink(QRX_CONSOLE_SINK sink, void *user) {
    consoleSink = sink;
    consoleUser = user;
}

void ConsolePrint(std::string_view text) {
    std::string copy(text);
    if (consoleSink) {
        consoleSink(copy.c_str(), consoleUser);
    } else {
        std::fputs(copy.c_str(), stdout);
        std::fflush(stdout);
    }
}

}  // namespace quar
