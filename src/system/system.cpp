// The open configuration as the ordered list of elements the system window shows.
#include "system/system.h"

#include "keys/model_names.h"
#include "params/mod.h"
#include "platform/ui.h"
#include "system/config_state.h"
#include "system/mod_factory.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {
constexpr const char *kKeepOneBoard = "Can't remove, must have at least 1 motherboard";
}  // namespace

void QV_system::Clear() {
    elements_.clear();
    imageMgrCount_ = 0;
    activeImageMgr_ = -1;
}

void QV_system::AddElement(std::unique_ptr<QV_sys_element> element) {
    if (element) elements_.push_back(std::move(element));
}

int QV_system::AddModElement(std::unique_ptr<QV_mod> module) {
    if (!module) return 0;
    elements_.push_back(std::make_unique<QV_sys_element>(std::move(module)));
    return 1;
}

QV_sys_element *QV_system::GetElement(int i) const {
    if (i < 0 || i >= Size()) return nullptr;
    return elements_[static_cast<std::size_t>(i)].get();
}

std::string QV_system::GetElementText(int i) const {
    QV_sys_element *element = GetElement(i);
    return element ? element->GetText() : std::string();
}

QV_mod *QV_system::GetModule(int i) const {
    QV_sys_element *element = GetElement(i);
    return element ? element->GetModule() : nullptr;
}

bool QV_system::IsModule(int i) const {
    return GetElement(i) && GetElement(i)->IsModule();
}
bool QV_system::HasSetup(int i) const {
    return GetElement(i) && GetElement(i)->HasSetup();
}
bool QV_system::IsMboard(int i) const {
    return GetElement(i) && GetElement(i)->IsMboard();
}
bool QV_system::IsDboard(int i) const {
    return GetElement(i) && GetElement(i)->IsDboard();
}
bool QV_system::IsXboard(int i) const {
    return GetElement(i) && GetElement(i)->IsXboard();
}

int QV_system::FindByHandle(std::uint32_t handle) const {
    for (int i = 0; i < Size(); ++i) {
        QV_plat_mod *platform = GetElement(i)->GetPlatMod();
        if (GetElement(i)->IsModule() && platform && platform->Handle() == handle) return i;
    }
    return -1;
}

int QV_system::CountMotherboards() const {
    int count = 0;
    for (const auto &element : elements_) count += element->IsMboard();
    return count;
}

void QV_system::EmptyElement(int i, QV_mod_factory &factory) {
    QV_sys_element *element = GetElement(i);
    factory.RemoveInstance(element->GetName());
    element->MakeEmpty();
}

int QV_system::RemoveElement(int i, QV_mod_factory &factory,
                             const std::function<void()> &rebuildViews) {
    QV_sys_element *element = GetElement(i);
    if (element == nullptr || !element->IsModule()) return -1;
    // A camera channel stands for its whole board.
    if (element->GetName() == keys::kSxaChannelModel) {
        while (i > 0 && GetElement(i)->GetName() != "SXA") --i;
        element = GetElement(i);
    }
    if (element->IsXboard()) {
        ReportError("Can't remove bus translator. Create a new file to change bus translator");
        return -1;
    }
    if (element->IsMboard()) {
        if (CountMotherboards() <= 1) {
            ReportError(kKeepOneBoard);
            return -1;
        }
        // The board's modules go with it; the factory hears of the board alone,
        // so its counters never fall below the modules it numbered.
        for (int next = i + 1; next < Size(); ++next) {
            if (IsMboard(next) || IsXboard(next)) break;
            if (IsModule(next)) GetElement(next)->MakeEmpty();
        }
        EmptyElement(i, factory);
        if (rebuildViews) rebuildViews();
        SetConfigModified(true);
        return 0;
    }
    const bool wasTx10 = element->GetName() == "TX-10";
    const bool inSlot = element->IsDboard();
    EmptyElement(i, factory);
    if (inSlot) Renumber(i, factory);
    if (rebuildViews) rebuildViews();
    if (wasTx10) {
        // The TX-10 is the Lumo board: the board goes with it.
        if (CountMotherboards() > 1 && i > 0) {
            EmptyElement(i - 1, factory);
            if (rebuildViews) rebuildViews();
        } else {
            ReportError(kKeepOneBoard);
        }
    }
    SetConfigModified(true);
    return 0;
}

void QV_system::Renumber(int i, QV_mod_factory &factory) {
    int first = i;
    while (first > 0 && !IsMboard(first - 1) && !IsMboard(first)) --first;
    if (IsMboard(first)) ++first;
    factory.ResetCounters();
    for (int next = first; next < Size(); ++next) {
        if (IsMboard(next) || IsXboard(next)) break;
        if (IsModule(next))
            GetElement(next)->SetNumber(factory.NextInstance(GetElement(next)->GetName()));
    }
}

int QV_system::SetActiveImageMgr(int i) {
    if (i < 0 || i >= imageMgrCount_) {
        ReportError(MessageText("invalid index: ", i, " passed to function: SetActiveImageMgr"));
        return -1;
    }
    activeImageMgr_ = i;
    return 0;
}

}  // namespace qvi
