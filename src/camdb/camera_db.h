#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "camdb/camera_rec.h"
#include "params/camera_list.h"

namespace qvi {

// The program's list of known cameras, loaded from and saved to the camera
// database file, and the camera lists per module key and port that the camera
// rows of the modules choose from. Every change to the records rebuilds the
// lists, so a list pointer stays good only until the next change. Bad indices
// are reported and change nothing.
class QV_camera_db : public CameraList {
public:
    // Builds a camera's platform object from its configuration file for a
    // library model name; null when it cannot (the builder says why).
    using PlatModBuilder = std::function<std::unique_ptr<QV_plat_mod>(
        const std::filesystem::path &configFile, const std::string &model)>;

    static constexpr std::size_t kMaxNameLength = 19;

    QV_camera_db(std::filesystem::path configDir, std::filesystem::path databaseSubDir,
                 PlatModBuilder builder);
    // Takes itself out of the camera rows' reach when it is the installed list.
    ~QV_camera_db() override;
    QV_camera_db(const QV_camera_db &) = delete;
    QV_camera_db &operator=(const QV_camera_db &) = delete;

    // Replaces the database with the file's cameras. A camera with a missing
    // key or without a platform object is left out; a missing camera count
    // leaves the database empty and returns -1, otherwise the result is 0.
    int Load(const std::filesystem::path &file);
    // Writes the whole file, replacing the old one only once the new one is
    // complete. Returns 0, or -1 after a message naming the file.
    int Save(const std::filesystem::path &file) const;

    // The record's module is the key exactly and its ports hold the port's digit.
    static bool Suits(const QV_camera_rec &record, std::string_view key, int port);
    // The list for the pair; null for a pair that has none.
    QV_camera_list *GetCameraList(std::string_view key, int port);

    // Inserts at `index` a copy named "<name>(dup)" with a platform object of
    // its own; the original moves to index + 1.
    bool Duplicate(int index);
    bool Delete(int index);
    // Refuses a name longer than kMaxNameLength with a message.
    bool Rename(int index, std::string name);
    // Takes everything but the name and the platform object from `shown`; the
    // platform object is built afresh when the file or the module changed.
    bool StoreDetails(int index, const QV_camera_rec &shown);

    std::vector<std::string> GetNames() const;
    int Count() const { return static_cast<int>(records_.size()); }
    // Null after a message for a bad index.
    const QV_camera_rec *GetRecord(int index) const;
    // Where the cameras' configuration files are.
    std::filesystem::path DatabaseFolder() const;
    // The module keys a camera can be made valid for, in the dialog's order.
    static std::span<const std::string_view> ModuleKeys();

    // For the camera rows: the names of the pair's list, empty without one.
    std::vector<std::string> CameraNames(std::string_view moduleKey, int port) override;
    // Fills the module's port from camera `index` of the pair's list. The camera
    // row calls this twice: first without the owner board, which only sets the
    // module's values (no register is written), then with it, which sets them
    // again and writes the port's registers as the module normally does.
    int ApplyCamera(std::string_view moduleKey, int port, int index, QV_mod &module,
                    ParamOwner *owner) override;

private:
    std::unique_ptr<QV_plat_mod> BuildPlatMod(const QV_camera_rec &record) const;
    bool IsValidIndex(int index, std::string_view operation) const;
    void BuildLists();
    void Clear();

    std::filesystem::path configDir_;
    std::filesystem::path databaseSubDir_;
    PlatModBuilder builder_;
    std::vector<std::unique_ptr<QV_camera_rec>> records_;
    std::vector<QV_camera_list> lists_;
};

}  // namespace qvi
