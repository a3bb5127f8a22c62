// The multi-channel SXA board and the camera channels it detects.
#include "modules/boards/sxa_board.h"

#include <ostream>

#include "keys/model_names.h"
#include "keys/model_tables.h"
#include "system/table_params.h"

namespace qvi {

namespace {

const keys::ModelTable &Table() {
    return keys::kSxaBoardTable;
}

}  // namespace

SXA_plat_mod::SXA_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_board_plat_mod(&keys::kSxaBoardTable, binding, handle, "SXA plat_mod") {}

// Without a specification the board has no channel.
std::vector<std::string> SXA_plat_mod::DetectModules() {
    const std::uint8_t *spec = Spec();
    const int channels = spec ? RecordU16(spec, keys::kBoardChannelsOffset) : 0;
    return std::vector<std::string>(static_cast<std::size_t>(channels),
                                    std::string(keys::kSxaChannelModel));
}

QV_sxa_board_mod::QV_sxa_board_mod(QV_plat_mod *platform)
    : QV_mod(std::string(Table().model), platform) {
    SetEditable(true);
    CreateModParams();
    BuildPageList();
}

void QV_sxa_board_mod::CreateModParams() {
    AddParamsFromTable(*this, Table());
}

void QV_sxa_board_mod::WriteCFGSection(std::ostream &out) {
    out << "[" << Table().section << ":" << GetInstance() << "]\n";
    for (const auto &param : GetModParams()) {
        WriteParamLine(out, param->GetCFGString(0));
    }
}

}  // namespace qvi
