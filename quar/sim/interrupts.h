#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "quar/quar_api.h"

namespace quar {

// Events connected to a module's interrupts. The acquisition and trigger
// threads raise interrupts; callers wait on their own threads.
class Interrupts {
public:
    static Interrupts &Instance();

    // A new enabled event for interrupt `kind` of the element `module`.
    QRX_HANDLE Connect(QRX_HANDLE module, int kind);
    int Disconnect(QRX_HANDLE event);
    int SetEnabled(QRX_HANDLE event, bool enabled);
    // 0 once the interrupt came, -1 on time-out (-1 ms: none) or for a bad
    // or disabled event, -2 when the event was disconnected meanwhile.
    int Wait(QRX_HANDLE event, int timeoutMs);
    // The interrupt reached the module: every enabled event on it is set.
    void Raise(QRX_HANDLE module, int kind);

private:
    struct Event {
        QRX_HANDLE module = 0;
        int kind = 0;
        bool enabled = true;
        bool pending = false;
        bool disconnected = false;
    };

    std::mutex mutex_;
    std::condition_variable raised_;
    std::map<QRX_HANDLE, std::shared_ptr<Event>> events_;
    QRX_HANDLE next_ = 0x30000000;
};

}  // namespace quar
