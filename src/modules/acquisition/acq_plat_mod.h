#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "quar/quar_api.h"
#include "system/plat_mod.h"

namespace qvi {

// Base of the platform object of every acquisition module (the TX modules and
// the SXA camera channels): the root's five operations, then image geometry,
// the trigger operations the Triggered Acquisition dialog drives, and the
// queries a few modules answer from their registers. The module's register
// dump and camera copy entries are looked up by name at construction from its
// library prefix ("sxa" gives "sxa_dregs" and "sxa_cp_camcnf").
class QV_acq_plat_mod : public QV_plat_mod {
public:
    // The trigger generator most modules carry: a source register (1 software,
    // 0 external), an enable register that the generator clears once the
    // triggered frame is taken, and a register that fires one software trigger.
    struct TriggerGenerator {
        int sourceRegister = -1;
        int enableRegister = -1;
        int fireRegister = -1;
        int fireValue = 0;
        // Whether the enable register tells when the triggered frame is taken.
        bool reportsDone = true;
    };

    // The input-board types slot 12 reports, which the boards read as the
    // module's pixel format: the NTSC/PAL decoder board delivers YCrCb colour,
    // the RGB input board true colour at 8 bits a component.
    static constexpr std::int16_t kDecoderBoard = 7;
    static constexpr std::int16_t kRgbBoard = 8;

    using DumpEntry = int (*)(QRX_HANDLE);
    using CameraCopyEntry = int (*)(QRX_HANDLE, std::uint32_t camera, std::uint32_t *result,
                                    std::uint32_t name);

    // An entry the libraries lack is reported once here and stays null.
    QV_acq_plat_mod(std::string className, LibraryBinding *binding, std::uint32_t handle,
                    std::string_view libraryPrefix);

    // Shows the module's registers on the console window; only with hardware.
    void DumpRegisters() override;

    // Slots 5 to 7: the image the module delivers.
    virtual int GetImageWidth() { return 0; }
    virtual int GetImageHeight() { return 0; }
    virtual int GetBitsPerPixel() { return 8; }
    // Frames per second the module's own timing generator sets; 0 when the
    // camera's timing sets the rate.
    virtual double NominalFrameRate() { return 0.0; }

    // Slots 8 to 10: fire one software trigger; set the module up for
    // software-triggered or for externally triggered acquisition. With a
    // trigger generator declared they drive it; otherwise they do nothing.
    virtual void SoftwareTrigger();
    virtual void PrepareSoftwareTrigger();
    virtual void PrepareExternalTrigger();
    // Slot 11: non-zero once the module's trigger generator has gone idle,
    // that is the triggered frame is taken. A module without one is always done.
    virtual int TriggerDone();

    // Slot 12: the type code of the module's input board; the board asks for
    // it before the image depth, height and width. Slot 13: the module's
    // hardware revision.
    virtual std::int16_t GetBoardType() { return 0; }
    virtual std::int16_t GetHardwareRevision() { return 0; }
    // Slot 14: one of a pair of registers, picked by the selector (0 or not).
    // Slot 15: writes the value to the register the selector picks and gives
    // 1; a value of 65535 or more asks for the register's content instead.
    virtual std::int16_t ReadSelectedRegister(int /*selector*/) { return 0; }
    virtual std::int16_t AccessSelectedRegister(int /*selector*/, int /*value*/) { return 1; }

    DumpEntry RegisterDumpEntry() const { return dumpEntry_; }
    CameraCopyEntry CameraCopy() const { return cameraCopyEntry_; }

protected:
    // The module specification as the library's own, writable record.
    std::uint8_t *MutableSpec() const;
    // Gives the module a private copy of the camera structure referenced at
    // that byte of its specification and stores the copy's reference there.
    void CopyCameraAt(std::size_t referenceOffset);
    // A 16-bit register write, as the trigger operations make them.
    void WriteRegister(int reg, int value);
    // Sets the trigger generator up: its source (software or external) first,
    // then its enable.
    void ArmTriggerGenerator(int sourceRegister, bool software, int enableRegister);
    // Gives the module a private copy of the camera structure `camera` and
    // stores the copy's reference at that byte of its specification.
    void CopyCameraInto(std::uint32_t camera, std::size_t referenceOffset);
    // Declares the module's trigger generator, which the trigger operations drive.
    void UseTriggerGenerator(const TriggerGenerator &generator) {
        triggerGenerator_ = generator;
        hasTriggerGenerator_ = true;
    }

private:
    TriggerGenerator triggerGenerator_;
    bool hasTriggerGenerator_ = false;
    DumpEntry dumpEntry_ = nullptr;
    CameraCopyEntry cameraCopyEntry_ = nullptr;
};

}  // namespace qvi
