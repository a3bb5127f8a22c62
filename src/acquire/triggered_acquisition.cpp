// Triggered acquisition: sources, arming per board kind, the waiter, clearing and closing.
#include "acquire/triggered_acquisition.h"

#include "acquire/library_frame_port.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "platform/ui.h"
#include "system/board_plat_mod.h"

namespace qvi {

namespace {
constexpr int kSettleMs = 100;
constexpr int kSoftwarePollMs = 100;
constexpr int kSoftwareTriggerCount = 100;
constexpr int kHardwareExternal = 0;
constexpr int kHardwareSoftware = 1;
constexpr int kShowTriggeredFrame = 0;
constexpr int kClearFrame = 2;
}  // namespace

TriggeredAcquisition::TriggeredAcquisition(ImageDocument &document, Clock &clock, Setup setup)
    : document_(document), clock_(clock), setup_(std::move(setup)) {
    armLabel_ = setup_.tx30 ? "Arm" : "Arm + poll";
    if (QV_board_plat_mod *board = Board()) {
        document_.state = ImageDocument::kCleared;
        board->Acquire(setup_.window, document_.width, document_.height, kClearFrame);
        board->SetTriggerMode(1);
    }
}

TriggeredAcquisition::~TriggeredAcquisition() {
    Close();
}

std::string TriggeredAcquisition::Caption() const {
    return "Triggered Acquisition - " + document_.title;
}

QV_board_plat_mod *TriggeredAcquisition::Board() {
    if (document_.board != nullptr) document_.board->SelectChannel(document_.channel);
    return document_.board;
}

void TriggeredAcquisition::ChooseSource(Source source) {
    if (source == Source::Software && !SoftwareAllowed()) return;
    source_ = source;
    armLabel_ = source == Source::External ? "Arm + poll" : "Arm + fire";
}

void TriggeredAcquisition::Arm() {
    if (Board() == nullptr || setup_.module == nullptr) return;
    if (setup_.sxaBoard)
        ArmSxa();
    else
        ArmPolled();
}

// A waiter already running for the same source stays; otherwise the module
// takes the source and a new waiter starts.
void TriggeredAcquisition::ArmSxa() {
    const int wanted = source_ == Source::External ? kHardwareExternal : kHardwareSoftware;
    if (hwSource_ != wanted || waiter_ == nullptr) {
        if (waiter_ != nullptr) {
            StopWaiter();
            clock_.Wait(kSettleMs);
        }
        if (source_ == Source::External)
            setup_.module->PrepareExternalTrigger();
        else
            setup_.module->PrepareSoftwareTrigger();
        hwSource_ = wanted;
        // Without a front end's own waiter the library's host acquisition is waited on.
        if (setup_.startWaiter)
            waiter_ = setup_.startWaiter();
        else if (document_.board != nullptr)
            waiter_ = StartLibraryWaiter(*document_.board, document_);
    }
    clock_.Wait(kSettleMs);
    if (source_ == Source::External)
        armLabel_ = "Polling...";
    else
        setup_.module->SoftwareTrigger();
}

void TriggeredAcquisition::ArmPolled() {
    QV_board_plat_mod &board = *document_.board;
    if (source_ == Source::External) {
        setup_.module->PrepareExternalTrigger();
        board.ArmTrigger();
        clock_.Wait(kSettleMs);
        if (setup_.waitForExternalTrigger && setup_.waitForExternalTrigger(board))
            ShowTriggeredFrame();
        return;
    }
    setup_.module->PrepareSoftwareTrigger();
    board.ArmTrigger();
    setup_.module->SoftwareTrigger();
    if (setup_.channelElementActive) {
        StopTimer();
        timer_ = clock_.StartTimer(kSoftwarePollMs, [this] {
            if (document_.board == nullptr || document_.board->TriggerDone() == 0) return;
            ShowTriggeredFrame();
            StopTimer();
        });
        if (timer_ == 0) ReportError("SetTimer failed");
        board.WaitTrigger(kSoftwareTriggerCount);
        return;
    }
    board.WaitTrigger(kSoftwareTriggerCount);
    ShowTriggeredFrame();
}

void TriggeredAcquisition::ShowTriggeredFrame() {
    document_.state = ImageDocument::kTriggered;
    document_.frozen = false;
    if (QV_board_plat_mod *board = Board())
        board->Acquire(setup_.window, document_.width, document_.height, kShowTriggeredFrame);
}

void TriggeredAcquisition::ClearFrame() {
    QV_board_plat_mod *board = Board();
    if (board == nullptr) return;
    if (setup_.sxaBoard) {
        StopWaiter();
        board->SetTriggerMode(0);
        if (source_ == Source::External) armLabel_ = "Arm+ poll";
    }
    document_.state = ImageDocument::kCleared;
    document_.frozen = false;
    board->Acquire(setup_.window, document_.width, document_.height, kClearFrame);
}

void TriggeredAcquisition::Close() {
    if (closed_) return;
    closed_ = true;
    StopTimer();
    StopWaiter();
    if (QV_board_plat_mod *board = Board()) board->SetTriggerMode(0);
}

void TriggeredAcquisition::StopWaiter() {
    if (waiter_ == nullptr) return;
    waiter_->Stop();
    waiter_.reset();
}

void TriggeredAcquisition::StopTimer() {
    if (timer_ != 0) clock_.StopTimer(timer_);
    timer_ = 0;
}

ExternalTriggerWait::ExternalTriggerWait(QV_board_plat_mod &board, Clock &clock,
                                         std::function<void(bool)> done)
    : board_(board), clock_(clock), done_(std::move(done)) {
    timer_ = clock_.StartTimer(kPeriodMs, [this] {
        if (board_.TriggerDone() == 0) return;
        board_.WaitTrigger(1);
        Finish(true);
    });
    if (timer_ == 0) ReportError("SetTimer failed");
}

ExternalTriggerWait::~ExternalTriggerWait() {
    if (timer_ != 0) clock_.StopTimer(timer_);
}

void ExternalTriggerWait::Cancel() {
    cancelled_ = true;
    Finish(false);
}

void ExternalTriggerWait::Finish(bool triggered) {
    if (timer_ != 0) clock_.StopTimer(timer_);
    timer_ = 0;
    if (done_) done_(triggered);
}

}  // namespace qvi
