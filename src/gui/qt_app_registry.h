#pragma once

#include <QSettings>

#include "app/recent_files.h"
#include "platform/app_registry.h"

namespace qvi {

// The desktop's registry: QSettings under the company "Corvath".
class QtAppRegistry : public AppRegistry {
public:
    QtAppRegistry();
    // A settings file of the test's own, so tests leave the user's alone.
    explicit QtAppRegistry(const QString &fileName);

    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback) const override;
    int GetInt(std::string_view section, std::string_view key, int fallback) const override;
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    void WriteInt(std::string_view section, std::string_view key, int value) override;

    QSettings &Settings() { return settings_; }

private:
    mutable QSettings settings_;
};

// The File menu's recent-file list kept in the registry ("Recent File List",
// "File1" to "File4").
class QtRecentFiles : public RecentFiles {
public:
    explicit QtRecentFiles(QSettings &settings) : settings_(settings) {}

    std::vector<std::string> List() const override;
    void Add(const std::string &name) override;
    void Remove(const std::string &name) override;

private:
    void Store(const std::vector<std::string> &names);

    QSettings &settings_;
};

}  // namespace qvi
