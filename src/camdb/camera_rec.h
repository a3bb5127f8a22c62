#pragma once

#include <memory>
#include <string>
#include <vector>

#include "system/plat_mod.h"

namespace qvi {

class QV_mod;

// One camera of the database: the text the database file holds for it and the
// platform object built from its configuration file, which fills a module's
// port parameters when the camera is chosen.
struct QV_camera_rec {
    std::string name;
    std::string configFile;   // relative to the database folder
    std::string validModule;  // a module key, e.g. "TX-10"
    std::string cablePartNumber;
    std::string comments;
    std::string validPorts;  // port digits separated by ",", e.g. "0,2"
    std::unique_ptr<QV_plat_mod> platMod;

    // The text fields alone; the copy has no platform object.
    QV_camera_rec CopyText() const;
};

// The cameras that suit one module key and one port, in database order. The
// records belong to the database; a list is rebuilt whenever they change.
class QV_camera_list {
public:
    QV_camera_list(std::string key, int port);

    void Add(QV_camera_rec *record);

    // Fills the module's parameters of this list's port from camera `index`.
    // An index equal to the count stands for camera 0. Returns 0, -1 for a
    // bad index (after a message), -2 for a camera without a platform object.
    int LoadCamera(int index, QV_mod &module) const;

    const std::string &Key() const { return key_; }
    int Port() const { return port_; }
    int Count() const { return static_cast<int>(records_.size()); }
    const std::vector<QV_camera_rec *> &Records() const { return records_; }
    const std::vector<std::string> &Names() const { return names_; }

private:
    std::string key_;
    int port_;
    std::vector<QV_camera_rec *> records_;
    std::vector<std::string> names_;
};

}  // namespace qvi
