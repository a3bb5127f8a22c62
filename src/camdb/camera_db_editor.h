#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "camdb/camera_db.h"

namespace qvi {

// What the "Selected Camera Info" frame of the Camera Database dialog shows
// for one camera.
struct CameraFields {
    std::string configFile;
    std::string cablePartNumber;
    std::string comments;
    // Position of the camera's module in QV_camera_db::ModuleKeys(); -1 when
    // the module is not one the drop-down offers (such as "TX-71").
    int moduleIndex = -1;
    std::array<bool, 4> ports{};  // ticked when the valid ports hold the digit

    bool operator==(const CameraFields &) const = default;
};

// A camera's configuration file as the database file names it: relative to
// the database folder, keeping the folders in between ("cameras/x.cnf"), or
// climbing out of it ("../x.cnf") for a file elsewhere.
std::string CameraConfigFileEntry(const std::filesystem::path &chosen,
                                  const std::filesystem::path &databaseFolder);

// The Camera Database dialog without its widgets. It edits a working copy of
// the database read from the database file, never the program's own database
// (which the camera rows choose from): the file changes only on OK, and the
// program reloads its database from it afterwards.
class CameraDbEditor {
public:
    // How the dialog ended, as posted to the window that opened it.
    static constexpr int kClosedOk = 1;
    static constexpr int kClosedCancel = 2;

    // `workingCopy` is a new database that nothing else uses or has installed.
    CameraDbEditor(std::unique_ptr<QV_camera_db> workingCopy, std::filesystem::path databaseFile);

    // Loads the working copy from the database file and selects camera 0.
    // Returns the load's result (-1: the file has no camera count).
    int Open();

    std::vector<std::string> Names() const { return db_->GetNames(); }
    int Count() const { return db_->Count(); }
    int Selection() const { return selection_; }
    std::string SelectedName() const;

    // The fields of camera `index`; empty fields for an index without a camera.
    CameraFields Show(int index) const;
    // Writes the shown fields back to the selected camera. The ports are
    // rebuilt as the ticked digits in order, joined by ",". A camera whose
    // module the drop-down cannot show keeps it while nothing is chosen.
    void Store(const CameraFields &shown);
    // Makes `index` the selected camera (store the shown one first).
    void Select(int index);

    // The "All" button: every port ticked.
    static void TickAll(CameraFields &shown);

    // Inserts a copy of the selected camera in its place; the selection index
    // stays, so it now names the copy.
    bool Duplicate();
    // Refuses to delete the only camera, asks before deleting any other, and
    // moves the selection up when the last camera went. True when deleted.
    bool Delete();
    // False, after the message, for a name that is too long.
    bool Rename(const std::string &name);

    // "Select...": the chosen file as the database names it (see
    // CameraConfigFileEntry); nothing when the file dialog was cancelled.
    std::optional<std::string> ChooseConfigFile() const;

    // OK: stores the shown camera and saves the working copy to the database
    // file. Returns kClosedOk, or 0 when the file could not be written (the
    // message has been shown and the dialog stays open so nothing is lost).
    int Accept(const CameraFields &shown);
    // Cancel: the working copy is dropped unsaved.
    int Reject();

    const QV_camera_db &WorkingCopy() const { return *db_; }

private:
    bool HasSelection() const { return selection_ >= 0 && selection_ < db_->Count(); }

    std::unique_ptr<QV_camera_db> db_;
    std::filesystem::path databaseFile_;
    int selection_ = 0;
};

}  // namespace qvi
