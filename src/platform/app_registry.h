#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace qvi {

// The program's own per-user store: the section "Window size" with the main
// window's placement, and the tool bars' state. The desktop keeps it in its
// settings store under "Corvath"; the command line and the tests in memory.
class AppRegistry {
public:
    virtual ~AppRegistry() = default;

    virtual std::string GetString(std::string_view section, std::string_view key,
                                  std::string_view fallback) const = 0;
    virtual int GetInt(std::string_view section, std::string_view key, int fallback) const = 0;
    virtual void WriteString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    virtual void WriteInt(std::string_view section, std::string_view key, int value) = 0;
};

// A registry that lives as long as the object.
class MemoryRegistry : public AppRegistry {
public:
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback) const override {
        auto found = values_.find(Key(section, key));
        return found == values_.end() ? std::string(fallback) : found->second;
    }
    int GetInt(std::string_view section, std::string_view key, int fallback) const override {
        auto found = values_.find(Key(section, key));
        return found == values_.end() ? fallback : std::stoi(found->second);
    }
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override {
        values_[Key(section, key)] = std::string(value);
    }
    void WriteInt(std::string_view section, std::string_view key, int value) override {
        values_[Key(section, key)] = std::to_string(value);
    }

private:
    using Entry = std::pair<std::string, std::string>;
    static Entry Key(std::string_view section, std::string_view key) {
        return {std::string(section), std::string(key)};
    }
    std::map<Entry, std::string> values_;
};

}  // namespace qvi
