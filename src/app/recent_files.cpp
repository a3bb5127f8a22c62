#include "app/recent_files.h"

#include <algorithm>

namespace qvi {

std::vector<std::string> PutFirst(std::vector<std::string> list, const std::string &name,
                                  std::size_t capacity) {
    list.erase(std::remove(list.begin(), list.end(), name), list.end());
    list.insert(list.begin(), name);
    if (list.size() > capacity) list.resize(capacity);
    return list;
}

void MemoryRecentFiles::Add(const std::string &name) {
    names_ = PutFirst(std::move(names_), name, capacity_);
}

}  // namespace qvi
