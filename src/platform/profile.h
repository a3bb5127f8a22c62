#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qvi {

// An INI settings file read and written with the private-profile rules the
// settings file and the camera database were designed for: section and key
// names match without regard to letter case, the first matching section and
// key win, values are trimmed of surrounding blanks (and of one pair of
// enclosing double quotes), and a missing entry yields the caller's default.
// The file is read afresh on every call, as the platform functions do, so a
// write is seen by the next read.
class Profile {
public:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    explicit Profile(std::filesystem::path path);

    const std::filesystem::path &Path() const { return path_; }
    bool Exists() const;

    // The value of the key, cut to bufferSize - 1 characters like a fixed
    // buffer would; defaultValue when the file, section or key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize = 4096) const;
    // The leading decimal number of the value (an optional sign, then digits,
    // the rest ignored); defaultValue when the key is missing; 0 when the
    // value does not start with a number.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;
    // Section names in file order.
    std::vector<std::string> SectionNames() const;
    // Whether the file has a section of this name (matched case-insensitively).
    bool HasSection(std::string_view section) const;
    // Every key and value of the first section with that name, in file order.
    std::vector<Entry> SectionEntries(std::string_view section) const;

    // Replaces the value of the first matching key, or appends the key to the
    // first matching section, or appends the section to the file; creates the
    // file when it does not exist. Every other line stays as it was. Returns
    // false when the file cannot be written; the old file is then untouched.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first matching key of the first matching section.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Replaces the whole file with these sections. Written to a temporary file
    // beside the target and renamed over it, so a failure leaves the old file.
    bool WriteAll(const std::vector<Section> &sections);

private:
    std::filesystem::path path_;
};

}  // namespace qvi
