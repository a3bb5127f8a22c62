// One camera of the database and the platform object built from its configuration file.
#include "camdb/camera_rec.h"

#include <utility>

#include "platform/ui.h"

namespace qvi {

QV_camera_rec QV_camera_rec::CopyText() const {
    return {name, configFile, validModule, cablePartNumber, comments, validPorts, nullptr};
}

QV_camera_list::QV_camera_list(std::string key, int port) : key_(std::move(key)), port_(port) {}

void QV_camera_list::Add(QV_camera_rec *record) {
    records_.push_back(record);
    names_.push_back(record->name);
}

int QV_camera_list::LoadCamera(int index, QV_mod &module) const {
    const int position = index == Count() ? 0 : index;
    if (position < 0 || position >= Count()) {
        ReportError(MessageText("invalid index: ", index,
                                " passed to LoadCamera() for camera list: ", key_, " port ",
                                port_));
        return -1;
    }
    QV_plat_mod *platMod = records_[static_cast<std::size_t>(position)]->platMod.get();
    if (platMod == nullptr) return -2;
    platMod->FillPortParams(module, port_);
    return 0;
}

}  // namespace qvi
