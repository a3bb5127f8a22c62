#pragma once

#include <span>
#include <string>
#include <vector>

#include "params/usr_param.h"

namespace qvi {

// A named list of a module's rows, shown as one tab of the Module Setup
// dialog. The module owns the rows; a row may stand in several groups.
class QV_param_group {
public:
    // Ids that name no row of the module are reported and left out.
    QV_param_group(std::string name, std::span<const int> ids, const UsrParamList &usrParams);

    const std::string &GetName() const { return name_; }
    const std::vector<QV_usr_param *> &GetUsrParams() const { return usrParams_; }
    int Size() const { return static_cast<int>(usrParams_.size()); }
    // Puts the page selector in front of the rows.
    void InsertFront(QV_usr_param *usrParam);

private:
    std::string name_;
    std::vector<QV_usr_param *> usrParams_;
};

}  // namespace qvi
