// The DQ-500 row that sets the board's video-bus role, master or slave.
#include "modules/boards/video_bus.h"

#include "params/mod.h"
#include "platform/ui.h"
#include "system/system.h"

namespace qvi {

namespace {

constexpr const char *kMultipleMasters =
    "Multiple DQP video bus masters detected. Only one master is allowed per video bus. Are the "
    "DQPs on the same video bus? Yes will set one DQP to master and the other DQP(s) to slave(s)";
constexpr const char *kCaption = "Warning";

// The role row of the board at element i; null when the element holds none.
QV_usr_param *RoleRow(const QV_system &system, int element) {
    QV_mod *module = system.GetModule(element);
    return module ? module->GetUsrParam(kVideoBusRowId) : nullptr;
}

}  // namespace

// The role is read from the row's position rather than the stored value: the
// key table stores a master as 1, the row lists the master first.
int CheckVideoBusMasters(QV_system &system, const std::vector<int> &dq500Elements) {
    if (dq500Elements.size() < 2) return 0;
    std::vector<QV_usr_param *> masters;
    for (int element : dq500Elements) {
        QV_usr_param *row = RoleRow(system, element);
        if (row && row->GetIndex() == kVideoBusMasterIndex) masters.push_back(row);
    }
    if (masters.size() < 2) return 0;
    if (CurrentUi().Ask(kMultipleMasters, MessageButtons::YesNo, MessageKind::Information,
                        kCaption) != MessageAnswer::Yes)
        return 0;
    int changed = 0;
    for (std::size_t i = 1; i < masters.size(); ++i)
        if (masters[i]->SetIndex(kVideoBusSlaveIndex) >= 0) ++changed;
    return changed;
}

}  // namespace qvi
