// The File menu's list of the four most recent files.
#include "app/recent_files.h"

#include <algorithm>

namespace qvi {

std::vector<std::string> Without(std::vector<std::string> list, const std::string &name) {
    list.erase(std::remove(list.begin(), list.end(), name), list.end());
    return list;
}

std::vector<std::string> PutFirst(std::vector<std::string> list, const std::string &name,
                                  std::size_t capacity) {
    list = Without(std::move(list), name);
    list.insert(list.begin(), name);
    if (list.size() > capacity) list.resize(capacity);
    return list;
}

void MemoryRecentFiles::Add(const std::string &name) {
    names_ = PutFirst(std::move(names_), name, capacity_);
}

void MemoryRecentFiles::Remove(const std::string &name) {
    names_ = Without(std::move(names_), name);
}

}  // namespace qvi
