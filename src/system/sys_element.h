#pragma once

#include <iosfwd>
#include <memory>
#include <string>

namespace qvi {

class QV_mod;
class QV_mod_factory;
class QV_plat_mod;

// One line of the system: a system, a board, a module in a slot, an SXA
// camera channel, the bus translator, or an empty slot. It owns its module
// and, unless the object is one of the factory's shared defaults, its
// platform object.
class QV_sys_element {
public:
    // "SYSTEM" with its number.
    explicit QV_sys_element(int systemNumber);
    // "EMPTY" slot of the element at `owner`.
    QV_sys_element(int owner, int slot);
    // A board or module the library describes; its container comes from the factory.
    QV_sys_element(std::unique_ptr<QV_plat_mod> platform, QV_mod_factory &factory);
    // An existing container; its platform object is the container's owner board.
    explicit QV_sys_element(std::unique_ptr<QV_mod> module);
    ~QV_sys_element();
    QV_sys_element(const QV_sys_element &) = delete;
    QV_sys_element &operator=(const QV_sys_element &) = delete;

    // Holds another module and its platform object, gives the module this
    // element's slot, and recomputes type and text.
    void Rebind(std::unique_ptr<QV_mod> module);
    // The type becomes "EMPTY"; the text stays until the next rebuild.
    void MakeEmpty();

    bool IsModule() const { return type_ != "SYSTEM" && type_ != "EMPTY"; }
    bool HasSetup() const;
    bool IsMboard() const { return type_ == "MBOARD"; }
    bool IsDboard() const { return type_ == "DBOARD"; }
    bool IsXboard() const { return type_ == "XBOARD"; }

    const std::string &GetText() const { return text_; }
    const std::string &GetType() const { return type_; }
    const std::string &GetName() const { return name_; }
    int GetNumber() const { return number_; }
    int GetSlot() const { return slot_; }
    int GetOwner() const { return owner_; }
    QV_mod *GetModule() const { return module_.get(); }
    QV_plat_mod *GetPlatMod() const { return platform_; }
    void SetNumber(int number);

    // "SYSTEM": "[SYSTEM:n]"; "EMPTY": nothing; others: the module's section.
    void WriteCFG(std::ostream &out) const;

private:
    void TakeFromPlatform();
    void DropOwnedPlatform();
    void SetTypeAndText(int category);

    std::string name_;
    std::string type_;
    int owner_ = 0;
    int number_ = 0;
    int slot_ = 0;
    std::string text_;
    std::unique_ptr<QV_plat_mod> ownedPlatform_;
    QV_plat_mod *platform_ = nullptr;
    std::unique_ptr<QV_mod> module_;  // destroyed before the platform object it writes through
};

}  // namespace qvi
