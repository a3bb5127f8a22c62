// Keeps the mouse wheel from changing a drop-down that does not have the focus.
#include "gui/wheel_focus.h"

#include <QComboBox>
#include <QEvent>

namespace qvi {

namespace {

// Refuses the wheel to the drop-down it watches while that has no focus;
// the refused event travels on to the parent widgets.
class WheelNeedsFocus : public QObject {
public:
    explicit WheelNeedsFocus(QComboBox &dropDown) : QObject(&dropDown), dropDown_(dropDown) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != &dropDown_ || event->type() != QEvent::Wheel || dropDown_.hasFocus())
            return QObject::eventFilter(watched, event);
        event->ignore();
        return true;
    }

private:
    QComboBox &dropDown_;
};

}  // namespace

void TakeWheelOnlyWhenFocused(QComboBox &dropDown) {
    dropDown.setFocusPolicy(Qt::StrongFocus);
    dropDown.installEventFilter(new WheelNeedsFocus(dropDown));
}

}  // namespace qvi
