// The Camera Database dialog's logic: showing, storing, copying, renaming, deleting cameras.
#include "camdb/camera_db_editor.h"

#include <algorithm>
#include <utility>

#include "platform/ui.h"

namespace qvi {

namespace fs = std::filesystem;

CameraDbEditor::CameraDbEditor(std::unique_ptr<QV_camera_db> workingCopy, fs::path databaseFile)
    : db_(std::move(workingCopy)), databaseFile_(std::move(databaseFile)) {}

int CameraDbEditor::Open() {
    const int result = db_->Load(databaseFile_);
    selection_ = 0;
    return result;
}

std::string CameraDbEditor::SelectedName() const {
    return HasSelection() ? db_->GetRecord(selection_)->name : std::string();
}

CameraFields CameraDbEditor::Show(int index) const {
    CameraFields fields;
    if (index < 0 || index >= db_->Count()) return fields;
    const QV_camera_rec &record = *db_->GetRecord(index);
    fields.configFile = record.configFile;
    fields.cablePartNumber = record.cablePartNumber;
    fields.comments = record.comments;
    const auto keys = QV_camera_db::ModuleKeys();
    const auto found = std::find(keys.begin(), keys.end(), record.validModule);
    if (found != keys.end()) fields.moduleIndex = static_cast<int>(found - keys.begin());
    for (std::size_t port = 0; port < fields.ports.size(); ++port)
        fields.ports[port] = record.validPorts.find(std::to_string(port)) != std::string::npos;
    return fields;
}

void CameraDbEditor::Store(const CameraFields &shown) {
    if (!HasSelection()) return;
    QV_camera_rec record = db_->GetRecord(selection_)->CopyText();
    record.configFile = shown.configFile;
    record.cablePartNumber = shown.cablePartNumber;
    record.comments = shown.comments;
    const auto keys = QV_camera_db::ModuleKeys();
    if (shown.moduleIndex >= 0 && shown.moduleIndex < static_cast<int>(keys.size()))
        record.validModule = keys[static_cast<std::size_t>(shown.moduleIndex)];
    record.validPorts.clear();
    for (std::size_t port = 0; port < shown.ports.size(); ++port) {
        if (!shown.ports[port]) continue;
        if (!record.validPorts.empty()) record.validPorts += ",";
        record.validPorts += std::to_string(port);
    }
    db_->StoreDetails(selection_, record);
}

void CameraDbEditor::Select(int index) {
    if (index >= 0 && index < db_->Count()) selection_ = index;
}

void CameraDbEditor::TickAll(CameraFields &shown) {
    shown.ports.fill(true);
}

bool CameraDbEditor::Duplicate() {
    return db_->Duplicate(selection_);
}

bool CameraDbEditor::Delete() {
    Ui &ui = CurrentUi();
    if (db_->Count() <= 1) {
        ui.Ask("Can't delete last camera", MessageButtons::Ok, MessageKind::Error, "Error");
        return false;
    }
    if (ui.Ask("Are you sure you want to delete this camera", MessageButtons::OkCancel,
               MessageKind::Warning, "Warning") != MessageAnswer::Ok)
        return false;
    if (!db_->Delete(selection_)) return false;
    if (selection_ >= db_->Count()) selection_ = db_->Count() - 1;
    return true;
}

bool CameraDbEditor::Rename(const std::string &name) {
    return db_->Rename(selection_, name);
}

namespace {

// A folder as the file system finds it: absolute, links followed.
fs::path ResolvedFolder(const fs::path &folder) {
    std::error_code error;
    fs::path absolute = fs::absolute(folder, error);
    if (error) return folder.lexically_normal();
    fs::path resolved = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : resolved;
}

}  // namespace

// The chosen file itself may be a link; only the folders are resolved, so
// the database names the file the user picked.
std::string CameraConfigFileEntry(const fs::path &chosen, const fs::path &databaseFolder) {
    const fs::path file = ResolvedFolder(chosen.parent_path()) / chosen.filename();
    const fs::path entry = file.lexically_relative(ResolvedFolder(databaseFolder));
    return entry.empty() ? chosen.filename().string() : entry.generic_string();
}

std::optional<std::string> CameraDbEditor::ChooseConfigFile() const {
    const std::optional<fs::path> chosen = CurrentUi().OpenFileDialog(
        "Select", {{"Binary Cfg Files", "*.cnf"}}, db_->DatabaseFolder());
    if (!chosen) return std::nullopt;
    return CameraConfigFileEntry(*chosen, db_->DatabaseFolder());
}

int CameraDbEditor::Accept(const CameraFields &shown) {
    Store(shown);
    return db_->Save(databaseFile_) == 0 ? kClosedOk : 0;
}

int CameraDbEditor::Reject() {
    return kClosedCancel;
}

}  // namespace qvi
