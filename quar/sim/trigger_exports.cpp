// The core library's trigger entries and the SX-400's triggered snap.
#include <chrono>

#include "quar/quar_host_acquire.h"
#include "sim/library.h"
#include "sim/trigger_setup.h"
#include "sim/triggers.h"

using quar::Library;

namespace {

constexpr int kSxpTriggerPendingParam = 87;
constexpr int32_t kWaitTick = 10;               // milliseconds per count of sxp_wait_trig
constexpr int32_t kMaxWaitCount = 24 * 360000;  // a day

quar::Element *Sxp(QRX_HANDLE handle) {
    quar::Element *element = Library::Instance().Find(handle);
    return element && element->category == QRX_CATEGORY_BOARD && element->libraryName == "SXP"
               ? element
               : nullptr;
}

}  // namespace

extern "C" {

int qrx_gen_swtrig(QRX_HANDLE module) {
    return quar::GenerateSoftwareTrigger(Library::Instance(), module);
}

int sxp_trig_snap(QRX_HANDLE board, int32_t frame) {
    quar::Element *element = Sxp(board);
    if (element == nullptr || quar::ArmSnapOnTrigger(Library::Instance(), board, frame) != 0)
        return -1;
    element->params[kSxpTriggerPendingParam] = 1.0;
    return 0;
}

int sxp_wait_trig(QRX_HANDLE board, int32_t count) {
    quar::Element *element = Sxp(board);
    if (element == nullptr || count < 0 || count > kMaxWaitCount) return -1;
    quar::TriggerHub::Instance().WaitTaken(board, std::chrono::milliseconds(count * kWaitTick));
    quar::CollectTriggeredSnaps(*element);
    return quar::TriggerHub::Instance().Pending(board) ? 1 : 0;
}

}  // extern "C"
