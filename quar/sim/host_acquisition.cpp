// Host acquisitions: frames of the pattern taken into the caller's buffers
// by one thread per running acquisition.
#include "sim/host_acquisition.h"

#include <chrono>
#include <cstring>

#include "quar/quar_host_acquire.h"
#include "sim/interrupts.h"

namespace quar {

namespace {

constexpr PixelLayout kGrey8{PixelKind::Grey8, 8};

int TileWidth(int x, int width, bool dualTap) {
    return dualTap ? (x + width) / 2 + 1 : x + width;
}

}  // namespace

HostFrameWriter::HostFrameWriter(int x, int y, int width, int height, bool dualTap)
    : x_(x),
      y_(y),
      width_(width),
      height_(height),
      dualTap_(dualTap),
      tile_(TileWidth(x, width, dualTap), kGrey8) {}

// Rows come from the tile; only the counter's corner is worked out per pixel.
void HostFrameWriter::Write(std::uint8_t *to, std::uint64_t number) const {
    constexpr int kCounterWidth = kCounterBlock * kCounterBits;
    for (int r = 0; r < height_; ++r) {
        const int y = y_ + r;
        const std::uint8_t *from = tile_.Row(y, number);
        std::uint8_t *row = to + static_cast<std::size_t>(r) * static_cast<std::size_t>(width_);
        if (dualTap_) {
            for (int c = 0; c < width_; ++c) row[c] = from[(x_ + c) / 2];
        } else {
            std::memcpy(row, from + x_, static_cast<std::size_t>(width_));
        }
        if (y >= kCounterRows) continue;
        for (int c = 0; c < width_; ++c) {
            const int x = dualTap_ ? (x_ + c) / 2 : x_ + c;
            if (x < kCounterWidth)
                row[c] = static_cast<std::uint8_t>(PatternPixel(x, y, number, kGrey8));
        }
    }
}

HostAcquisition::HostAcquisition(const HostAcquisitionSetup &setup)
    : setup_(setup),
      writer_(setup.x, setup.y, setup.width, setup.height, setup.channels.size() == 2),
      slots_(static_cast<std::size_t>(setup.buffers)) {
    thread_ = std::thread([this] { Run(); });
}

HostAcquisition::~HostAcquisition() {
    Stop();
}

std::size_t HostAcquisition::FrameBytes() const {
    return static_cast<std::size_t>(setup_.width) * static_cast<std::size_t>(setup_.height);
}

void HostAcquisition::Run() {
    std::unique_lock lock(mutex_);
    auto next = std::chrono::steady_clock::now();
    while (WaitForWork(lock, next)) {
        Produce(lock);
        if (setup_.frames >= 0 && nextSequence_ >= setup_.frames) {
            finished_ = true;
            changed_.notify_all();
            return;
        }
    }
}

// On trigger: one frame per trigger. Continuous: one per frame period, or
// uncapped, one whenever someone waits.
bool HostAcquisition::WaitForWork(std::unique_lock<std::mutex> &lock,
                                  std::chrono::steady_clock::time_point &next) {
    if (setup_.mode == QRX_HOST_ON_TRIGGER) {
        changed_.wait(lock, [this] { return stopped_ || triggers_ > 0; });
        if (stopped_) return false;
        --triggers_;
        return true;
    }
    if (setup_.frameRate > 0.0) {
        next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(1.0 / setup_.frameRate));
        changed_.wait_until(lock, next, [this] { return stopped_; });
        return !stopped_;
    }
    changed_.wait(lock, [this] { return stopped_ || waiters_ > 0; });
    return !stopped_;
}

// The pixels are written without the acquisition's lock: the slot holds no
// frame meanwhile, so nobody can lock it or be handed it. Only a display of
// the buffers, which holds the pixel lock, waits for the frame to be whole.
void HostAcquisition::Produce(std::unique_lock<std::mutex> &lock) {
    int slot = -1;
    for (int i = 0; i < setup_.buffers && slot < 0; ++i) {
        const int candidate = (nextSlot_ + i) % setup_.buffers;
        if (!slots_[static_cast<std::size_t>(candidate)].locked) slot = candidate;
    }
    if (slot < 0) return;  // every buffer is locked: the frame is dropped
    nextSlot_ = (slot + 1) % setup_.buffers;
    Slot &taken = slots_[static_cast<std::size_t>(slot)];
    taken.sequence = -1;
    const std::int64_t sequence = nextSequence_++;
    lock.unlock();
    {
        std::lock_guard writing(pixels_);
        writer_.Write(setup_.buffer + static_cast<std::size_t>(slot) * FrameBytes(),
                      static_cast<std::uint64_t>(sequence));
    }
    lock.lock();
    taken.sequence = sequence;
    latest_ = sequence;
    changed_.notify_all();
    lock.unlock();
    for (QRX_HANDLE channel : setup_.channels)
        Interrupts::Instance().Raise(channel, QRX_INTR_FRAME_END);
    Interrupts::Instance().Raise(setup_.board, QRX_INTR_FRAME_END);
    lock.lock();
}

int HostAcquisition::HeldSlot(std::int64_t sequence) const {
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].sequence == sequence) return static_cast<int>(i);
    return -1;
}

std::int64_t HostAcquisition::OldestFrom(std::int64_t from) const {
    std::int64_t oldest = -1;
    for (const Slot &slot : slots_)
        if (slot.sequence >= from && (oldest < 0 || slot.sequence < oldest)) oldest = slot.sequence;
    return oldest;
}

int HostAcquisition::Wait(int sequence, int timeoutMs, bool lock, void **address) {
    if (sequence < -1 || timeoutMs < -1 || address == nullptr) return -1;
    std::unique_lock guard(mutex_);
    ++waiters_;
    changed_.notify_all();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int result = -1;
    bool timedOut = false;
    for (;;) {
        if (endWait_) {
            endWait_ = false;
            result = -2;
            break;
        }
        const std::int64_t found =
            sequence < 0 ? OldestFrom(nextToWait_) : (HeldSlot(sequence) >= 0 ? sequence : -1);
        if (found >= 0) {
            const auto slot = static_cast<std::size_t>(HeldSlot(found));
            slots_[slot].locked = slots_[slot].locked || lock;
            *address = setup_.buffer + slot * FrameBytes();
            nextToWait_ = std::max(nextToWait_, found + 1);
            result = static_cast<int>(found);
            break;
        }
        if (sequence >= 0 && sequence <= latest_) break;  // taken, but no buffer holds it now
        if (stopped_ || finished_) {
            result = -2;
            break;
        }
        if (timedOut) break;
        if (timeoutMs < 0)
            changed_.wait(guard);
        else
            timedOut = changed_.wait_until(guard, deadline) == std::cv_status::timeout;
    }
    --waiters_;
    return result;
}

int HostAcquisition::Lock(int sequence) {
    std::lock_guard guard(mutex_);
    const int slot = sequence < 0 ? -1 : HeldSlot(sequence);
    if (slot < 0) return -1;
    slots_[static_cast<std::size_t>(slot)].locked = true;
    return 0;
}

int HostAcquisition::Release(int sequence) {
    std::lock_guard guard(mutex_);
    const int slot = sequence < 0 ? -1 : HeldSlot(sequence);
    if (slot < 0 || !slots_[static_cast<std::size_t>(slot)].locked) return -1;
    slots_[static_cast<std::size_t>(slot)].locked = false;
    return 0;
}

int HostAcquisition::Latest() {
    std::lock_guard guard(mutex_);
    return static_cast<int>(latest_);
}

void HostAcquisition::Trigger() {
    std::lock_guard guard(mutex_);
    if (setup_.mode != QRX_HOST_ON_TRIGGER) return;
    ++triggers_;
    changed_.notify_all();
}

void HostAcquisition::EndWait() {
    std::lock_guard guard(mutex_);
    endWait_ = true;
    changed_.notify_all();
}

void HostAcquisition::Stop() {
    {
        std::lock_guard guard(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
}

bool HostAcquisition::Writes(const std::uint8_t *begin, const std::uint8_t *end) const {
    const std::uint8_t *first = setup_.buffer;
    const std::uint8_t *last = first + static_cast<std::size_t>(setup_.buffers) * FrameBytes();
    return begin < last && first < end;
}

void HeldHostBuffer::Add(std::shared_ptr<HostAcquisition> acquisition) {
    locks_.push_back(acquisition->HoldPixels());
    acquisitions_.push_back(std::move(acquisition));
}

HostAcquisitions &HostAcquisitions::Instance() {
    static HostAcquisitions acquisitions;
    return acquisitions;
}

// The interrupts the threads raise outlive them.
HostAcquisitions::HostAcquisitions() {
    Interrupts::Instance();
}

HostAcquisitions::~HostAcquisitions() {
    std::map<QRX_HANDLE, std::shared_ptr<HostAcquisition>> running;
    {
        std::lock_guard guard(mutex_);
        running.swap(running_);
    }
    for (auto &[grab, acquisition] : running) acquisition->Stop();
}

std::vector<std::shared_ptr<HostAcquisition>> HostAcquisitions::OnChannel(QRX_HANDLE channel) {
    std::vector<std::shared_ptr<HostAcquisition>> found;
    for (const auto &[grab, acquisition] : running_)
        for (QRX_HANDLE own : acquisition->Setup().channels)
            if (own == channel) found.push_back(acquisition);
    return found;
}

QRX_HANDLE HostAcquisitions::Start(const HostAcquisitionSetup &setup) {
    for (QRX_HANDLE channel : setup.channels) Stop(channel);
    auto acquisition = std::make_shared<HostAcquisition>(setup);
    std::lock_guard guard(mutex_);
    const QRX_HANDLE grab = next_++;
    running_.emplace(grab, std::move(acquisition));
    return grab;
}

std::shared_ptr<HostAcquisition> HostAcquisitions::Find(QRX_HANDLE grab) {
    std::lock_guard guard(mutex_);
    auto found = running_.find(grab);
    return found == running_.end() ? nullptr : found->second;
}

// The threads are joined without the registry's lock: a stop must not hold
// up the other acquisitions' callers.
int HostAcquisitions::Stop(QRX_HANDLE handle) {
    std::vector<std::shared_ptr<HostAcquisition>> stopping;
    {
        std::lock_guard guard(mutex_);
        for (auto it = running_.begin(); it != running_.end();) {
            bool mine = it->first == handle;
            for (QRX_HANDLE channel : it->second->Setup().channels)
                mine = mine || channel == handle;
            if (mine) {
                stopping.push_back(it->second);
                it = running_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto &acquisition : stopping) acquisition->Stop();
    return stopping.empty() ? -1 : 0;
}

void HostAcquisitions::Trigger(QRX_HANDLE channel) {
    std::lock_guard guard(mutex_);
    for (const auto &[grab, acquisition] : running_)
        if (acquisition->Setup().channels.front() == channel) acquisition->Trigger();
}

// The pixels are held outside the registry's lock, so that a frame being
// written does not hold up the other acquisitions' callers, and in the order
// of the grab handles, so that two readers holding several never deadlock.
HeldHostBuffer HostAcquisitions::Hold(const std::uint8_t *begin, std::size_t bytes) {
    std::vector<std::shared_ptr<HostAcquisition>> writers;
    {
        std::lock_guard guard(mutex_);
        for (const auto &[grab, acquisition] : running_)
            if (acquisition->Writes(begin, begin + bytes)) writers.push_back(acquisition);
    }
    HeldHostBuffer held;
    for (auto &acquisition : writers) held.Add(std::move(acquisition));
    return held;
}

void HostAcquisitions::EndWaits(QRX_HANDLE channel) {
    std::lock_guard guard(mutex_);
    for (auto &acquisition : OnChannel(channel)) acquisition->EndWait();
}

}  // namespace quar
