#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "keys/key_table.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "params/mod.h"
#include "system/table_params.h"

namespace qvi {

// The platform object of an acquisition module with four camera ports: its
// specification holds one reference per port to the port's camera structure,
// from which the port's parameters are filled.
class QV_four_port_plat_mod : public QV_acq_plat_mod {
public:
    static constexpr int kPorts = 4;

    QV_four_port_plat_mod(std::string className, const keys::ModelTable &table,
                          LibraryBinding *binding, std::uint32_t handle,
                          std::string_view libraryPrefix);

    // Gives every port a private copy of its camera structure.
    void CopyCameraConfig() override;

    // A port's camera structure in the library; null without one.
    std::uint8_t *PortCamera(int port) const;
    const keys::ModelTable &Table() const { return table_; }

protected:
    // The 16-bit field at that byte of the specification, with its sign.
    std::int16_t SpecS16(std::size_t offset) const;
    // When the container belongs to another module object of this model (a
    // camera of the database applied to a module), that module's camera
    // structure of the port takes a copy of the first `bytes` of this one's.
    void CopyPortCameraTo(const QV_mod &container, int port, std::size_t bytes) const;
    // Every per-port key of the port from its field, through the container's
    // SetParamFromCNF so the hardware follows for the current port.
    void FillPortFromTable(QV_mod &container, int port) const;

private:
    std::size_t ReferenceOffset(int port) const;

    const keys::ModelTable &table_;
};

// The parameter container of a four-port module. Its section: the head
// "[Section:instance]", the slot number, the module-wide keys (those the key
// table does not keep per port), then for each port "[CameraPort:p]" and the
// port's lines, empty ones left out except the camera name, which is
// followed by the camera structure line.
class QV_four_port_mod : public QV_mod {
public:
    QV_four_port_mod(QV_plat_mod *platform, const keys::ModelTable &table, int nameHandle);

    void WriteCFGSection(std::ostream &out) override;

protected:
    const keys::ModelTable &Table() const { return table_; }
    // Builds the parameters from the key table; keys the library does not
    // keep are the program's own and never written.
    // `own` makes the parameters of the rows the module builds itself.
    void AddTableParams(const ParamMaker &own = {});
    // Called before a port's block is written: a model whose ports write
    // different keys enables the port's ones here. Nothing by default.
    virtual void PreparePortLines(int /*port*/) {}
    // Called after a parameter's line of a port is written: a model whose key
    // is followed by a line of its own writes it here. Nothing by default.
    virtual void WriteAfterPortLine(std::ostream & /*out*/, const QV_mod_param & /*param*/) {}

private:
    bool IsModuleWide(const QV_mod_param &param) const;
    void WritePortLines(std::ostream &out, int port);

    const keys::ModelTable &table_;
    int nameHandle_;
};

}  // namespace qvi
