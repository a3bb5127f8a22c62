#pragma once

#include <vector>

namespace qvi {

class QV_system;

// The user row of a DQ-500 that holds its video-bus role; its position 0 is
// master, 1 slave.
inline constexpr int kVideoBusRowId = 10;
inline constexpr int kVideoBusMasterIndex = 0;
inline constexpr int kVideoBusSlaveIndex = 1;

// Only one DQ-500 may drive a video bus. With two or more boards (the
// elements listed) and more than one of them set as master, asks whether the
// boards share a bus; on Yes the first master stays and every further one
// becomes a slave through its row, so the hardware follows. Returns how many
// boards were made slaves.
int CheckVideoBusMasters(QV_system &system, const std::vector<int> &dq500Elements);

}  // namespace qvi
