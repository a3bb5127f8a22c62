// What a Module Setup dialog asks of the program: owner refresh, modified mark, row help.
#include "app/setup_host.h"

#include "keys/model_names.h"
#include "modules/boards/sxa_board.h"
#include "params/mod.h"
#include "system/board_plat_mod.h"
#include "system/config_state.h"
#include "system/plat_mod.h"

namespace qvi {

void ProgramSetupHost::RefreshOwner(QV_mod &module) {
    QV_plat_mod *platform = OwnerBoardOf(module);
    QV_plat_mod *board = platform ? platform->ParentBoard() : nullptr;
    if (auto *sxa = dynamic_cast<SXA_plat_mod *>(board);
        sxa != nullptr && platform->GetCategory() == QV_plat_mod::kCategoryCameraChannel)
        sxa->SetCurrentChannel(platform->GetSlot());
    if (auto *owner = dynamic_cast<QV_board_plat_mod *>(board)) owner->Refresh();
}

void ProgramSetupHost::MarkConfigChanged() {
    SetConfigModified(true);
}

bool ProgramSetupHost::HasRowHelp(const QV_mod &module) const {
    return module.GetName() == "TX-10" || module.GetName() == keys::kSxaChannelModel;
}

}  // namespace qvi
