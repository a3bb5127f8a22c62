#pragma once

#include <string>

#include "support/bound_stand_in.h"

namespace qvi::testing {

// Two SX-400 boards that each carry a module of one model, for the tests of
// that model: the test's sections configure the modules.
template <typename Opened>
class Sx400PairTest : public BoundStandInTest {
protected:
    static constexpr const char *kBoards = "[SYSTEM:0]\n[SX-400:0]\n";

    // Binds the stand-in with both boards and loads `sections` behind the first.
    void LoadOnTwoBoards(const std::string &model, const std::string &sections) {
        BindAndLoad("[Board]\nKind = SXP\nCount = 2\nSlot0 = " + model + "\n", kBoards + sections);
    }

    // A board's module, filled and attached as the system attaches it.
    Opened Open(int board = 0) { return OpenModule<Opened>(board); }
};

}  // namespace qvi::testing
