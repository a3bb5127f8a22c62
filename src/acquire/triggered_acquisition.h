#pragma once

#include <functional>
#include <memory>
#include <string>

#include "acquire/trigger_waiter.h"
#include "platform/clock.h"
#include "system/image_document.h"

namespace qvi {

class QV_acq_plat_mod;
class QV_board_plat_mod;

// The Triggered Acquisition tool of one image window: arms the board for an
// external or a software trigger and shows the frame taken on it. On SXA
// boards a waiter thread shows the frames; other boards are polled.
class TriggeredAcquisition {
public:
    enum class Source { External, Software };
    // What the tool needs besides the document; the functions are the
    // front end's: the modal wait for an external trigger (true = the trigger
    // came, false = cancelled) and a new waiter for an SXA channel.
    struct Setup {
        QV_acq_plat_mod *module = nullptr;  // takes the trigger settings
        bool sxaBoard = false;
        bool tx30 = false;  // external triggers only
        // The system's active element is an SXA camera channel.
        bool channelElementActive = false;
        void *window = nullptr;
        std::function<bool(QV_board_plat_mod &)> waitForExternalTrigger;
        std::function<std::unique_ptr<TriggerWaiter>()> startWaiter;
    };

    // Opening clears the image window and turns the board's trigger mode on.
    TriggeredAcquisition(ImageDocument &document, Clock &clock, Setup setup);
    ~TriggeredAcquisition();
    TriggeredAcquisition(const TriggeredAcquisition &) = delete;
    TriggeredAcquisition &operator=(const TriggeredAcquisition &) = delete;

    // "Triggered Acquisition - " and the window's title.
    std::string Caption() const;
    bool SoftwareAllowed() const { return !setup_.tx30; }
    const std::string &ArmLabel() const { return armLabel_; }
    Source CurrentSource() const { return source_; }
    bool WaiterRunning() const { return waiter_ != nullptr; }
    // Frames the SXA waiter has shown so far.
    int FramesShown() const { return waiter_ ? waiter_->Shown() : 0; }

    void ChooseSource(Source source);
    void Arm();
    void ClearFrame();
    // Stops timer and waiter and turns the trigger mode off.
    void Close();

private:
    QV_board_plat_mod *Board();
    void ArmSxa();
    void ArmPolled();
    void ShowTriggeredFrame();
    void StopWaiter();
    void StopTimer();

    ImageDocument &document_;
    Clock &clock_;
    Setup setup_;
    Source source_ = Source::External;
    // The source last set in the module; none before the first Arm.
    int hwSource_ = -1;
    std::string armLabel_;
    std::unique_ptr<TriggerWaiter> waiter_;
    Clock::TimerId timer_ = 0;
    bool closed_ = false;
};

// What the modal "Waiting for external trigger..." box does: polls the
// board's TriggerDone every second; when the frame is in, it asks for it
// (WaitTrigger 1) and ends with the trigger; Cancel ends without one.
class ExternalTriggerWait {
public:
    static constexpr int kPeriodMs = 1000;

    ExternalTriggerWait(QV_board_plat_mod &board, Clock &clock, std::function<void(bool)> done);
    ~ExternalTriggerWait();
    void Cancel();
    bool Cancelled() const { return cancelled_; }

private:
    void Finish(bool triggered);

    QV_board_plat_mod &board_;
    Clock &clock_;
    std::function<void(bool)> done_;
    Clock::TimerId timer_ = 0;
    bool cancelled_ = false;
};

}  // namespace qvi
