// The desktop's registry, kept in QSettings under the company "Corvath".
#include "gui/qt_app_registry.h"

namespace qvi {

namespace {

constexpr const char *kRecentSection = "Recent File List";

QString PathOf(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + "/" +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

QString RecentKey(std::size_t i) {
    return QString("%1/File%2").arg(kRecentSection).arg(i + 1);
}

}  // namespace

QtAppRegistry::QtAppRegistry() : settings_("Corvath", "QVI Configurator") {}

QtAppRegistry::QtAppRegistry(const QString &fileName) : settings_(fileName, QSettings::IniFormat) {}

std::string QtAppRegistry::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
    QVariant value = settings_.value(PathOf(section, key));
    return value.isValid() ? value.toString().toStdString() : std::string(fallback);
}

int QtAppRegistry::GetInt(std::string_view section, std::string_view key, int fallback) const {
    bool ok = false;
    const int value = settings_.value(PathOf(section, key)).toInt(&ok);
    return ok ? value : fallback;
}

void QtAppRegistry::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    settings_.setValue(PathOf(section, key),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QtAppRegistry::WriteInt(std::string_view section, std::string_view key, int value) {
    settings_.setValue(PathOf(section, key), value);
}

std::vector<std::string> QtRecentFiles::List() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        const QString name = settings_.value(RecentKey(i)).toString();
        if (!name.isEmpty()) names.push_back(name.toStdString());
    }
    return names;
}

void QtRecentFiles::Add(const std::string &name) {
    Store(PutFirst(List(), name, kRecentFileCount));
}

void QtRecentFiles::Remove(const std::string &name) {
    Store(Without(List(), name));
}

void QtRecentFiles::Store(const std::vector<std::string> &names) {
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        if (i < names.size())
            settings_.setValue(RecentKey(i), QString::fromStdString(names[i]));
        else
            settings_.remove(RecentKey(i));
    }
}

}  // namespace qvi
