#pragma once

#include <map>
#include <string>
#include <vector>

namespace quar {

// What a board's frame memories and its display output are doing: the
// acquisition status of each memory, and, on a DQ-500, the display's
// switches and what was last shown and written.
struct FrameMemory {
    std::map<int, int> status;  // memory -> DQP_STATUS_*; absent = idle
    int snaps = 0;              // frames acquired by single snaps

    std::map<int, int> clears;          // frame -> how often it was cleared
    std::map<int, bool> displayEnabled;  // frame -> display on
    std::map<int, int> paths;           // display path -> frame
    std::vector<int> shownArea;         // display, frame, x, y, width, height, mode
    std::string overlayText;
    int overlayX = 0;
    int overlayY = 0;
};

// An acquisition request (QRX_XBOARD_*) for these memories. A snap or a stop
// ends a pending triggered snap. Returns 0, or -1 for an unknown code.
int ApplyFrameRequest(FrameMemory &memory, const std::vector<int> &memories, int code);
// Arms a triggered snap into these memories.
void ArmTriggeredSnap(FrameMemory &memory, const std::vector<int> &memories);
int MemoryStatus(const FrameMemory &memory, int frame);
bool AnyArmed(const FrameMemory &memory);

// The memories a DQ-500 frame number stands for with that memory model;
// empty when a memory it needs is not fitted or the number is unknown.
std::vector<int> DqpMemories(int frame, int memoryModel);
bool DqpHasA1(int memoryModel);
bool DqpHasB1(int memoryModel);

// The display's state as lines for the register dump, each starting "  ".
std::string DescribeDisplay(const FrameMemory &memory, int memoryModel);

}  // namespace quar
