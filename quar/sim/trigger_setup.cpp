// The callers' side of triggers: module settings in, triggered snaps out.
#include "sim/trigger_setup.h"

#include <mutex>

#include "quar/quar_modules.h"
#include "sim/board_frames.h"
#include "sim/host_acquisition.h"
#include "sim/library.h"
#include "sim/register_effects.h"
#include "sim/triggers.h"
#include "sim/video_geometry.h"

namespace quar {

namespace {

// The SX-400's library parameter that stays 1 while its triggered snap is
// armed and not yet taken.
constexpr int kSxpTriggerPendingParam = 87;

QRX_HANDLE BoardOf(const Element &element) {
    return element.category == QRX_CATEGORY_BOARD ? element.handle : element.parent;
}

}  // namespace

QRX_HANDLE TriggerModuleOf(const Library &library, QRX_HANDLE handle) {
    const Element *element = library.Find(handle);
    if (element == nullptr || element->category == QRX_CATEGORY_BUS_TRANSLATOR) return 0;
    if (element->category != QRX_CATEGORY_BOARD) return handle;
    const Element *module = AcquisitionModuleOf(library, handle);
    return module ? module->handle : handle;
}

void RefreshTriggerTarget(const Library &library, const Element &module) {
    const QRX_HANDLE board = BoardOf(module);
    const RackBoard *present = library.RackBoardOf(board);
    TriggerHub::Instance().Update(module.handle, board,
                                  present ? present->externalTriggerPeriodMs : 0,
                                  AcceptedSources(module));
}

void CollectTriggeredSnaps(Element &board) {
    if (board.category != QRX_CATEGORY_BOARD || !TriggerHub::Instance().TakeCompleted(board.handle))
        return;
    if (board.libraryName == "DQP") {
        for (auto &[memory, status] : board.frames.status)
            if (status == DQP_STATUS_ARMED) status = DQP_STATUS_IDLE;
        ++board.frames.snaps;
        board.params[Library::kDqpTriggerPendingParam] = AnyArmed(board.frames) ? 1.0 : 0.0;
    } else {
        board.params[kSxpTriggerPendingParam] = 0.0;
    }
}

void TriggerRegisterWritten(Element &module, int reg) {
    if (!IsTriggerRegister(module, reg)) {
        ApplyRegisterEffects(module, reg);
        return;
    }
    const Library &library = Library::Instance();
    RefreshTriggerTarget(library, module);
    if (IsSoftwareTriggerWrite(module, reg))
        TriggerHub::Instance().Fire(module.handle, TriggerSource::Software);
    ApplyRegisterEffects(module, reg);
    RefreshTriggerTarget(library, module);
}

void TriggerParamWritten(const Element &module, int param) {
    if (module.category == QRX_CATEGORY_CAMERA_CHANNEL &&
        (param == kChannelSourceParam || param == kChannelModeParam))
        RefreshTriggerTarget(Library::Instance(), module);
}

// A camera channel told to end its waits (parameter 7) spends the trigger on
// that and takes no frame; the parameter reads 0 again afterwards.
int GenerateSoftwareTrigger(Library &library, QRX_HANDLE handle) {
    Element *module = library.Find(TriggerModuleOf(library, handle));
    if (module == nullptr) return -1;
    if (module->category == QRX_CATEGORY_CAMERA_CHANNEL &&
        module->params[kChannelEndWaitParam] == 1.0) {
        module->params[kChannelEndWaitParam] = 0.0;
        HostAcquisitions::Instance().EndWaits(module->handle);
        return 0;
    }
    RefreshTriggerTarget(library, *module);
    TriggerHub::Instance().Fire(module->handle, TriggerSource::Software);
    return 0;
}

int ArmSnapOnTrigger(Library &library, QRX_HANDLE board, int frame) {
    Element *element = library.Find(board);
    const QRX_HANDLE module = TriggerModuleOf(library, board);
    if (element == nullptr || element->category != QRX_CATEGORY_BOARD || module == 0) return -1;
    {
        std::lock_guard lock(VideoStore::Instance().Mutex());
        if (CurrentFrame(library, FrameName{board, frame}) == nullptr) return -1;
    }
    RefreshTriggerTarget(library, *library.Find(module));
    TriggerHub::Instance().Arm(module, board, frame);
    return 0;
}

void ForgetTriggerState(QRX_HANDLE handle) {
    HostAcquisitions::Instance().Stop(handle);
    TriggerHub::Instance().Forget(handle);
}

}  // namespace quar
