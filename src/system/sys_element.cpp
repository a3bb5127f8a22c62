// One element of the system: a system, a board, a module, a camera channel or an empty slot.
#include "system/sys_element.h"

#include <cstdio>
#include <ostream>

#include "params/mod.h"
#include "system/mod_factory.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {

// The modules a board records as its acquisition module: the TX models.
bool IsAcquisitionModel(const QV_plat_mod *platform) {
    return platform != nullptr && platform->GetName().rfind("TX", 0) == 0;
}

std::string Format(const char *format, int number) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, number);
    return buffer;
}

std::string EmptyText(int slot) {
    return slot < 0 ? std::string(" ") : Format("    slot %d - empty", slot);
}

}  // namespace

QV_sys_element::QV_sys_element(int systemNumber)
    : type_("SYSTEM"), number_(systemNumber), text_(Format("System:%d", systemNumber)) {}

QV_sys_element::QV_sys_element(int owner, int slot)
    : type_("EMPTY"), owner_(owner), slot_(slot), text_(EmptyText(slot)) {}

QV_sys_element::QV_sys_element(std::unique_ptr<QV_plat_mod> platform, QV_mod_factory &factory)
    : ownedPlatform_(std::move(platform)), platform_(ownedPlatform_.get()) {
    if (platform_ == nullptr) {
        type_ = "EMPTY";
        text_ = EmptyText(-1);
        return;
    }
    if (platform_->Module() == nullptr) {
        module_ = factory.CreateMod(*platform_);
        platform_->SetModule(module_.get());
    }
    TakeFromPlatform();
}

QV_sys_element::QV_sys_element(std::unique_ptr<QV_mod> module) : module_(std::move(module)) {
    platform_ = module_ ? OwnerBoardOf(*module_) : nullptr;
    TakeFromPlatform();
}

QV_sys_element::~QV_sys_element() {
    if (platform_ && platform_->Module() == module_.get()) platform_->SetModule(nullptr);
    module_.reset();
    DropOwnedPlatform();
}

// The factory's shared defaults are never deleted here.
void QV_sys_element::DropOwnedPlatform() {
    if (ownedPlatform_ && ownedPlatform_->IsShared()) static_cast<void>(ownedPlatform_.release());
    ownedPlatform_.reset();
}

void QV_sys_element::TakeFromPlatform() {
    if (platform_ == nullptr) {
        type_ = "EMPTY";
        text_ = EmptyText(slot_);
        return;
    }
    name_ = platform_->GetName();
    // A container the factory numbered carries its own instance and slot.
    number_ = module_ ? module_->GetInstance() : platform_->GetInstance();
    slot_ = module_ ? module_->GetSlot() : platform_->GetSlot();
    SetTypeAndText(platform_->GetCategory());
}

void QV_sys_element::SetTypeAndText(int category) {
    switch (category) {
        case QV_plat_mod::kCategoryBoard:
            type_ = "MBOARD";
            text_ = "  " + name_ + ":" + std::to_string(number_);
            break;
        case QV_plat_mod::kCategorySlotModule:
            type_ = "DBOARD";
            text_ =
                "    slot " + std::to_string(slot_) + " - " + name_ + ":" + std::to_string(number_);
            break;
        case QV_plat_mod::kCategoryCameraChannel:
            type_ = "VBOARD";
            text_ = Format("    Channel %d", slot_);
            break;
        default:
            type_ = "XBOARD";
            text_ = name_;
            break;
    }
}

void QV_sys_element::Rebind(std::unique_ptr<QV_mod> module) {
    const QV_plat_mod *old = platform_;
    QV_plat_mod *board = old ? old->ParentBoard() : nullptr;
    if (platform_ && platform_->Module() == module_.get()) platform_->SetModule(nullptr);
    module_ = std::move(module);  // the old module goes before the object it wrote through
    platform_ = module_ ? OwnerBoardOf(*module_) : nullptr;
    // The board must not keep naming the object about to be deleted.
    if (board) board->ReplaceModule(old, IsAcquisitionModel(platform_) ? platform_ : nullptr);
    DropOwnedPlatform();
    if (module_) module_->SetSlot(slot_);
    const int slot = slot_;
    TakeFromPlatform();
    slot_ = slot;
    if (platform_) SetTypeAndText(platform_->GetCategory());
}

void QV_sys_element::MakeEmpty() {
    type_ = "EMPTY";
}

bool QV_sys_element::HasSetup() const {
    return IsModule() && module_ && module_->IsEditable();
}

void QV_sys_element::SetNumber(int number) {
    number_ = number;
    if (module_) module_->SetInstance(number);
    if (platform_) SetTypeAndText(platform_->GetCategory());
}

void QV_sys_element::WriteCFG(std::ostream &out) const {
    if (type_ == "EMPTY") return;
    if (type_ == "SYSTEM") {
        out << "[SYSTEM:" << number_ << "]\n";
        return;
    }
    if (module_) module_->WriteCFGSection(out);
}

}  // namespace qvi
