#pragma once

class QComboBox;

namespace qvi {

// A drop-down takes the mouse wheel only while it has the focus: a wheel
// turned over it on the way elsewhere must not choose another entry (which
// may write to the hardware). The wheel then goes on to the window behind it,
// and no longer gives the drop-down the focus either.
void TakeWheelOnlyWhenFocused(QComboBox &dropDown);

}  // namespace qvi
