#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "quar/quar_api.h"
#include "sim/trigger_registers.h"

namespace quar {

enum class TriggerSource { Software, External };

// Where triggers go once they reach a module: a snap armed on it, its host
// acquisitions and its interrupts. External triggers come from the library's
// own thread (started with the first period), at each board's period; everything else arrives from
// callers. It holds only what it was told, never the library's elements, so its thread touches
// nothing the callers' threads change.
class TriggerHub {
public:
    static TriggerHub &Instance();
    ~TriggerHub();
    TriggerHub(const TriggerHub &) = delete;
    TriggerHub &operator=(const TriggerHub &) = delete;

    // What a module takes now, its board, and its board's external trigger
    // period (0: none).
    void Update(QRX_HANDLE module, QRX_HANDLE board, int periodMs, TriggerSources sources);
    void Fire(QRX_HANDLE module, TriggerSource source);
    // The module's next trigger snaps the board's frame (already made).
    void Arm(QRX_HANDLE module, QRX_HANDLE board, int frame);
    void Disarm(QRX_HANDLE board);
    bool Pending(QRX_HANDLE board);
    // Waits until nothing is armed on the board, at most `timeout`.
    void WaitTaken(QRX_HANDLE board, std::chrono::milliseconds timeout);
    // Whether an armed snap of the board was taken since the last call.
    bool TakeCompleted(QRX_HANDLE board);
    void Forget(QRX_HANDLE handle);

private:
    struct Target {
        QRX_HANDLE board = 0;
        int periodMs = 0;
        TriggerSources sources;
        std::chrono::steady_clock::time_point nextExternal;
        bool armed = false;
        int frame = 0;
    };

    TriggerHub();
    void RunClock();
    std::vector<QRX_HANDLE> DueExternal(std::chrono::steady_clock::time_point now);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<QRX_HANDLE, Target> targets_;
    std::map<QRX_HANDLE, bool> completed_;  // board -> a snap was taken, not yet collected
    bool shutdown_ = false;
    std::thread clock_;
};

}  // namespace quar
