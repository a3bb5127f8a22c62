#pragma once

#include <filesystem>

namespace qvi {

class Processes;

// The converter's answer about one run.
enum class ConverterOutcome {
    Converted,
    Missing,      // not found beside the program or on PATH
    NotStarted,   // found, but it did not start
    RefusedText,  // it refused the text: the configuration would not load
    Failed,       // any other failure it reported (a destination it cannot write)
};

// Runs the converter "mkbcf SRC DST REPLY" and waits for its answer while the
// user interface stays alive. Every failure is reported: the converter's own
// message first (it names the file, line and value), then "Mkbcf failed. cmd
// = " with the command line.
ConverterOutcome RunConverter(Processes &processes, const std::filesystem::path &source,
                              const std::filesystem::path &destination);

}  // namespace qvi
