#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "keys/key_table.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "params/mod.h"

namespace qvi {

// The platform object of a module with one camera and no camera ports (the
// TX-40 and TX-60): its module specification is the camera structure itself.
// The library's record of the module also references, past the structure,
// the module's current camera structure, which is the specification until a
// camera copy replaces it.
class QV_single_camera_plat_mod : public QV_acq_plat_mod {
public:
    QV_single_camera_plat_mod(std::string className, const keys::ModelTable &table,
                              LibraryBinding *binding, std::uint32_t handle,
                              std::string_view libraryPrefix);

    // When the container belongs to another module object of this model (a
    // camera of the database applied to a module), that module's structure
    // takes a copy of this one first. Then every key from its field, through
    // SetParamFromCNF so the hardware follows.
    void FillParams(QV_mod &container) override;
    // One port only: the same as FillParams.
    void FillPortParams(QV_mod &container, int port) override;
    // Gives the module a private copy of the camera structure of its
    // specification, which becomes the current one.
    void CopyCameraConfig() override;

    // The current camera structure in the library; null without one.
    std::uint8_t *CurrentCamera() const;
    // Puts a 16-bit value at that byte of the current camera structure.
    void StoreInCurrentCamera(std::size_t offset, std::int16_t value) const;
    const keys::ModelTable &Table() const { return table_; }

protected:
    // The value FillParams gives a key: the library's, unless a model says otherwise.
    virtual QV_param_val ValueOf(const keys::KeyRow &row) const;
    // The stored value of one of the container's parameters; 0 without a
    // container or without that parameter.
    std::int16_t StoredValue(int handle) const;

private:
    void CopyCameraTo(const QV_mod &container) const;

    const keys::ModelTable &table_;
    // The specification's own reference, which the current-structure field
    // holds until the first copy.
    std::uint32_t specReference_ = 0;
};

// The parameter container of such a module. Its section: the head, the slot
// number, then every parameter's line, empty ones left out; the camera name
// is followed by the camera structure line.
class QV_single_camera_mod : public QV_mod {
public:
    QV_single_camera_mod(QV_plat_mod *platform, const keys::ModelTable &table, int nameHandle);

    void WriteCFGSection(std::ostream &out) override;

protected:
    const keys::ModelTable &Table() const { return table_; }

private:
    const keys::ModelTable &table_;
    int nameHandle_;
};

}  // namespace qvi
