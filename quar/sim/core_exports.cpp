// The core library's entry points for configurations, the module walk,
// registers, library parameters and the PCI platform. Each checks its handle
// and answers a bad one with the library's failure result.
#include <cstring>

#include "quar/quar_api.h"
#include "sim/console.h"
#include "sim/library.h"
#include "sim/trigger_setup.h"

using quar::Element;
using quar::Library;

namespace {

Element *Lookup(QRX_HANDLE handle) {
    return Library::Instance().Find(handle);
}

}  // namespace

extern "C" {

void qrx_set_console_sink(QRX_CONSOLE_SINK sink, void *user) {
    quar::SetConsoleSink(sink, user);
}

void *qrx_deref(uint32_t reference) {
    return Library::Instance().Records().Resolve(reference);
}

void qrx_err_level(int level) {
    Library::Instance().SetErrorLevel(level);
}

int16_t qrx_load_cnf(const char *binaryPath) {
    if (binaryPath == nullptr) return QRX_LOAD_NO_FILE;
    return static_cast<int16_t>(Library::Instance().LoadBinary(binaryPath));
}

int qrx_remove_sys(int system) {
    return Library::Instance().RemoveSystem(system);
}

QRX_HANDLE qrx_systop(int system) {
    return Library::Instance().SystemTop(system);
}

QRX_HANDLE qrx_get_next_mod(QRX_HANDLE handle) {
    return Library::Instance().NextBoard(handle);
}

QRX_HANDLE qrx_get_transmod(void) {
    return Library::Instance().BusTranslator();
}

int qrx_set_transmod(QRX_HANDLE handle) {
    return Library::Instance().SetBusTranslator(handle);
}

int qrx_init_sys(int system) {
    return Library::Instance().InitSystem(system);
}

const char *qrx_get_modname(QRX_HANDLE handle) {
    Element *element = Lookup(handle);
    return element ? element->libraryName.c_str() : "";
}

int qrx_get_modtype(QRX_HANDLE handle) {
    Element *element = Lookup(handle);
    return element ? element->category : -1;
}

int16_t qrx_get_sysnum(QRX_HANDLE handle) {
    Element *element = Lookup(handle);
    return static_cast<int16_t>(element ? element->system : -1);
}

int16_t qrx_get_seqnum(QRX_HANDLE handle) {
    Element *element = Lookup(handle);
    return static_cast<int16_t>(element ? element->instance : -1);
}

int16_t qrx_get_slotnum(QRX_HANDLE handle) {
    Element *element = Lookup(handle);
    return static_cast<int16_t>(element ? element->slot : -1);
}

const uint8_t *qrx_get_regtable(QRX_HANDLE handle, int *entries) {
    Element *element = Lookup(handle);
    if (entries) *entries = 0;
    if (element == nullptr || element->registerTable.empty()) return nullptr;
    if (entries)
        *entries = static_cast<int>(element->registerTable.size() / QRX_REGTABLE_ENTRY_SIZE);
    return element->registerTable.data();
}

void *qrx_get_modspec(QRX_HANDLE handle) {
    return Library::Instance().Spec(handle);
}

QRX_HANDLE qrx_get_vmodcnf(QRX_HANDLE board, int channel) {
    return Library::Instance().Channel(board, channel);
}

QRX_HANDLE qrx_get_modcnf(QRX_HANDLE board, int slot) {
    return Library::Instance().SlotModule(board, slot);
}

QRX_HANDLE qrx_get_seqmodcnf(const char *model, int instance) {
    return model ? Library::Instance().FindByInstance(model, instance) : 0;
}

QRX_HANDLE qrx_get_parent(QRX_HANDLE handle) {
    Element *element = Lookup(handle);
    return element ? element->parent : 0;
}

QRX_HANDLE qrx_load_modcnf(const char *path, const char *model) {
    if (path == nullptr || model == nullptr) return 0;
    return Library::Instance().LoadModule(path, model);
}

int qrx_del_modcnf(QRX_HANDLE handle) {
    return Library::Instance().DeleteModule(handle);
}

int M_detect_dmod(QRX_HANDLE board, int slot) {
    return Library::Instance().DetectModule(board, slot);
}

int16_t qrx_get_hw_revision(QRX_HANDLE handle) {
    return static_cast<int16_t>(Library::Instance().HardwareRevision(handle));
}

int16_t read_reg(QRX_HANDLE handle, int reg) {
    Element *element = Lookup(handle);
    if (element == nullptr) return -1;
    return static_cast<int16_t>(element->registers[reg] & 0xFFFFu);
}

int write_reg(QRX_HANDLE handle, int reg, uint16_t value) {
    Element *element = Lookup(handle);
    if (element == nullptr || reg < 0) return -1;
    element->registers[reg] = value;
    quar::TriggerRegisterWritten(*element, reg);
    return 0;
}

uint32_t read_reg32(QRX_HANDLE handle, int reg) {
    Element *element = Lookup(handle);
    return element ? element->registers[reg] : 0xFFFFFFFFu;
}

int write_reg32(QRX_HANDLE handle, int reg, uint32_t value) {
    Element *element = Lookup(handle);
    if (element == nullptr || reg < 0) return -1;
    element->registers[reg] = value;
    quar::TriggerRegisterWritten(*element, reg);
    return 0;
}

int qrx_set_param(QRX_HANDLE handle, int param, double value) {
    Element *element = Lookup(handle);
    if (element == nullptr) return -1;
    element->params[param] = value;
    quar::TriggerParamWritten(*element, param);
    return 0;
}

double qrx_get_param(QRX_HANDLE handle, int param) {
    Element *element = Lookup(handle);
    if (element == nullptr) return -1.0;
    quar::CollectTriggeredSnaps(*element);
    auto found = element->params.find(param);
    return found == element->params.end() ? 0.0 : found->second;
}

int qrx_open_device_handle(const char *abbreviation, int index) {
    return abbreviation ? Library::Instance().OpenDevice(abbreviation, index) : -1;
}

int qrx_close_device_handle(int deviceHandle) {
    return Library::Instance().CloseDevice(deviceHandle);
}

// The bus translator is the only PCI device the simulator looks up by id.
int find_pci_device(int, int, int index) {
    return index == 0 && Library::Instance().BusTranslator() != 0 ? 1 : -1;
}

int bz700_get_delays(QRX_HANDLE, int16_t *delay0, int16_t *delay1, int16_t *delay2) {
    auto &delays = Library::Instance().Delays();
    if (delay0) *delay0 = delays[0];
    if (delay1) *delay1 = delays[1];
    if (delay2) *delay2 = delays[2];
    return 0;
}

int bz700_set_delays(QRX_HANDLE, int16_t delay0, int16_t delay1, int16_t delay2) {
    Library::Instance().Delays() = {delay0, delay1, delay2};
    return 0;
}

int get_amcc_safe_access_flag(void) {
    return Library::Instance().SafeAccess();
}

int set_amcc_safe_access_flag(int flag) {
    Library::Instance().SetSafeAccess(flag != 0);
    return 0;
}

}  // extern "C"
