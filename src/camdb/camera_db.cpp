// The list of known cameras, the lists per module key and port, and applying a camera to a port.
#include "camdb/camera_db.h"

#include <array>
#include <utility>

#include "camdb/camera_db_file.h"
#include "keys/model_names.h"
#include "library/hardware.h"
#include "platform/profile.h"
#include "platform/replace_file.h"
#include "platform/ui.h"

namespace qvi {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 8> kModuleKeys = {"TX-10", "TX-40", "TX-70", "SXA",
                                                         "TX-20", "TX-50", "TX-31", "TX-60"};

// The pairs that have a camera list: these keys for ports 0 to portCount - 1.
struct ListPorts {
    std::string_view key;
    int portCount;
};
constexpr std::array<ListPorts, 9> kListPorts = {{{"TX-20", 4},
                                                  {"TX-50", 4},
                                                  {"TX-31", 4},
                                                  {"TX-70", 4},
                                                  {"TX-71", 4},
                                                  {"TX-10", 4},
                                                  {"TX-40", 1},
                                                  {"TX-60", 1},
                                                  {"SXA", 1}}};

// The library model a camera's configuration is built for.
std::string ModelFor(const std::string &validModule) {
    if (validModule == "TX-71") return "TX-70";
    if (validModule == "SXA") return std::string(keys::kSxaChannelModel);
    return validModule;
}

}  // namespace

QV_camera_db::QV_camera_db(fs::path configDir, fs::path databaseSubDir, PlatModBuilder builder)
    : configDir_(std::move(configDir)),
      databaseSubDir_(std::move(databaseSubDir)),
      builder_(std::move(builder)) {}

QV_camera_db::~QV_camera_db() {
    if (CurrentCameraList() == this) InstallCameraList(nullptr);
}

int QV_camera_db::Load(const fs::path &file) {
    Clear();
    const Profile profile(file);
    const std::optional<int> count = ReadCameraCount(profile);
    if (!count) return -1;
    for (int i = 0; i < *count; ++i) {
        if (!HasCameraSection(profile, i)) {
            ReportMissingCameras(profile, *count, i, records_.size());
            break;
        }
        std::optional<QV_camera_rec> record = ReadCameraText(profile, i);
        if (!record) continue;
        record->platMod = BuildPlatMod(*record);
        if (record->platMod == nullptr) continue;
        records_.push_back(std::make_unique<QV_camera_rec>(std::move(*record)));
    }
    BuildLists();
    return 0;
}

int QV_camera_db::Save(const fs::path &file) const {
    std::string why;
    if (ReplaceFileContent(file, DatabaseText(records_), &why)) return 0;
    ReportError(MessageText("Could not write camera database file: ", file.string(), "\n", why));
    return -1;
}

bool QV_camera_db::Suits(const QV_camera_rec &record, std::string_view key, int port) {
    return record.validModule == key &&
           record.validPorts.find(std::to_string(port)) != std::string::npos;
}

QV_camera_list *QV_camera_db::GetCameraList(std::string_view key, int port) {
    for (QV_camera_list &list : lists_)
        if (list.Key() == key && list.Port() == port) return &list;
    return nullptr;
}

bool QV_camera_db::Duplicate(int index) {
    if (!IsValidIndex(index, "Duplicate")) return false;
    auto copy =
        std::make_unique<QV_camera_rec>(records_[static_cast<std::size_t>(index)]->CopyText());
    copy->name += "(dup)";
    copy->platMod = BuildPlatMod(*copy);
    records_.insert(records_.begin() + index, std::move(copy));
    BuildLists();
    return true;
}

bool QV_camera_db::Delete(int index) {
    if (!IsValidIndex(index, "Delete")) return false;
    records_.erase(records_.begin() + index);
    BuildLists();
    return true;
}

bool QV_camera_db::Rename(int index, std::string name) {
    if (!IsValidIndex(index, "Rename")) return false;
    if (name.size() > kMaxNameLength) {
        ReportError("Name is too long, 19 character max");
        return false;
    }
    records_[static_cast<std::size_t>(index)]->name = std::move(name);
    BuildLists();
    return true;
}

bool QV_camera_db::StoreDetails(int index, const QV_camera_rec &shown) {
    if (!IsValidIndex(index, "StoreDetails")) return false;
    QV_camera_rec &record = *records_[static_cast<std::size_t>(index)];
    const bool rebuild =
        record.configFile != shown.configFile || record.validModule != shown.validModule;
    record.configFile = shown.configFile;
    record.validModule = shown.validModule;
    record.cablePartNumber = shown.cablePartNumber;
    record.comments = shown.comments;
    record.validPorts = shown.validPorts;
    if (rebuild) record.platMod = BuildPlatMod(record);
    BuildLists();
    return true;
}

std::vector<std::string> QV_camera_db::GetNames() const {
    std::vector<std::string> names;
    names.reserve(records_.size());
    for (const auto &record : records_) names.push_back(record->name);
    return names;
}

const QV_camera_rec *QV_camera_db::GetRecord(int index) const {
    if (!IsValidIndex(index, "GetRecord")) return nullptr;
    return records_[static_cast<std::size_t>(index)].get();
}

fs::path QV_camera_db::DatabaseFolder() const {
    return configDir_ / databaseSubDir_;
}

std::span<const std::string_view> QV_camera_db::ModuleKeys() {
    return kModuleKeys;
}

std::vector<std::string> QV_camera_db::CameraNames(std::string_view moduleKey, int port) {
    const QV_camera_list *list = GetCameraList(moduleKey, port);
    return list ? list->Names() : std::vector<std::string>{};
}

int QV_camera_db::ApplyCamera(std::string_view moduleKey, int port, int index, QV_mod &module,
                              ParamOwner *owner) {
    const QV_camera_list *list = GetCameraList(moduleKey, port);
    if (list == nullptr) {
        ReportError(MessageText("no camera list for module: ", moduleKey, " port ", port,
                                " passed to ApplyCamera()"));
        return -1;
    }
    if (owner != nullptr) return list->LoadCamera(index, module);
    HardwareWritesSuppressed valuesOnly;
    return list->LoadCamera(index, module);
}

// The configuration file name is taken as relative to the database folder
// even when it starts with a separator.
std::unique_ptr<QV_plat_mod> QV_camera_db::BuildPlatMod(const QV_camera_rec &record) const {
    if (!builder_) return nullptr;
    const fs::path file = DatabaseFolder() / fs::path(record.configFile).relative_path();
    return builder_(file, ModelFor(record.validModule));
}

bool QV_camera_db::IsValidIndex(int index, std::string_view operation) const {
    if (index >= 0 && index < Count()) return true;
    ReportError(
        MessageText("invalid index: ", index, " passed to ", operation, "() for camera database"));
    return false;
}

void QV_camera_db::BuildLists() {
    lists_.clear();
    for (const ListPorts &pair : kListPorts) {
        for (int port = 0; port < pair.portCount; ++port) {
            QV_camera_list &list = lists_.emplace_back(std::string(pair.key), port);
            for (const auto &record : records_)
                if (Suits(*record, pair.key, port)) list.Add(record.get());
        }
    }
}

void QV_camera_db::Clear() {
    lists_.clear();
    records_.clear();
}

}  // namespace qvi
