// A named list of rows shown as one tab of the Module Setup dialog.
#include "params/param_group.h"

#include "platform/ui.h"

namespace qvi {

QV_param_group::QV_param_group(std::string name, std::span<const int> ids,
                               const UsrParamList &usrParams)
    : name_(std::move(name)) {
    for (int id : ids) {
        QV_usr_param *found = nullptr;
        for (const auto &usrParam : usrParams) {
            if (usrParam->GetId() == id) {
                found = usrParam.get();
                break;
            }
        }
        if (found)
            usrParams_.push_back(found);
        else
            ReportError(MessageText("invalid ParamHandle: ", id,
                                    " passed to QV_param_group() ctor for param group: ", name_));
    }
}

void QV_param_group::InsertFront(QV_usr_param *usrParam) {
    if (usrParam) usrParams_.insert(usrParams_.begin(), usrParam);
}

}  // namespace qvi
