#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qvi {

// How many files the File menu lists.
inline constexpr std::size_t kRecentFileCount = 4;

// The File menu's recent-file list, newest first. The desktop keeps it in its
// settings store; the command line and the tests keep it in memory.
class RecentFiles {
public:
    virtual ~RecentFiles() = default;

    virtual std::vector<std::string> List() const = 0;
    // Puts the name first (see PutFirst).
    virtual void Add(const std::string &name) = 0;
    // Takes the name off the list; an unlisted name changes nothing.
    virtual void Remove(const std::string &name) = 0;
};

// The list with `name` in front: an entry already listed moves up rather than
// repeating, and what lies beyond `capacity` drops off the end.
std::vector<std::string> PutFirst(std::vector<std::string> list, const std::string &name,
                                  std::size_t capacity);

// The list without `name`.
std::vector<std::string> Without(std::vector<std::string> list, const std::string &name);

// A recent-file list that lives as long as the object.
class MemoryRecentFiles : public RecentFiles {
public:
    explicit MemoryRecentFiles(std::size_t capacity = kRecentFileCount) : capacity_(capacity) {}

    std::vector<std::string> List() const override { return names_; }
    void Add(const std::string &name) override;
    void Remove(const std::string &name) override;

private:
    std::size_t capacity_;
    std::vector<std::string> names_;
};

}  // namespace qvi
