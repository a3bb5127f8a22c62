// Writing the text configuration: the header and one section per element.
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

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

std::filesystem::path TextFileFor(const std::filesystem::path &path) {
    if (UpperCase(path.extension().string()) != ".CNF") return path;
    std::filesystem::path twin = path;
    twin.replace_extension(".TXT");
    // Letter case tells files apart here: an existing twin of any case is the
    // one (the newest, should there be several), so that saving, converting
    // and viewing all meet the same file.
    const std::filesystem::path dir =
        twin.parent_path().empty() ? std::filesystem::path(".") : twin.parent_path();
    std::optional<std::filesystem::path> chosen;
    std::filesystem::file_time_type newest{};
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(dir, error)) {
        const std::filesystem::path &found = entry.path();
        if (found.stem() != twin.stem() || UpperCase(found.extension().string()) != ".TXT")
            continue;
        const auto written = std::filesystem::last_write_time(found, error);
        if (chosen && written <= newest) continue;
        chosen = twin.parent_path() / found.filename();
        newest = written;
    }
    return chosen.value_or(twin);
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
