// The sections, camera-port blocks and key lines of a configuration text.
#include "app/config_outline.h"

#include "keys/key_table.h"

namespace qvi {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// "[NAME:NUMBER]" -> NAME and NUMBER (-1 without a number).
std::pair<std::string_view, int> Head(std::string_view line) {
    std::string_view name = line.substr(1, line.find(']') - 1);
    int number = -1;
    if (const auto colon = name.find(':'); colon != std::string_view::npos) {
        number = 0;
        for (char c : name.substr(colon + 1))
            if (c >= '0' && c <= '9' && number < 100000) number = number * 10 + (c - '0');
        name = name.substr(0, colon);
    }
    return {name, number};
}

bool TakesPortBlocks(const OutlineSection &section) {
    const keys::ModelTable *table = keys::FindSection(section.name);
    return table != nullptr && table->category == keys::ModelCategory::SlotModule;
}

}  // namespace

std::vector<OutlineSection> OutlineConfigText(std::string_view text) {
    std::vector<OutlineSection> sections;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    int port = -1;
    for (int number = 1; !text.empty(); ++number) {
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view content =
            Trim(!line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
        if (content.empty() || content.front() == '#') continue;
        if (content.front() == '[') {
            const auto [name, value] = Head(content);
            if (name == "CameraPort" && !sections.empty() && TakesPortBlocks(sections.back())) {
                sections.back().blocks.emplace(value, number);
                port = value;
                continue;
            }
            sections.push_back({number, std::string(name), {}, {}});
            port = -1;
            continue;
        }
        if (sections.empty()) continue;
        const auto equals = content.find('=');
        const std::string_view key =
            equals == std::string_view::npos ? content : Trim(content.substr(0, equals));
        sections.back().entries.push_back(
            {number, std::string(key), port, equals != std::string_view::npos});
    }
    return sections;
}

std::optional<int> KeyLine(const OutlineSection &section, std::string_view key, int port) {
    std::optional<int> inBlock;
    std::optional<int> before;
    for (const OutlineEntry &entry : section.entries) {
        if (entry.key != key) continue;
        if (entry.port == port) inBlock = entry.line;
        if (entry.port < 0) before = entry.line;
    }
    return inBlock ? inBlock : before;
}

}  // namespace qvi
