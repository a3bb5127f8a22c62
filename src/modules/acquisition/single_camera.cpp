// The platform object and container of an acquisition module with one camera (TX-40, TX-60).
#include "modules/acquisition/single_camera.h"

#include <cstring>
#include <ostream>

#include "system/table_params.h"

namespace qvi {

// ---- the platform object -------------------------------------------------------

QV_single_camera_plat_mod::QV_single_camera_plat_mod(std::string className,
                                                     const keys::ModelTable &table,
                                                     LibraryBinding *binding, std::uint32_t handle,
                                                     std::string_view libraryPrefix)
    : QV_acq_plat_mod(std::move(className), binding, handle, libraryPrefix), table_(table) {
    const std::uint8_t *record = Spec();
    const int offset = table_.layout.currentCameraRefOffset;
    if (record != nullptr && offset >= 0)
        specReference_ = RecordU32(record, static_cast<std::size_t>(offset));
}

void QV_single_camera_plat_mod::FillParams(QV_mod &container) {
    if (Spec() == nullptr) return;
    CopyCameraTo(container);
    for (const keys::KeyRow &row : table_.keys)
        container.SetParamFromCNF(0, row.handle, ValueOf(row));
}

void QV_single_camera_plat_mod::FillPortParams(QV_mod &container, int) {
    FillParams(container);
}

QV_param_val QV_single_camera_plat_mod::ValueOf(const keys::KeyRow &row) const {
    return ReadKeyValue(*this, table_, row, 0);
}

// Another model keeps other fields at the same bytes: only a module of the
// same model takes the copy.
void QV_single_camera_plat_mod::CopyCameraTo(const QV_mod &container) const {
    const auto *owner = dynamic_cast<const QV_single_camera_plat_mod *>(OwnerBoardOf(container));
    if (owner == nullptr || owner == this || &owner->Table() != &table_) return;
    std::uint8_t *target = owner->MutableSpec();
    const std::uint8_t *source = Spec();
    if (target != nullptr && source != nullptr && target != source)
        std::memcpy(target, source, table_.layout.cameraSize);
}

void QV_single_camera_plat_mod::CopyCameraConfig() {
    if (table_.layout.currentCameraRefOffset < 0 || specReference_ == 0) return;
    CopyCameraInto(specReference_, static_cast<std::size_t>(table_.layout.currentCameraRefOffset));
}

std::uint8_t *QV_single_camera_plat_mod::CurrentCamera() const {
    const std::uint8_t *record = Spec();
    const int offset = table_.layout.currentCameraRefOffset;
    if (record == nullptr || offset < 0) return nullptr;
    return Deref(RecordU32(record, static_cast<std::size_t>(offset)));
}

void QV_single_camera_plat_mod::StoreInCurrentCamera(std::size_t offset, std::int16_t value) const {
    std::uint8_t *camera = CurrentCamera();
    if (camera == nullptr || offset + 2 > table_.layout.cameraSize) return;
    const auto bits = static_cast<std::uint16_t>(value);
    camera[offset] = static_cast<std::uint8_t>(bits & 0xFFu);
    camera[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

std::int16_t QV_single_camera_plat_mod::StoredValue(int handle) const {
    const QV_mod *container = Module();
    const QV_mod_param *param = container ? container->GetModParam(handle) : nullptr;
    return param ? param->GetRawValue().GetShort() : std::int16_t{0};
}

// ---- the container ----------------------------------------------------------------

QV_single_camera_mod::QV_single_camera_mod(QV_plat_mod *platform, const keys::ModelTable &table,
                                           int nameHandle)
    : QV_mod(platform ? platform->GetName() : std::string(table.model), platform),
      table_(table),
      nameHandle_(nameHandle) {
    SetSlot(platform ? platform->GetSlot() : 0);
    SetEditable(true);
}

void QV_single_camera_mod::WriteCFGSection(std::ostream &out) {
    out << "[" << table_.section << ":" << GetInstance() << "]\n";
    out << kIndent << "Slot_Number = " << GetSlot() << "\n";
    for (const auto &param : GetModParams()) {
        WriteParamLine(out, param->GetCFGString());
        if (param->GetHandle() == nameHandle_)
            out << kIndent << "Camera_Structure = Create_Structure\n";
    }
}

}  // namespace qvi
