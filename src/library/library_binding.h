#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "library/register_access.h"
#include "library/version_check.h"
#include "platform/library_loader.h"
#include "platform/program_files.h"
#include "quar/quar_acquire.h"
#include "quar/quar_api.h"
#include "quar/quar_digital_io.h"
#include "quar/quar_host_acquire.h"
#include "quar/quar_image_file.h"

namespace qvi {

// Whether the optional libraries are stubs (1) or real (0). The module factory
// leaves out the modules of a stubbed library. A library that was not loaded,
// or that lacks its marker entry ("rx57_dregs", "px_done"), is stubbed; both
// start stubbed until a binding has looked.
int RxLibraryStubbed();
int PxLibraryStubbed();
void SetRxLibraryStubbed(int stubbed);
void SetPxLibraryStubbed(int stubbed);

// One entry point the binding fills, by the name the libraries export.
struct EntryInfo {
    std::string_view name;
    bool required;
};

// The bound entry points in lookup order: first the library's documented
// functions, then five the stand-in adds (looked up without a message when
// missing), then the seven the PCI platform object asks for after binding.
inline constexpr bool kEntryRequired = true;
inline constexpr bool kEntryOptional = false;
inline constexpr std::size_t kLibraryEntryCount = 94;
inline constexpr std::size_t kExtraEntryCount = 5;
inline constexpr std::size_t kPlatformEntryCount = 7;
inline constexpr std::array<EntryInfo, kLibraryEntryCount + kExtraEntryCount + kPlatformEntryCount>
    kEntryTable{{
        // clang-format off
        {"qrx_xboard", kEntryRequired},                {"qrx_err_level", kEntryRequired},
        {"qrx_load_cnf", kEntryRequired},              {"qrx_init_sys", kEntryRequired},
        {"qrx_remove_sys", kEntryRequired},            {"qrx_del_modcnf", kEntryOptional},
        {"qrx_systop", kEntryRequired},                {"read_reg", kEntryRequired},
        {"write_reg", kEntryRequired},                 {"read_reg32", kEntryRequired},
        {"write_reg32", kEntryRequired},               {"qrx_get_modname", kEntryRequired},
        {"qrx_get_modtype", kEntryRequired},           {"qrx_get_sysnum", kEntryRequired},
        {"qrx_get_seqnum", kEntryRequired},            {"qrx_get_slotnum", kEntryRequired},
        {"qrx_get_regtable", kEntryRequired},          {"qrx_get_modspec", kEntryRequired},
        {"qrx_get_next_mod", kEntryRequired},          {"qrx_get_vmodcnf", kEntryOptional},
        {"qrx_get_modcnf", kEntryOptional},            {"qrx_get_seqmodcnf", kEntryOptional},
        {"qrx_get_parent", kEntryOptional},            {"qrx_get_cam_frame", kEntryOptional},
        {"qrx_get_am", kEntryOptional},                {"M_detect_dmod", kEntryRequired},
        {"qrx_load_modcnf", kEntryRequired},           {"qrx_set_transmod", kEntryRequired},
        {"qrx_get_transmod", kEntryRequired},          {"qrx_get_acq_dim", kEntryOptional},
        {"qrx_read_area", kEntryOptional},             {"qrx_ycrcb_to_rgb", kEntryOptional},
        {"qrx_rgb_to_ycrcb", kEntryOptional},          {"qrx_read_image", kEntryRequired},
        {"qrx_write_image", kEntryRequired},           {"qrx_imagefile_props", kEntryRequired},
        {"qrx_display_frame", kEntryOptional},         {"qrx_clr_frame", kEntryOptional},
        {"qrx_host_snap", kEntryOptional},             {"qrx_host_grab", kEntryOptional},
        {"qrx_host_grab_stop", kEntryOptional},        {"qrx_snap_async", kEntryOptional},
        {"qrx_host_start_dualtap_acq", kEntryOptional}, {"qrx_write_image_file", kEntryOptional},
        {"qrx_read_image_file", kEntryOptional},       {"qrx_intr_connect", kEntryOptional},
        {"qrx_intr_disconnect", kEntryOptional},       {"qrx_intr_enable", kEntryOptional},
        {"qrx_intr_disable", kEntryOptional},          {"qrx_intr_wait", kEntryOptional},
        {"qrx_create_cam_area_img_src", kEntryOptional},
        {"qrx_create_host_img_src", kEntryOptional},
        {"qrx_set_host_img_src_addr", kEntryOptional}, {"qrx_set_img_src_aoi", kEntryOptional},
        {"qrx_create_frame_area_img_src", kEntryOptional}, {"qrx_delete_img_src", kEntryOptional},
        {"qrx_create_win_img_sink", kEntryOptional},   {"qrx_delete_img_sink", kEntryOptional},
        {"qrx_create_img_conn", kEntryOptional},       {"qrx_delete_img_conn", kEntryOptional},
        {"qrx_display_img_conn", kEntryOptional},      {"qrx_display_conn", kEntryOptional},
        {"qrx_set_display_zoom_img_conn", kEntryOptional},
        {"qrx_create_img_server", kEntryOptional},
        {"qrx_suspend_img_server", kEntryOptional},    {"qrx_resume_img_server", kEntryOptional},
        {"qrx_delete_img_server", kEntryOptional},
        {"qrx_img_server_frame_rate", kEntryOptional},
        {"qrx_get_param_caps", kEntryOptional},        {"qrx_get_first_param", kEntryOptional},
        {"qrx_get_next_param", kEntryOptional},        {"qrx_get_first_enum_arg", kEntryOptional},
        {"qrx_get_next_enum_arg", kEntryOptional},     {"qrx_get_param", kEntryOptional},
        {"qrx_set_param", kEntryOptional},             {"qrx_is_supported", kEntryOptional},
        {"qrx_closest_supported", kEntryOptional},     {"qrx_set_ycrcbmono", kEntryOptional},
        {"qrx_grab_latest_seqnum", kEntryOptional},    {"qrx_gen_swtrig", kEntryOptional},
        {"qrx_host_grab_lock", kEntryOptional},        {"qrx_host_grab_release", kEntryOptional},
        {"qrx_host_start_acq", kEntryOptional},        {"qrx_host_wait_acq", kEntryOptional},
        {"qrx_get_hw_revision", kEntryOptional},
        {"qrx_set_color_key_img_conn", kEntryOptional},
        {"qrx_get_dest_key_rep", kEntryOptional},      {"qrx_set_display_hdlr", kEntryOptional},
        {"qrx_rpix", kEntryOptional},                  {"qrx_outport_strobe_val", kEntryOptional},
        {"qrx_outport_val", kEntryOptional},           {"qrx_inport_mode", kEntryOptional},
        {"qrx_inport_val", kEntryOptional},            {"qrx_inport_intrpol", kEntryOptional},
        // The stand-in's additions.
        {"qrx_deref", kEntryOptional},                 {"qrx_product_version", kEntryOptional},
        {"qrx_set_console_sink", kEntryOptional},     {"qrx_write_frame_image", kEntryOptional},
        {"qrx_get_frame_count", kEntryOptional},
        // The PCI platform's.
        {"find_pci_device", kEntryRequired},           {"bz700_get_delays", kEntryRequired},
        {"bz700_set_delays", kEntryRequired},          {"qrx_open_device_handle", kEntryRequired},
        {"qrx_close_device_handle", kEntryRequired},
        {"get_amcc_safe_access_flag", kEntryRequired},
        {"set_amcc_safe_access_flag", kEntryRequired},
        // clang-format on
    }};

// A miscounted group would leave nameless entries at the end.
static_assert(kEntryTable.back().name == "set_amcc_safe_access_flag");
static_assert(kEntryTable[kLibraryEntryCount - 1].name == "qrx_inport_intrpol");

// The position of a name in kEntryTable; the table's size when absent.
constexpr std::size_t EntryIndex(std::string_view name) {
    for (std::size_t i = 0; i < kEntryTable.size(); ++i)
        if (kEntryTable[i].name == name) return i;
    return kEntryTable.size();
}

// The exported name of each entry point the header declares, so that
// LibraryBinding::Entry<&::read_reg>() returns a typed pointer.
template <auto Fn>
inline constexpr std::string_view kEntryName{};
#define QVI_TYPED_ENTRY(fn) \
    template <>             \
    inline constexpr std::string_view kEntryName<&::fn> = #fn
QVI_TYPED_ENTRY(qrx_err_level);
QVI_TYPED_ENTRY(qrx_xboard);
QVI_TYPED_ENTRY(qrx_load_cnf);
QVI_TYPED_ENTRY(qrx_init_sys);
QVI_TYPED_ENTRY(qrx_remove_sys);
QVI_TYPED_ENTRY(qrx_del_modcnf);
QVI_TYPED_ENTRY(qrx_systop);
QVI_TYPED_ENTRY(read_reg);
QVI_TYPED_ENTRY(write_reg);
QVI_TYPED_ENTRY(read_reg32);
QVI_TYPED_ENTRY(write_reg32);
QVI_TYPED_ENTRY(qrx_get_modname);
QVI_TYPED_ENTRY(qrx_get_modtype);
QVI_TYPED_ENTRY(qrx_get_sysnum);
QVI_TYPED_ENTRY(qrx_get_seqnum);
QVI_TYPED_ENTRY(qrx_get_slotnum);
QVI_TYPED_ENTRY(qrx_get_regtable);
QVI_TYPED_ENTRY(qrx_get_modspec);
QVI_TYPED_ENTRY(qrx_get_next_mod);
QVI_TYPED_ENTRY(qrx_get_vmodcnf);
QVI_TYPED_ENTRY(qrx_get_modcnf);
QVI_TYPED_ENTRY(qrx_get_seqmodcnf);
QVI_TYPED_ENTRY(qrx_get_parent);
QVI_TYPED_ENTRY(M_detect_dmod);
QVI_TYPED_ENTRY(qrx_load_modcnf);
QVI_TYPED_ENTRY(qrx_set_transmod);
QVI_TYPED_ENTRY(qrx_get_transmod);
QVI_TYPED_ENTRY(qrx_get_param);
QVI_TYPED_ENTRY(qrx_set_param);
QVI_TYPED_ENTRY(qrx_get_hw_revision);
// Frames, image sources, sinks, connections and display servers.
QVI_TYPED_ENTRY(qrx_get_cam_frame);
QVI_TYPED_ENTRY(qrx_get_acq_dim);
QVI_TYPED_ENTRY(qrx_clr_frame);
QVI_TYPED_ENTRY(qrx_rpix);
QVI_TYPED_ENTRY(qrx_read_area);
QVI_TYPED_ENTRY(qrx_get_frame_count);
QVI_TYPED_ENTRY(qrx_ycrcb_to_rgb);
QVI_TYPED_ENTRY(qrx_rgb_to_ycrcb);
QVI_TYPED_ENTRY(qrx_create_frame_area_img_src);
QVI_TYPED_ENTRY(qrx_create_cam_area_img_src);
QVI_TYPED_ENTRY(qrx_create_host_img_src);
QVI_TYPED_ENTRY(qrx_set_host_img_src_addr);
QVI_TYPED_ENTRY(qrx_set_img_src_aoi);
QVI_TYPED_ENTRY(qrx_delete_img_src);
QVI_TYPED_ENTRY(qrx_create_win_img_sink);
QVI_TYPED_ENTRY(qrx_delete_img_sink);
QVI_TYPED_ENTRY(qrx_create_img_conn);
QVI_TYPED_ENTRY(qrx_delete_img_conn);
QVI_TYPED_ENTRY(qrx_set_display_zoom_img_conn);
QVI_TYPED_ENTRY(qrx_get_dest_key_rep);
QVI_TYPED_ENTRY(qrx_set_color_key_img_conn);
QVI_TYPED_ENTRY(qrx_display_img_conn);
QVI_TYPED_ENTRY(qrx_display_conn);
QVI_TYPED_ENTRY(qrx_create_img_server);
QVI_TYPED_ENTRY(qrx_suspend_img_server);
QVI_TYPED_ENTRY(qrx_resume_img_server);
QVI_TYPED_ENTRY(qrx_delete_img_server);
QVI_TYPED_ENTRY(qrx_img_server_frame_rate);
// Image files.
QVI_TYPED_ENTRY(qrx_imagefile_props);
QVI_TYPED_ENTRY(qrx_write_image);
QVI_TYPED_ENTRY(qrx_write_image_file);
QVI_TYPED_ENTRY(qrx_read_image_file);
QVI_TYPED_ENTRY(qrx_read_image);
QVI_TYPED_ENTRY(qrx_write_frame_image);
// Digital ports.
QVI_TYPED_ENTRY(qrx_inport_val);
QVI_TYPED_ENTRY(qrx_outport_val);
QVI_TYPED_ENTRY(qrx_outport_strobe_val);
QVI_TYPED_ENTRY(qrx_inport_mode);
QVI_TYPED_ENTRY(qrx_inport_intrpol);
// Host acquisitions, triggers and interrupts.
QVI_TYPED_ENTRY(qrx_host_start_acq);
QVI_TYPED_ENTRY(qrx_host_start_dualtap_acq);
QVI_TYPED_ENTRY(qrx_host_wait_acq);
QVI_TYPED_ENTRY(qrx_host_grab_lock);
QVI_TYPED_ENTRY(qrx_host_grab_release);
QVI_TYPED_ENTRY(qrx_grab_latest_seqnum);
QVI_TYPED_ENTRY(qrx_host_grab_stop);
QVI_TYPED_ENTRY(qrx_host_snap);
QVI_TYPED_ENTRY(qrx_host_grab);
QVI_TYPED_ENTRY(qrx_gen_swtrig);
QVI_TYPED_ENTRY(qrx_intr_connect);
QVI_TYPED_ENTRY(qrx_intr_disconnect);
QVI_TYPED_ENTRY(qrx_intr_enable);
QVI_TYPED_ENTRY(qrx_intr_disable);
QVI_TYPED_ENTRY(qrx_intr_wait);
QVI_TYPED_ENTRY(qrx_deref);
QVI_TYPED_ENTRY(qrx_product_version);
QVI_TYPED_ENTRY(qrx_set_console_sink);
QVI_TYPED_ENTRY(find_pci_device);
QVI_TYPED_ENTRY(bz700_get_delays);
QVI_TYPED_ENTRY(bz700_set_delays);
QVI_TYPED_ENTRY(qrx_open_device_handle);
QVI_TYPED_ENTRY(qrx_close_device_handle);
QVI_TYPED_ENTRY(get_amcc_safe_access_flag);
QVI_TYPED_ENTRY(set_amcc_safe_access_flag);
#undef QVI_TYPED_ENTRY

// The library files a binding loads, as the settings name them.
struct LibraryFiles {
    std::string core;
    std::string rx;
    std::string px;
};

// What a binding asks of the machine beyond the loader; tests replace it.
struct BindingEnvironment {
    // Whether an optional library's file is there at all.
    std::function<bool(const std::string &)> fileExists = LibraryFileExists;
    // The files whose versions must agree with the libraries'.
    std::vector<VersionedFile> programFiles = ProgramFiles();
};

// The imaging library bound at run time: loads the core, computational-module
// (RX) and PX library files, looks every entry point up by name across them in
// that order, reports each missing one, and frees the libraries when destroyed.
// The constructor's `error` is 0 when the binding is usable, -1 when a library
// did not load or a required entry point is missing.
class LibraryBinding : public RegisterAccess {
public:
    LibraryBinding(LibraryLoader &loader, const LibraryFiles &files, int &error,
                   const BindingEnvironment &environment = {});
    ~LibraryBinding() override;
    LibraryBinding(const LibraryBinding &) = delete;
    LibraryBinding &operator=(const LibraryBinding &) = delete;

    bool IsValid() const { return error_ == 0; }
    // The loader's reason when a library did not load.
    const std::string &LoadError() const { return loadError_; }

    // The optional names are empty when their file was not there.
    const std::string &CoreDllName() const { return coreDllName_; }
    const std::string &RxDllName() const { return rxDllName_; }
    const std::string &PxDllName() const { return pxDllName_; }

    // Looks the PCI platform's seven entry points up, reporting each missing
    // one; returns whether all were found.
    bool LookupPlatformEntries();

    // Looks any other name up (a module's own entry points) in the same order,
    // reporting it when no library has it.
    void *Lookup(const std::string &name);
    template <typename Fn>
    Fn LookupAs(const std::string &name) {
        return std::bit_cast<Fn>(Lookup(name));
    }

    // The bound address of a kEntryTable name; null when missing or unknown.
    void *Address(std::string_view name) const;
    // The file the core library was read from; empty when it is not loaded
    // or the system does not tell.
    std::filesystem::path CoreFilePath() const;
    // The first of `names` that is not bound; empty when all are. A caller
    // about to use several entries checks them once instead of calling null.
    std::string_view FirstMissing(std::initializer_list<std::string_view> names) const;
    // The bound entry point typed as the header declares it; null when missing.
    template <auto Fn>
    auto Entry() const {
        constexpr std::size_t index = EntryIndex(kEntryName<Fn>);
        static_assert(index < kEntryTable.size(), "not an entry point of the binding");
        return std::bit_cast<decltype(Fn)>(entries_[index]);
    }

    int WriteReg16(std::uint32_t handle, int reg, std::uint16_t value) override;
    bool HasWriteReg32() const override;
    int WriteReg32(std::uint32_t handle, int reg, std::uint32_t value) override;
    std::int16_t ReadReg16(std::uint32_t handle, int reg) override;
    bool HasReadReg32() const override;
    std::uint32_t ReadReg32(std::uint32_t handle, int reg) override;

private:
    int Bind(const LibraryFiles &files, const BindingEnvironment &environment);
    bool LoadFile(const std::string &name, const char *kind, LibraryHandle &handle);
    void *Search(const char *name) const;
    void LookupEntries(std::size_t first, std::size_t count, bool quiet);
    void CheckVersions(const std::vector<VersionedFile> &programFiles);

    LibraryLoader &loader_;
    std::string coreDllName_;
    std::string rxDllName_;
    std::string pxDllName_;
    LibraryHandle core_ = nullptr;
    LibraryHandle rx_ = nullptr;
    LibraryHandle px_ = nullptr;
    std::array<void *, kEntryTable.size()> entries_{};
    std::string loadError_;
    int error_ = 0;
};

}  // namespace qvi
