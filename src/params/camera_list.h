#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "params/usr_param.h"

namespace qvi {

class QV_mod;
class ParamOwner;

// What a camera row needs of the camera database: the names of the cameras
// that suit a module-type key and a port, in database order, and applying one
// of them to a module (once without the owner board, once with it).
class CameraList {
public:
    virtual ~CameraList() = default;
    virtual std::vector<std::string> CameraNames(std::string_view moduleKey, int port) = 0;
    virtual int ApplyCamera(std::string_view moduleKey, int port, int index, QV_mod &module,
                            ParamOwner *owner) = 0;
};

// The camera database the program has loaded; null before one is.
CameraList *CurrentCameraList();
void InstallCameraList(CameraList *list);

// The camera selector of a module port: lists the cameras that suit the
// module and applies the chosen one. An entry for the module's own camera
// name is appended when the database has none of that name; choosing it
// restores the values the port had.
class QV_camera_usr_param : public QV_choice_usr_param {
public:
    QV_camera_usr_param(std::string label, int id, const ParamList &params, int handle,
                        std::string moduleKey, int port);

    void Refresh() override;
    int SetIndex(int index) override;
    int GetIndex() override { return currentIndex_; }

    const std::string &ModuleKey() const { return moduleKey_; }
    int Port() const { return port_; }
    int SavedIndex() const { return savedIndex_; }

private:
    std::string moduleKey_;
    int port_;
    int currentIndex_ = -1;
    int savedIndex_ = -1;
};

}  // namespace qvi
