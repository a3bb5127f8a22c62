// Checking a configuration text: the converter's parser first, then the program's tables.
#include "app/config_check.h"

#include <algorithm>
#include <map>
#include <utility>

#include "app/config_outline.h"
#include "app/row_limits.h"
#include "config/input_file.h"
#include "config/text_parser.h"

namespace qvi {

namespace {

using quar::ModuleConfig;

// The converter's message without its file and line: "REASON: TEXT", the
// text cut and its control characters escaped as the converter does it.
std::string ParserMessage(quar::ConfigError error) {
    error.file.clear();
    error.line = 0;
    std::string message = error.Message();
    return message.starts_with(": ") ? message.substr(2) : message;
}

// Checks one module section of a text the parser took.
class ModuleCheck {
public:
    ModuleCheck(const ModuleConfig &module, const OutlineSection &section, RowLimits &limits,
                std::vector<ConfigProblem> &problems)
        : module_(module), section_(section), limits_(limits), problems_(problems) {}

    void Run() {
        if (module_.table->rowsPending) return;
        Limits();
        TextWidths();
        PortBlocks();
        GivenTwice();
    }

private:
    void Warn(int line, std::string message) {
        problems_.push_back({line, Severity::Warning, std::move(message)});
    }

    // Only what the text gave: a default outside a row's limits is the
    // table's matter, not the file's.
    void Limits() {
        for (const keys::KeyRow &row : module_.table->keys) {
            const std::size_t ports = row.perPort ? module_.ports.size() : 1;
            for (std::size_t port = 0; port < ports; ++port) {
                const auto line =
                    KeyLine(section_, row.key, row.perPort ? static_cast<int>(port) : -1);
                const auto value = module_.ports[port].find(row.handle);
                if (!line || row.key.empty() || value == module_.ports[port].end()) continue;
                if (std::string why = limits_.Check(*module_.table, row, port, value->second);
                    !why.empty())
                    Warn(*line,
                         row.perPort ? "camera port " + std::to_string(port) + ": " + why : why);
            }
        }
    }

    // The library keeps a short text in a field of its record and cuts what
    // does not fit: the name read back is not the name written.
    void TextWidths() {
        constexpr std::size_t kKept = keys::kInlineTextSize - 1;
        for (const keys::KeyRow &row : module_.table->keys) {
            if (row.location.field != keys::Field::InlineText) continue;
            const std::size_t ports = row.perPort ? module_.ports.size() : 1;
            for (std::size_t port = 0; port < ports; ++port) {
                const auto line =
                    KeyLine(section_, row.key, row.perPort ? static_cast<int>(port) : -1);
                const auto value = module_.ports[port].find(row.handle);
                if (!line || value == module_.ports[port].end() ||
                    value->second.text.size() <= kKept)
                    continue;
                Warn(*line,
                     std::string(row.key) + " is " + std::to_string(value->second.text.size()) +
                         " bytes long: the library keeps the first " + std::to_string(kKept));
            }
        }
    }

    // The program writes every port's block. A text without blocks gives every
    // port the same values; one with some blocks but not all most likely lost
    // the others, whose ports keep the values before the blocks.
    void PortBlocks() {
        const int ports = module_.table->layout.cameraPorts;
        if (module_.table->category != keys::ModelCategory::SlotModule || ports <= 1 ||
            section_.blocks.empty())
            return;
        for (int port = 0; port < ports; ++port)
            if (!section_.blocks.contains(port))
                Warn(section_.line, "[" + module_.sectionName + ":" +
                                        std::to_string(module_.instance) +
                                        "] has no [CameraPort:" + std::to_string(port) +
                                        "] block: that port keeps the values before the blocks");
    }

    // The parser keeps the last of two values given in one place.
    void GivenTwice() {
        std::map<std::pair<std::string, int>, int> first;
        for (const OutlineEntry &entry : section_.entries) {
            if (!entry.assigned) continue;
            auto [at, inserted] = first.emplace(std::pair{entry.key, entry.port}, entry.line);
            if (!inserted)
                Warn(entry.line, entry.key + " given again: the value of line " +
                                     std::to_string(at->second) + " is lost");
        }
    }

    const ModuleConfig &module_;
    const OutlineSection &section_;
    RowLimits &limits_;
    std::vector<ConfigProblem> &problems_;
};

std::vector<const ModuleConfig *> ModulesOf(const quar::Configuration &config) {
    std::vector<const ModuleConfig *> modules;
    for (const quar::SystemConfig &system : config.systems) {
        for (const quar::BoardConfig &board : system.boards) {
            modules.push_back(&board.board);
            for (const ModuleConfig &module : board.modules) modules.push_back(&module);
        }
    }
    if (config.busTranslator) modules.push_back(&*config.busTranslator);
    return modules;
}

void TableChecks(std::string_view text, const quar::Configuration &config, RowLimits &limits,
                 std::vector<ConfigProblem> &problems) {
    if (config.systems.empty() && !config.busTranslator) {
        problems.push_back({0, Severity::Warning, "no sections: the configuration is empty"});
        return;
    }
    const std::vector<OutlineSection> sections = OutlineConfigText(text);
    std::map<int, const OutlineSection *> byLine;
    for (const OutlineSection &section : sections) byLine.emplace(section.line, &section);
    for (const ModuleConfig *module : ModulesOf(config)) {
        const auto section = byLine.find(module->line);
        if (section != byLine.end()) ModuleCheck(*module, *section->second, limits, problems).Run();
    }
    std::stable_sort(
        problems.begin(), problems.end(),
        [](const ConfigProblem &a, const ConfigProblem &b) { return a.line < b.line; });
}

}  // namespace

std::vector<ConfigProblem> CheckConfigText(std::string_view text, std::string_view fileName,
                                           RowLimits &limits) {
    quar::ConfigError error;
    const std::optional<quar::Configuration> config = quar::ParseConfigText(text, fileName, error);
    if (!config) return {{error.line, Severity::Error, ParserMessage(error)}};
    std::vector<ConfigProblem> problems;
    TableChecks(text, *config, limits, problems);
    return problems;
}

std::vector<ConfigProblem> CheckConfigFile(const std::filesystem::path &path, RowLimits &limits) {
    std::string why;
    const std::optional<std::string> text = quar::ReadInputFile(path, why);
    if (!text) return {{0, Severity::Error, "cannot read the file: " + why}};
    return CheckConfigText(*text, path.string(), limits);
}

std::string FormatProblem(std::string_view file, const ConfigProblem &problem) {
    std::string text(file);
    if (problem.line > 0) text += ":" + std::to_string(problem.line);
    text += problem.severity == Severity::Error ? ": error: " : ": warning: ";
    return text + problem.message;
}

bool ChecksFail(const std::vector<ConfigProblem> &problems, bool warningsAreErrors) {
    for (const ConfigProblem &problem : problems)
        if (problem.severity == Severity::Error || warningsAreErrors) return true;
    return false;
}

}  // namespace qvi
