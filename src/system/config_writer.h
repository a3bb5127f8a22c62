#pragma once

#include <ctime>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace qvi {

class QV_system;

// The target of a save: the path itself, except that a ".CNF" path (in any
// letter case) is written to its text twin: an existing ".txt" file of the
// same name in any letter case, else the ".TXT" file.
std::filesystem::path TextFileFor(const std::filesystem::path &path);

// The 16 header lines: the boxed notice, the file's path and the date line
// "#    Date: M/D/YYYY  -  H:M:S" without leading zeros.
void WriteHeader(std::ostream &out, const std::string &path, const std::tm &when);

// The header and one section per element, in list order.
void WriteConfiguration(std::ostream &out, const QV_system &system, const std::string &path,
                        const std::tm &when);

// The local time now, or the time fixed for reproducible output.
std::tm CurrentLocalTime();
void FixHeaderTime(const std::tm *when);

}  // namespace qvi
