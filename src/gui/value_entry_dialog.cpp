// The value entry dialog's window.
#include "gui/value_entry_dialog.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/screen_fit.h"

namespace qvi {

namespace {

// The user moves the focus elsewhere in the dialog; a window or pop-up that
// takes the focus away leaves the field as it is.
bool LeavesTheField(const QFocusEvent &event) {
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

}  // namespace

std::optional<ScrollMove> ScrollMoveForAction(int sliderAction) {
    switch (sliderAction) {
        case QAbstractSlider::SliderSingleStepSub:
            return ScrollMove::LineBack;
        case QAbstractSlider::SliderSingleStepAdd:
            return ScrollMove::LineForward;
        case QAbstractSlider::SliderPageStepSub:
            return ScrollMove::PageBack;
        case QAbstractSlider::SliderPageStepAdd:
            return ScrollMove::PageForward;
        case QAbstractSlider::SliderToMinimum:
            return ScrollMove::ToStart;
        case QAbstractSlider::SliderToMaximum:
            return ScrollMove::ToEnd;
        case QAbstractSlider::SliderMove:
            return ScrollMove::ThumbTrack;
        default:
            return std::nullopt;
    }
}

CValueEntryDlg::CValueEntryDlg(QV_usr_param &row, std::function<void()> refreshOwner,
                               QWidget *parent)
    : QDialog(parent), entry_(row, std::move(refreshOwner)) {
    setWindowTitle(QString::fromStdString(entry_.Caption()));
    BuildWidgets();
    Draw();
}

void CValueEntryDlg::BuildWidgets() {
    edit_ = new QLineEdit(this);
    edit_->installEventFilter(this);
    scrollBar_ = new QScrollBar(Qt::Horizontal, this);
    minLabel_ = new QLabel(QStringLiteral("min"), this);
    maxLabel_ = new QLabel(QStringLiteral("max"), this);
    maxLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    applyButton_ = new QPushButton(QStringLiteral("&Apply"), this);
    helpButton_ = new QPushButton(QStringLiteral("&Help"), this);
    okButton_->setDefault(true);

    auto *limits = new QHBoxLayout;
    limits->addWidget(minLabel_);
    limits->addStretch();
    limits->addWidget(maxLabel_);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {okButton_, cancelButton_, applyButton_, helpButton_})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(scrollBar_);
    layout->addLayout(limits);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(scrollBar_, &QScrollBar::actionTriggered, this, &CValueEntryDlg::OnScrollAction);
    connect(scrollBar_, &QScrollBar::sliderReleased, this, [this] {
        entry_.Scroll(ScrollMove::ThumbPosition, scrollBar_->sliderPosition());
        Draw();
    });
    connect(okButton_, &QPushButton::clicked, this, &CValueEntryDlg::OnOk);
    connect(applyButton_, &QPushButton::clicked, this, &CValueEntryDlg::OnApply);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, [this] {
        if (help_) help_(entry_.HelpTopic());
    });
}

void CValueEntryDlg::PlaceBeside(const QRect &field) {
    adjustSize();
    const QRect frame = frameGeometry();
    move(field.left() - frame.width(), field.top());
    KeepOnScreen(*this);  // a field near the screen's left edge leaves no room
}

void CValueEntryDlg::Draw() {
    {
        const QSignalBlocker blocker(edit_);
        edit_->setText(QString::fromStdString(entry_.EditText()));
    }
    {
        const QSignalBlocker blocker(scrollBar_);
        scrollBar_->setRange(0, entry_.ScrollMax());
        scrollBar_->setPageStep(entry_.PageStep());
        scrollBar_->setValue(entry_.ScrollPos());
    }
    minLabel_->setText(QString::fromStdString(entry_.MinText()));
    maxLabel_->setText(QString::fromStdString(entry_.MaxText()));
    scrollBar_->setVisible(entry_.ShowsScrollBar());
    minLabel_->setVisible(entry_.ShowsLimits());
    maxLabel_->setVisible(entry_.ShowsLimits());
}

// The slider has already moved by its own rules; the logic's position replaces it.
void CValueEntryDlg::OnScrollAction(int action) {
    const std::optional<ScrollMove> move = ScrollMoveForAction(action);
    if (!move) return;
    entry_.Scroll(*move, scrollBar_->sliderPosition());
    scrollBar_->setSliderPosition(entry_.ScrollPos());
    const QSignalBlocker blocker(edit_);
    edit_->setText(QString::fromStdString(entry_.EditText()));
}

std::string CValueEntryDlg::Typed() const {
    return edit_->text().toStdString();
}

void CValueEntryDlg::OnApply() {
    entry_.Apply(Typed());
    Draw();
}

void CValueEntryDlg::OnOk() {
    if (entry_.Ok(Typed())) {
        accept();
        return;
    }
    Draw();
}

bool CValueEntryDlg::eventFilter(QObject *watched, QEvent *event) {
    // A text row is taken as it stands; numbers are checked as the field is
    // left. A message box taking the focus (Apply's own message) does not
    // leave the field: checking then would show a second message over it.
    if (watched == edit_ && event->type() == QEvent::FocusOut && !entry_.IsTextEntry() &&
        LeavesTheField(*static_cast<QFocusEvent *>(event))) {
        entry_.FocusOut(Typed());
        Draw();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qvi
