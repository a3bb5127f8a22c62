// The camera row: the database's cameras for a module and port, and applying the chosen one.
#include "params/camera_list.h"

#include <algorithm>

#include "params/mod.h"
#include "params/mod_param.h"
#include "platform/ui.h"

namespace qvi {

namespace {
CameraList *installedList = nullptr;
}  // namespace

CameraList *CurrentCameraList() {
    return installedList;
}

void InstallCameraList(CameraList *list) {
    installedList = list;
}

QV_camera_usr_param::QV_camera_usr_param(std::string label, int id, const ParamList &params,
                                         int handle, std::string moduleKey, int port)
    : QV_choice_usr_param(std::move(label), id, params, handle, {}),
      moduleKey_(std::move(moduleKey)),
      port_(port) {}

void QV_camera_usr_param::Refresh() {
    std::string currentName = GetParam() ? GetParam()->GetUIValue(port_).ToString() : std::string();
    std::vector<std::string> names;
    if (CameraList *list = CurrentCameraList()) names = list->CameraNames(moduleKey_, port_);
    savedIndex_ = -1;
    auto found = std::find(names.begin(), names.end(), currentName);
    if (found != names.end()) {
        currentIndex_ = static_cast<int>(found - names.begin());
    } else {
        names.push_back(currentName);
        currentIndex_ = savedIndex_ = static_cast<int>(names.size()) - 1;
    }
    SetLabels(std::move(names));
}

int QV_camera_usr_param::SetIndex(int index) {
    if (!IsValidIndex(index, "SetIndex")) return -1;
    WaitCursor wait;
    QV_mod *module = GetModule();
    if (index == savedIndex_) {
        if (module) module->Revert(port_);
    } else if (CameraList *list = CurrentCameraList(); list && module) {
        list->ApplyCamera(moduleKey_, port_, index, *module, nullptr);
        list->ApplyCamera(moduleKey_, port_, index, *module, module->GetOwner());
    }
    currentIndex_ = index;
    return kRedrawRows;
}

}  // namespace qvi
