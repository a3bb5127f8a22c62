#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "quar/quar_api.h"
#include "sim/test_pattern.h"
#include "sim/video_geometry.h"

namespace quar {

// The rows of the pattern for one width and layout, each kPatternPeriod
// pixels longer than the frame so that any frame's row is a slice of it.
class PatternTile {
public:
    PatternTile(int width, PixelLayout layout);
    const std::uint8_t *Row(int y, std::uint64_t frame) const;

private:
    int width_;
    PixelLayout layout_;
    std::size_t stride_;
    std::vector<std::uint8_t> bytes_;
};

// One frame of a board: its format, whether it is being grabbed, and its
// pixels. A grabbed or snapped frame holds the pattern of its frame number
// without copying it anywhere until something writes the frame (a clear, a
// file): rows are read straight from the shared tile.
struct Frame {
    VideoFormat format;
    PixelLayout layout;
    bool grabbing = false;
    std::chrono::steady_clock::time_point grabStart;
    std::uint64_t grabStartCount = 0;
    double frameRate = 30.0;  // 0: a new frame whenever one is looked at
    std::uint64_t count = 0;  // frame number of the pattern it holds
    bool pattern = true;
    std::shared_ptr<const PatternTile> tile;
    std::vector<std::uint8_t> counterRows;  // rows 0 to 7 of the pattern frame
    std::vector<std::uint8_t> bytes;        // the pixels once written
    // When the pixels last changed, on the store's clock; 0 for a frame that
    // was (re)made and holds nothing written since.
    std::uint64_t version = 0;

    std::size_t RowBytes() const {
        return static_cast<std::size_t>(format.width) * static_cast<std::size_t>(layout.Bytes());
    }
    const std::uint8_t *Row(int y) const;
};

// Every board's frames. Entries from the program and the display servers'
// threads share it: every use holds Mutex().
class VideoStore {
public:
    static VideoStore &Instance();
    std::mutex &Mutex() { return mutex_; }

    // The frame, made with this format when new or when the format changed
    // (its pattern then restarts at its frame number). Caller holds the lock.
    Frame &Configure(QRX_HANDLE board, int frame, const VideoFormat &format, double frameRate);
    // Null when the frame was never configured. Caller holds the lock.
    Frame *Find(QRX_HANDLE board, int frame);
    // Forgets a board's frames (the board went away).
    void Forget(QRX_HANDLE board);
    // Makes `composite` a frame whose pixels' byte k is frame planes[k] of the
    // same board (a DQ-500's 16-bit pair and true colour are its memories
    // seen together): whichever of them was written last is what both show.
    // Caller holds the lock.
    void SetPlanes(QRX_HANDLE board, int composite, std::vector<int> planes);

    // An acquisition request (QRX_XBOARD_*). Caller holds the lock.
    static void Request(Frame &frame, int code);
    // A request through one of a board's memories ends the acquisition of
    // every composite holding that memory but `except`: stopping A0 and A1
    // stops a grab into their 16-bit pair. Caller holds the lock.
    void EndCompositesHolding(QRX_HANDLE board, int memory, int except);
    // Brings a grabbed frame up to the frame number its clock has reached.
    static void Advance(Frame &frame);
    // Fills the frame with one value (a clear).
    static void Fill(Frame &frame, std::uint32_t value);

private:
    using Key = std::pair<QRX_HANDLE, int>;
    std::shared_ptr<const PatternTile> TileFor(int width, PixelLayout layout);
    // Brings a frame up to date with the frames it shares memory with.
    void Reconcile(const Key &key, Frame &frame);
    void TakePlaneFromComposites(const Key &key, Frame &frame);
    void TakePlanesFromMemories(const Key &key, Frame &frame);

    std::mutex mutex_;
    std::map<Key, Frame> frames_;
    std::map<Key, std::vector<int>> planes_;  // composite -> its memories
    std::map<std::pair<int, int>, std::weak_ptr<const PatternTile>> tiles_;
};

// Stores one pixel value (as PatternPixel gives it) at `to` in a layout.
void StorePixel(std::uint8_t *to, std::uint32_t value, PixelLayout layout);
// Reads one pixel value back.
std::uint32_t LoadPixel(const std::uint8_t *from, PixelLayout layout);

}  // namespace quar
