#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qvi {

class RowLimits;

// What `qvcfg validate` finds in a configuration text, without hardware and
// without running the converter. The converter's own parser reads the text
// first, so a file the converter refuses always has an error (its first
// fault, as the converter reports it); a text it takes is then held to the
// program's tables, which find warnings only: a number outside its row's
// limits, a four-port module lacking camera-port blocks, a key given twice in
// one place, a file that describes nothing.
enum class Severity { Warning, Error };

struct ConfigProblem {
    int line = 0;  // 0 when the whole file is concerned
    Severity severity = Severity::Error;
    std::string message;
};

// Reads the file as the converter does: a folder, a device, a FIFO or a file
// beyond the converter's size limit is an error of the whole file.
std::vector<ConfigProblem> CheckConfigFile(const std::filesystem::path &path, RowLimits &limits);
std::vector<ConfigProblem> CheckConfigText(std::string_view text, std::string_view fileName,
                                           RowLimits &limits);

// "FILE:LINE: error: MESSAGE" or "FILE:LINE: warning: MESSAGE", the compiler
// convention; without ":LINE" when the line is 0.
std::string FormatProblem(std::string_view file, const ConfigProblem &problem);

// Whether the problems fail the check: any error, or any warning when
// warnings count as errors.
bool ChecksFail(const std::vector<ConfigProblem> &problems, bool warningsAreErrors);

}  // namespace qvi
