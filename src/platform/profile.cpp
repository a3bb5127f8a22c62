// Reading and writing INI settings files with the private-profile rules.
#include "platform/profile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

#include <sys/stat.h>

#include "platform/input_file.h"
#include "platform/replace_file.h"
#include "platform/ui.h"

namespace qvi {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

enum class LineKind { Other, Section, Entry };

// One physical line: its text without the line end, the line end as found ("\n", "\r\n", or
// nothing on a last line without one), and what the line declares.
struct Line {
    std::string text;
    std::string eol;
    LineKind kind = LineKind::Other;
    std::string name;   // section name or key
    std::string value;  // entry value, trimmed and unquoted
};

void Classify(Line &line) {
    const std::string_view text = Trim(line.text);
    if (text.empty() || text.front() == ';') return;
    if (text.front() == '[') {
        // The last bracket closes the name, so a name may itself hold a ']'. A header without
        // one is malformed and opens no section.
        const auto close = text.rfind(']');
        if (close == std::string_view::npos) return;
        line.kind = LineKind::Section;
        line.name = Trim(text.substr(1, close - 1));
        return;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = Trim(text.substr(0, equals));
    if (key.empty()) return;  // "=value" names nothing and is never found
    line.kind = LineKind::Entry;
    line.name = key;
    line.value = Unquote(Trim(text.substr(equals + 1)));
}

Line MakeLine(std::string_view text, std::string_view eol) {
    Line line;
    line.text = text;
    line.eol = eol;
    Classify(line);
    return line;
}

// The file as a list of lines, kept exactly so that a rewrite changes only what it must.
struct Document {
    std::string bom;
    std::vector<Line> lines;

    // New lines follow the file's own convention; a new file gets plain line feeds.
    std::string LineEnd() const {
        for (const Line &line : lines)
            if (!line.eol.empty()) return line.eol;
        return "\n";
    }

    std::string Text() const {
        std::string text = bom;
        for (const Line &line : lines) text.append(line.text).append(line.eol);
        return text;
    }
};

Document Parse(std::string_view content) {
    Document doc;
    if (content.starts_with(kUtf8Bom)) {
        doc.bom = kUtf8Bom;
        content.remove_prefix(kUtf8Bom.size());
    }
    while (!content.empty()) {
        const auto newline = content.find('\n');
        if (newline == std::string_view::npos) {
            doc.lines.push_back(MakeLine(content, ""));
            break;
        }
        const bool crlf = newline > 0 && content[newline - 1] == '\r';
        const std::size_t length = crlf ? newline - 1 : newline;
        doc.lines.push_back(MakeLine(content.substr(0, length), crlf ? "\r\n" : "\n"));
        content.remove_prefix(newline + 1);
    }
    return doc;
}

enum class LoadResult { Loaded, Missing, Failed };

// A settings file or database is read key by key: a file refused for its size
// is named once, not once per key.
void ReportTooLarge(const fs::path &path, const std::string &refusal) {
    static fs::path reported;
    if (reported == path) return;
    reported = path;
    ReportError(MessageText("Can't read file: ", path.string(), "\n", refusal));
}

LoadResult Load(const fs::path &path, Document &doc) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return LoadResult::Missing;
    if (ec || status.type() != fs::file_type::regular) return LoadResult::Failed;
    if (const std::string refusal = InputFileRefusal(path); !refusal.empty()) {
        ReportTooLarge(path, refusal);
        return LoadResult::Failed;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return LoadResult::Failed;
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return LoadResult::Failed;
    doc = Parse(content);
    return LoadResult::Loaded;
}

// The last file read, parsed: a camera database is read key by key, and
// parsing the whole file for every key made loading a large one slow. The
// file's identity, size and modification time tell when it has changed.
struct CachedDocument {
    fs::path path;
    struct stat identity {};
    std::shared_ptr<const Document> doc;
};

bool SameFile(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The parsed file for reading; null when it is missing or unreadable.
std::shared_ptr<const Document> LoadForReading(const fs::path &path) {
    static CachedDocument cache;
    struct stat identity {};
    if (::stat(path.c_str(), &identity) != 0) return nullptr;
    if (cache.doc && cache.path == path && SameFile(cache.identity, identity)) return cache.doc;
    auto doc = std::make_shared<Document>();
    if (Load(path, *doc) != LoadResult::Loaded) return nullptr;
    cache = {path, identity, doc};
    return doc;
}

std::size_t FindSection(const Document &doc, std::string_view section) {
    for (std::size_t i = 0; i < doc.lines.size(); ++i)
        if (doc.lines[i].kind == LineKind::Section && SameName(doc.lines[i].name, section))
            return i;
    return kNone;
}

// The index just past the last line of the section whose header is at `header`.
std::size_t SectionEnd(const Document &doc, std::size_t header) {
    std::size_t end = header + 1;
    while (end < doc.lines.size() && doc.lines[end].kind != LineKind::Section) ++end;
    return end;
}

std::size_t FindKey(const Document &doc, std::size_t header, std::string_view key) {
    const std::size_t end = SectionEnd(doc, header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (doc.lines[i].kind == LineKind::Entry && SameName(doc.lines[i].name, key)) return i;
    return kNone;
}

// The first matching entry of the first matching section, or nullptr.
const Line *FindEntry(const Document &doc, std::string_view section, std::string_view key) {
    const std::size_t header = FindSection(doc, section);
    if (header == kNone) return nullptr;
    const std::size_t index = FindKey(doc, header, key);
    return index == kNone ? nullptr : &doc.lines[index];
}

bool IsBlank(const Line &line) {
    return Trim(line.text).empty();
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

// Names are refused when the line written for them would not read back under the same name.
bool WritableSection(std::string_view name) {
    return !HasLineBreak(name) && Trim(name) == name;
}

bool WritableKey(std::string_view key) {
    return !key.empty() && !HasLineBreak(key) && Trim(key) == key && key.find('=') == key.npos &&
           key.front() != ';' && key.front() != '[';
}

bool WritableEntry(std::string_view key, std::string_view value) {
    return WritableKey(key) && !HasLineBreak(value);
}

std::string EntryText(std::string_view key, std::string_view value) {
    return std::string(key).append("=").append(value);
}

void AppendLine(Document &doc, std::string_view text, const std::string &eol) {
    if (!doc.lines.empty() && doc.lines.back().eol.empty()) doc.lines.back().eol = eol;
    doc.lines.push_back(MakeLine(text, eol));
}

// Adds the entry after the last non-blank line of the section, so the blank lines that
// separate it from the next section stay where they are.
void InsertEntry(Document &doc, std::size_t header, std::string_view text, const std::string &eol) {
    std::size_t last = SectionEnd(doc, header) - 1;
    while (last > header && IsBlank(doc.lines[last])) --last;
    if (doc.lines[last].eol.empty()) doc.lines[last].eol = eol;
    const auto at = doc.lines.begin() + static_cast<std::ptrdiff_t>(last + 1);
    doc.lines.insert(at, MakeLine(text, eol));
}

void AppendSection(Document &doc, std::string_view section, std::string_view entry,
                   const std::string &eol) {
    if (!doc.lines.empty() && !IsBlank(doc.lines.back())) AppendLine(doc, "", eol);
    AppendLine(doc, "[" + std::string(section) + "]", eol);
    AppendLine(doc, entry, eol);
}

std::string CutToBuffer(std::string text, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    if (text.size() > bufferSize - 1) text.resize(bufferSize - 1);
    return text;
}

// The leading decimal number, clamped to the range of int.
int LeadingNumber(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        magnitude = std::min(magnitude * 10 + (c - '0'), limit);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

Profile::Profile(std::filesystem::path path) : path_(std::move(path)) {}

bool Profile::Exists() const {
    std::error_code ec;
    return fs::is_regular_file(path_, ec);
}

std::string Profile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::size_t bufferSize) const {
    auto doc = LoadForReading(path_);
    const Line *entry = doc ? FindEntry(*doc, section, key) : nullptr;
    return CutToBuffer(std::string(entry ? std::string_view(entry->value) : defaultValue),
                       bufferSize);
}

int Profile::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
    auto doc = LoadForReading(path_);
    if (!doc) return defaultValue;
    const Line *entry = FindEntry(*doc, section, key);
    return entry ? LeadingNumber(entry->value) : defaultValue;
}

std::vector<std::string> Profile::SectionNames() const {
    std::vector<std::string> names;
    auto doc = LoadForReading(path_);
    if (!doc) return names;
    for (const Line &line : doc->lines)
        if (line.kind == LineKind::Section) names.push_back(line.name);
    return names;
}

bool Profile::HasSection(std::string_view section) const {
    auto doc = LoadForReading(path_);
    return doc && FindSection(*doc, section) != kNone;
}

std::vector<Profile::Entry> Profile::SectionEntries(std::string_view section) const {
    std::vector<Entry> entries;
    auto doc = LoadForReading(path_);
    if (!doc) return entries;
    const std::size_t header = FindSection(*doc, section);
    if (header == kNone) return entries;
    const std::size_t end = SectionEnd(*doc, header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (doc->lines[i].kind == LineKind::Entry)
            entries.push_back({doc->lines[i].name, doc->lines[i].value});
    return entries;
}

// A replaced line becomes "key=value" with the key as the file spells it; the value is written
// as given, so blanks or quotes around it are dropped again when it is read.
bool Profile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!WritableSection(section) || !WritableEntry(key, value)) return false;
    Document doc;
    if (Load(path_, doc) == LoadResult::Failed) return false;
    const std::string eol = doc.LineEnd();
    const std::size_t header = FindSection(doc, section);
    if (header == kNone) {
        AppendSection(doc, section, EntryText(key, value), eol);
    } else if (const std::size_t index = FindKey(doc, header, key); index != kNone) {
        doc.lines[index].text = EntryText(doc.lines[index].name, value);
    } else {
        InsertEntry(doc, header, EntryText(key, value), eol);
    }
    return ReplaceFileContent(path_, doc.Text());
}

// Nothing to delete (no file, section or key) counts as success and leaves the file untouched.
bool Profile::DeleteKey(std::string_view section, std::string_view key) {
    Document doc;
    const LoadResult loaded = Load(path_, doc);
    if (loaded != LoadResult::Loaded) return loaded == LoadResult::Missing;
    const std::size_t header = FindSection(doc, section);
    const std::size_t index = header == kNone ? kNone : FindKey(doc, header, key);
    if (index == kNone) return true;
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(index));
    return ReplaceFileContent(path_, doc.Text());
}

bool Profile::WriteAll(const std::vector<Section> &sections) {
    std::string text;
    for (const Section &section : sections) {
        if (!WritableSection(section.name)) return false;
        if (!text.empty()) text += '\n';
        text.append("[").append(section.name).append("]\n");
        for (const Entry &entry : section.entries) {
            if (!WritableEntry(entry.key, entry.value)) return false;
            text.append(EntryText(entry.key, entry.value)).append("\n");
        }
    }
    return ReplaceFileContent(path_, text);
}

}  // namespace qvi
