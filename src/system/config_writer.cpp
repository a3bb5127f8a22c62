#include "system/config_writer.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>

#include "system/system.h"

namespace qvi {

namespace {

constexpr std::size_t kBoxWidth = 69;

// The notice in the header box.
constexpr const char *kNotice[] = {
    "QVI Configurator: frame-grabber board configuration",
    "Written by the configurator and read back by the imaging library",
    "through the converter. Keys and words are case-sensitive;",
    "values outside their ranges are refused by the converter.",
    "Sections follow the order of the system window.",
};

std::optional<std::tm> fixedTime;

std::string Boxed(const std::string &text) {
    std::string line = "# " + text;
    if (line.size() < kBoxWidth - 1) line.append(kBoxWidth - 1 - line.size(), ' ');
    return line + "#";
}

}  // namespace

std::filesystem::path TextFileFor(const std::filesystem::path &path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (extension != ".CNF") return path;
    std::filesystem::path text = path;
    return text.replace_extension(".TXT");
}

void WriteHeader(std::ostream &out, const std::string &path, const std::tm &when) {
    const std::string rule(kBoxWidth, '#');
    const std::string blank = Boxed("");
    out << rule << "\n" << blank << "\n" << Boxed(kNotice[0]) << "\n" << blank << "\n";
    for (int i = 1; i < 5; ++i) out << Boxed(kNotice[i]) << "\n";
    out << blank << "\n" << rule << "\n#\n";
    out << "#    File: " << path << "\n";
    out << "#    Date: " << when.tm_mon + 1 << "/" << when.tm_mday << "/" << when.tm_year + 1900
        << "  -  " << when.tm_hour << ":" << when.tm_min << ":" << when.tm_sec << "\n";
    out << "#\n#\n \n";
}

void WriteConfiguration(std::ostream &out, const QV_system &system, const std::string &path,
                        const std::tm &when) {
    WriteHeader(out, path, when);
    for (int i = 0; i < system.Size(); ++i) system.GetElement(i)->WriteCFG(out);
}

std::tm CurrentLocalTime() {
    if (fixedTime) return *fixedTime;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void FixHeaderTime(const std::tm *when) {
    if (when)
        fixedTime = *when;
    else
        fixedTime.reset();
}

}  // namespace qvi
