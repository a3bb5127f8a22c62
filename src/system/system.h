#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "system/sys_element.h"

namespace qvi {

class QV_mod_factory;

// The open configuration as the flat, ordered list the system window shows:
// systems, boards, the modules in their slots, camera channels, the bus
// translator and empty slots. Indices at or past the end give null or false.
class QV_system {
public:
    void Clear();
    void AddElement(std::unique_ptr<QV_sys_element> element);
    // Wraps an existing module in a new element; 1, or 0 for a null module.
    int AddModElement(std::unique_ptr<QV_mod> module);

    int Size() const { return static_cast<int>(elements_.size()); }
    QV_sys_element *GetElement(int i) const;
    std::string GetElementText(int i) const;
    QV_mod *GetModule(int i) const;
    bool IsModule(int i) const;
    bool HasSetup(int i) const;
    bool IsMboard(int i) const;
    bool IsDboard(int i) const;
    bool IsXboard(int i) const;
    // The element whose platform object holds this library handle; -1 if none.
    int FindByHandle(std::uint32_t handle) const;

    // The Remove command; `rebuildViews` redraws the system window after
    // each completed step. Returns 0, or -1 when the removal was refused.
    int RemoveElement(int i, QV_mod_factory &factory, const std::function<void()> &rebuildViews);
    // Renumbers the modules of the board that holds element i, per name, in list order.
    void Renumber(int i, QV_mod_factory &factory);

    // The image windows' managers are kept by the acquisition windows; the
    // system knows how many there are and which is active.
    void SetImageMgrCount(int count) { imageMgrCount_ = count; }
    int SetActiveImageMgr(int i);
    int ActiveImageMgr() const { return activeImageMgr_; }

private:
    int CountMotherboards() const;
    // Makes element i empty and tells the factory that its module is gone.
    void EmptyElement(int i, QV_mod_factory &factory);

    std::vector<std::unique_ptr<QV_sys_element>> elements_;
    int imageMgrCount_ = 0;
    int activeImageMgr_ = -1;
};

}  // namespace qvi
