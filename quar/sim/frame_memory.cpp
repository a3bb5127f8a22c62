// What a board's frame memories and display output are doing, as the register dump reports it.
#include "sim/frame_memory.h"

#include <algorithm>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"

namespace quar {

namespace {

std::string FrameName(int frame) {
    switch (frame) {
        case DQP_FRAME_A0: return "A0";
        case DQP_FRAME_A1: return "A1";
        case DQP_FRAME_A0_A1: return "A0+A1";
        case DQP_FRAME_B1: return "B1";
        case DQP_FRAME_OVERLAY: return "overlay";
        case DQP_FRAME_TRUE_COLOR: return "true colour";
        default: return "frame " + std::to_string(frame);
    }
}

const char *StatusName(int status) {
    switch (status) {
        case DQP_STATUS_GRABBING: return "grabbing";
        case DQP_STATUS_ARMED: return "armed";
        default: return "idle";
    }
}

void SetStatus(FrameMemory &memory, const std::vector<int> &memories, int status) {
    for (int frame : memories) memory.status[frame] = status;
}

}  // namespace

int ApplyFrameRequest(FrameMemory &memory, const std::vector<int> &memories, int code) {
    switch (code) {
        case QRX_XBOARD_GRAB:
            SetStatus(memory, memories, DQP_STATUS_GRABBING);
            return 0;
        case QRX_XBOARD_SNAP:
            SetStatus(memory, memories, DQP_STATUS_IDLE);
            ++memory.snaps;
            return 0;
        case QRX_XBOARD_STOP:
            SetStatus(memory, memories, DQP_STATUS_IDLE);
            return 0;
        default:
            return -1;
    }
}

void ArmTriggeredSnap(FrameMemory &memory, const std::vector<int> &memories) {
    SetStatus(memory, memories, DQP_STATUS_ARMED);
}

int MemoryStatus(const FrameMemory &memory, int frame) {
    auto found = memory.status.find(frame);
    return found == memory.status.end() ? DQP_STATUS_IDLE : found->second;
}

bool AnyArmed(const FrameMemory &memory) {
    return std::any_of(memory.status.begin(), memory.status.end(),
                       [](const auto &entry) { return entry.second == DQP_STATUS_ARMED; });
}

bool DqpHasA1(int memoryModel) {
    return memoryModel != 0;
}

bool DqpHasB1(int memoryModel) {
    return memoryModel != 0 && memoryModel != 1 && memoryModel != 3;
}

std::vector<int> DqpMemories(int frame, int memoryModel) {
    const bool a1 = DqpHasA1(memoryModel);
    const bool b1 = DqpHasB1(memoryModel);
    switch (frame) {
        case DQP_FRAME_A0: return {DQP_FRAME_A0};
        case DQP_FRAME_A1: return a1 ? std::vector<int>{DQP_FRAME_A1} : std::vector<int>{};
        case DQP_FRAME_A0_A1:
            return a1 ? std::vector<int>{DQP_FRAME_A0, DQP_FRAME_A1} : std::vector<int>{};
        case DQP_FRAME_B1: return b1 ? std::vector<int>{DQP_FRAME_B1} : std::vector<int>{};
        case DQP_FRAME_OVERLAY: return {DQP_FRAME_OVERLAY};
        case DQP_FRAME_TRUE_COLOR:
            return a1 && b1 ? std::vector<int>{DQP_FRAME_A0, DQP_FRAME_A1, DQP_FRAME_B1}
                            : std::vector<int>{};
        default: return {};
    }
}

std::string DescribeDisplay(const FrameMemory &memory, int memoryModel) {
    std::string text = "  frames:";
    std::vector<int> fitted{DQP_FRAME_A0};
    if (DqpHasA1(memoryModel)) fitted.push_back(DQP_FRAME_A1);
    if (DqpHasB1(memoryModel)) fitted.push_back(DQP_FRAME_B1);
    for (int frame : fitted)
        text += " " + FrameName(frame) + " " + StatusName(MemoryStatus(memory, frame));
    text += "\n  display on:";
    for (const auto &[frame, on] : memory.displayEnabled)
        if (on) text += " " + FrameName(frame);
    text += "\n  paths:";
    for (const auto &[path, frame] : memory.paths)
        text += " " + std::to_string(path) + "->" + std::to_string(frame);
    text += "\n  snaps: " + std::to_string(memory.snaps);
    text += "\n  shown: ";
    const std::vector<int> &area = memory.shownArea;
    if (area.size() == 7) {
        text += "display " + std::to_string(area[0]) + " frame " + std::to_string(area[1]) +
                " at " + std::to_string(area[2]) + "," + std::to_string(area[3]) + " " +
                std::to_string(area[4]) + " x " + std::to_string(area[5]) + " mode " +
                std::to_string(area[6]);
    } else {
        text += "nothing";
    }
    text += "\n  cleared:";
    for (const auto &[frame, count] : memory.clears)
        text += " " + FrameName(frame) + " " + std::to_string(count);
    text += "\n  overlay text: ";
    text += memory.overlayText.empty() ? "none"
                                       : "\"" + memory.overlayText + "\" at " +
                                             std::to_string(memory.overlayX) + "," +
                                             std::to_string(memory.overlayY);
    return text + "\n";
}

}  // namespace quar
