// The platform object and container of an acquisition module with four camera ports.
#include "modules/acquisition/four_port.h"

#include <cstring>
#include <ostream>

#include "library/library_binding.h"
#include "system/table_params.h"

namespace qvi {

// ---- the platform object -------------------------------------------------------

QV_four_port_plat_mod::QV_four_port_plat_mod(std::string className, const keys::ModelTable &table,
                                             LibraryBinding *binding, std::uint32_t handle,
                                             std::string_view libraryPrefix)
    : QV_acq_plat_mod(std::move(className), binding, handle, libraryPrefix), table_(table) {}

std::size_t QV_four_port_plat_mod::ReferenceOffset(int port) const {
    const keys::Layout &layout = table_.layout;
    return static_cast<std::size_t>(layout.cameraRefOffset + port * layout.cameraRefStride);
}

std::uint8_t *QV_four_port_plat_mod::PortCamera(int port) const {
    const std::uint8_t *spec = Spec();
    if (spec == nullptr || port < 0 || port >= kPorts) return nullptr;
    return Deref(RecordU32(spec, ReferenceOffset(port)));
}

std::int16_t QV_four_port_plat_mod::SpecS16(std::size_t offset) const {
    return RecordS16(Spec(), offset);
}

void QV_four_port_plat_mod::CopyCameraConfig() {
    for (int port = 0; port < kPorts; ++port) CopyCameraAt(ReferenceOffset(port));
}

// Another model's specification has its references elsewhere: only a module
// of the same model takes the copy.
void QV_four_port_plat_mod::CopyPortCameraTo(const QV_mod &container, int port,
                                             std::size_t bytes) const {
    const auto *owner = dynamic_cast<const QV_four_port_plat_mod *>(OwnerBoardOf(container));
    if (owner == nullptr || owner == this || &owner->Table() != &table_) return;
    std::uint8_t *target = owner->PortCamera(port);
    const std::uint8_t *source = PortCamera(port);
    if (target != nullptr && source != nullptr && target != source)
        std::memcpy(target, source, bytes);
}

void QV_four_port_plat_mod::FillPortFromTable(QV_mod &container, int port) const {
    for (const keys::KeyRow &row : table_.keys) {
        if (!row.perPort || row.location.record == keys::Record::None) continue;
        container.SetParamFromCNF(port, row.handle, ReadKeyValue(*this, table_, row, port));
    }
}

// ---- the container ----------------------------------------------------------------

QV_four_port_mod::QV_four_port_mod(QV_plat_mod *platform, const keys::ModelTable &table,
                                   int nameHandle)
    : QV_mod(platform ? platform->GetName() : std::string(table.model), platform),
      table_(table),
      nameHandle_(nameHandle) {
    SetSlot(platform ? platform->GetSlot() : 0);
    SetEditable(true);
}

void QV_four_port_mod::AddTableParams(const ParamMaker &own) {
    AddParamsFromTable(*this, table_, own);
    for (const keys::KeyRow &row : table_.keys)
        if (row.location.record == keys::Record::None) DisableModParam(row.handle);
}

// A module-wide key may still keep a value per port (the TX-70's board type):
// the key table decides where its line goes.
bool QV_four_port_mod::IsModuleWide(const QV_mod_param &param) const {
    const keys::KeyRow *row = keys::FindHandle(table_, param.GetHandle());
    return row != nullptr && !row->perPort;
}

void QV_four_port_mod::WriteCFGSection(std::ostream &out) {
    out << "[" << table_.section << ":" << GetInstance() << "]\n";
    out << kIndent << "Slot_Number = " << GetSlot() << "\n";
    for (const auto &param : GetModParams())
        if (IsModuleWide(*param)) WriteParamLine(out, param->GetCFGString(0));
    for (int port = 0; port < QV_four_port_plat_mod::kPorts; ++port) WritePortLines(out, port);
}

void QV_four_port_mod::WritePortLines(std::ostream &out, int port) {
    out << "[CameraPort:" << port << "]\n";
    PreparePortLines(port);
    for (const auto &param : GetModParams()) {
        if (IsModuleWide(*param)) continue;
        const std::string line = param->GetCFGString(port);
        const bool isName = param->GetHandle() == nameHandle_;
        if (line.empty() && !isName) continue;
        out << kIndent << line << "\n";
        if (isName) out << kIndent << "Camera_Structure = Create_Structure\n";
        WriteAfterPortLine(out, *param);
    }
}

}  // namespace qvi
