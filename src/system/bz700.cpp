// The BZ-700 bus translator: its platform object and container.
#include "system/bz700.h"

#include <ostream>

#include "keys/model_tables.h"
#include "library/hardware.h"
#include "library/library_binding.h"
#include "system/table_params.h"

namespace qvi {

namespace {

constexpr int kAccessModeHandle = 3;

// The access mode goes to the library's flag rather than to a register.
class BZ700_access_param : public QV_choice_param {
public:
    using QV_choice_param::QV_choice_param;

    int ApplyToHardware() override {
        QV_plat_mod *owner = OwnerBoardOf(*this);
        if (owner == nullptr || owner->Binding() == nullptr || !HardwareEnabled()) return 0;
        auto setFlag = owner->Binding()->Entry<&::set_amcc_safe_access_flag>();
        return setFlag ? setFlag(GetRawValue().GetShort()) : 0;
    }
};

}  // namespace

BZ700_plat_mod::BZ700_plat_mod(LibraryBinding *binding, std::uint32_t handle)
    : QV_plat_mod("BZ700_plat_mod", binding, handle) {}

void BZ700_plat_mod::FillParams(QV_mod &container) {
    LibraryBinding *binding = Binding();
    auto getDelays = binding ? binding->Entry<&::bz700_get_delays>() : nullptr;
    std::int16_t delays[3] = {};
    if (getDelays) getDelays(Handle(), &delays[0], &delays[1], &delays[2]);
    for (int handle = 0; handle < 3; ++handle)
        container.SetParamFromCNF(handle, QV_param_val::S16(delays[handle]));
    auto getFlag = binding ? binding->Entry<&::get_amcc_safe_access_flag>() : nullptr;
    int flag = getFlag ? getFlag() : 1;
    container.SetParamFromCNF(kAccessModeHandle,
                              QV_param_val::S16(static_cast<std::int16_t>(flag)));
}

QV_bz700_mod::QV_bz700_mod(QV_plat_mod *ownerBoard) : QV_mod("BZ700", ownerBoard) {
    CreateModParams();
    BuildPageList();
}

void QV_bz700_mod::CreateModParams() {
    const keys::KeyRow *row = keys::FindHandle(keys::kBz700Table, kAccessModeHandle);
    if (row != nullptr) AddModParam(MakeChoice<BZ700_access_param>(*row, 1));
}

void QV_bz700_mod::WriteCFGSection(std::ostream &out) {
    out << "[BZ-700]\n";
    for (const auto &param : GetModParams()) out << "      " << param->GetCFGString() << "\n";
    if (NoHardwareMode()) out << "      No_Hardware\n";
}

}  // namespace qvi
