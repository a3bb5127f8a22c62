// A core library: every documented entry point except those only the RX and
// PX libraries export, and the PCI platform's. FAKE_REQUIRED_ONLY keeps just
// the required ones; FAKE_WITHOUT_LOAD_CNF drops "qrx_load_cnf".
#include <cstdint>

#include "fake_exports.h"

QUAR_VERSION_STAMP(FAKE_VERSION);

namespace {
// Registers answer reads from what was written; the fakes never use large
// numbers, so register numbers wrap into a small file.
std::uint32_t registers[256];
}  // namespace

FAKE_EXPORT std::int16_t read_reg(std::uint32_t, int reg) {
    return static_cast<std::int16_t>(registers[reg & 0xFF] & 0xFFFFu);
}
FAKE_EXPORT int write_reg(std::uint32_t handle, int reg, std::uint16_t value) {
    registers[reg & 0xFF] = value;
    return handle == 0 ? -1 : 0;
}
FAKE_EXPORT std::uint32_t read_reg32(std::uint32_t, int reg) {
    return registers[reg & 0xFF];
}
FAKE_EXPORT int write_reg32(std::uint32_t handle, int reg, std::uint32_t value) {
    registers[reg & 0xFF] = value;
    return handle == 0 ? -1 : 0;
}

FAKE_STUB(qrx_xboard)
FAKE_STUB(qrx_err_level)
#ifndef FAKE_WITHOUT_LOAD_CNF
FAKE_STUB(qrx_load_cnf)
#endif
FAKE_STUB(qrx_init_sys)
FAKE_STUB(qrx_remove_sys)
FAKE_STUB(qrx_systop)
FAKE_STUB(qrx_get_modname)
FAKE_STUB(qrx_get_modtype)
FAKE_STUB(qrx_get_sysnum)
FAKE_STUB(qrx_get_seqnum)
FAKE_STUB(qrx_get_slotnum)
FAKE_STUB(qrx_get_regtable)
FAKE_STUB(qrx_get_modspec)
FAKE_STUB(qrx_get_next_mod)
FAKE_STUB(M_detect_dmod)
FAKE_STUB(qrx_load_modcnf)
FAKE_STUB(qrx_set_transmod)
FAKE_STUB(qrx_get_transmod)
FAKE_STUB(qrx_read_image)
FAKE_STUB(qrx_write_image)
FAKE_STUB(qrx_imagefile_props)

#ifndef FAKE_REQUIRED_ONLY
// Also exported by the RX library: the core's must win.
FAKE_EXPORT std::int16_t qrx_get_hw_revision(std::uint32_t) {
    return 100;
}

FAKE_STUB(qrx_del_modcnf)
FAKE_STUB(qrx_get_vmodcnf)
FAKE_STUB(qrx_get_modcnf)
FAKE_STUB(qrx_get_seqmodcnf)
FAKE_STUB(qrx_get_parent)
FAKE_STUB(qrx_get_cam_frame)
FAKE_STUB(qrx_get_am)
FAKE_STUB(qrx_get_acq_dim)
FAKE_STUB(qrx_read_area)
FAKE_STUB(qrx_display_frame)
FAKE_STUB(qrx_clr_frame)
FAKE_STUB(qrx_host_snap)
FAKE_STUB(qrx_host_grab)
FAKE_STUB(qrx_host_grab_stop)
FAKE_STUB(qrx_snap_async)
FAKE_STUB(qrx_host_start_dualtap_acq)
FAKE_STUB(qrx_write_image_file)
FAKE_STUB(qrx_read_image_file)
FAKE_STUB(qrx_intr_connect)
FAKE_STUB(qrx_intr_disconnect)
FAKE_STUB(qrx_intr_enable)
FAKE_STUB(qrx_intr_disable)
FAKE_STUB(qrx_intr_wait)
FAKE_STUB(qrx_create_cam_area_img_src)
FAKE_STUB(qrx_create_host_img_src)
FAKE_STUB(qrx_set_host_img_src_addr)
FAKE_STUB(qrx_set_img_src_aoi)
FAKE_STUB(qrx_create_frame_area_img_src)
FAKE_STUB(qrx_delete_img_src)
FAKE_STUB(qrx_create_win_img_sink)
FAKE_STUB(qrx_delete_img_sink)
FAKE_STUB(qrx_create_img_conn)
FAKE_STUB(qrx_delete_img_conn)
FAKE_STUB(qrx_display_img_conn)
FAKE_STUB(qrx_display_conn)
FAKE_STUB(qrx_set_display_zoom_img_conn)
FAKE_STUB(qrx_create_img_server)
FAKE_STUB(qrx_suspend_img_server)
FAKE_STUB(qrx_resume_img_server)
FAKE_STUB(qrx_delete_img_server)
FAKE_STUB(qrx_img_server_frame_rate)
FAKE_STUB(qrx_get_param_caps)
FAKE_STUB(qrx_get_first_param)
FAKE_STUB(qrx_get_next_param)
FAKE_STUB(qrx_get_first_enum_arg)
FAKE_STUB(qrx_get_next_enum_arg)
FAKE_STUB(qrx_get_param)
FAKE_STUB(qrx_set_param)
FAKE_STUB(qrx_is_supported)
FAKE_STUB(qrx_closest_supported)
FAKE_STUB(qrx_set_ycrcbmono)
FAKE_STUB(qrx_grab_latest_seqnum)
FAKE_STUB(qrx_gen_swtrig)
FAKE_STUB(qrx_host_grab_lock)
FAKE_STUB(qrx_host_grab_release)
FAKE_STUB(qrx_host_start_acq)
FAKE_STUB(qrx_host_wait_acq)
FAKE_STUB(qrx_set_color_key_img_conn)
FAKE_STUB(qrx_get_dest_key_rep)
FAKE_STUB(qrx_set_display_hdlr)

FAKE_STUB(find_pci_device)
FAKE_STUB(bz700_get_delays)
FAKE_STUB(bz700_set_delays)
FAKE_STUB(qrx_open_device_handle)
FAKE_STUB(qrx_close_device_handle)
FAKE_STUB(get_amcc_safe_access_flag)
FAKE_STUB(set_amcc_safe_access_flag)
#endif
