// The system window while hardware is enabled.
#include "gui/system_window_hw.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "app/system_tree.h"
#include "gui/screen_fit.h"

namespace qvi {

CSystemWindowHw::CSystemWindowHw(SystemTree &tree, QWidget *parent) : QDialog(parent), tree_(tree) {
    setWindowTitle("System");
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    list_ = new QListWidget(this);
    list_->setObjectName("systemList");
    alwaysOnTop_ = new QCheckBox("Always on top", this);
    alwaysOnTop_->setObjectName("alwaysOnTop");
    auto *close = new QPushButton("&Close", this);
    close->setObjectName("closeButton");
    close->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(alwaysOnTop_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, &CSystemWindowHw::OnRowChanged);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CSystemWindowHw::OnDoubleClicked);
    connect(alwaysOnTop_, &QCheckBox::toggled, this, &CSystemWindowHw::OnAlwaysOnTop);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { emit helpRequested(kHelpTopic); });
}

void CSystemWindowHw::Rebuild() {
    activeBoard_ = tree_.ActiveBoard();
    Fill();
    SelectLine(mode_ == Mode::Elements ? FirstModuleLine() : LineOfBoard(items_, activeBoard_));
}

// The active board stays active across the switch.
void CSystemWindowHw::SetMode(Mode mode) {
    mode_ = mode;
    if (activeBoard_ < 0) {
        Rebuild();
        return;
    }
    Fill();
    SelectLine(LineOfBoard(items_, activeBoard_));
}

void CSystemWindowHw::SelectBoard(int board) {
    if (board < 0 || board >= tree_.BoardCount()) return;
    activeBoard_ = board;
    Fill();
    SelectLine(LineOfBoard(items_, board));
}

int CSystemWindowHw::SelectedElement() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(items_.size())) return -1;
    return items_[static_cast<std::size_t>(row)].element;
}

QStringList CSystemWindowHw::BoardItems() const {
    QStringList texts;
    for (const SystemListItem &item : BoardModeItems(tree_))
        texts.push_back(QString::fromStdString(item.text));
    return texts;
}

bool CSystemWindowHw::event(QEvent *event) {
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::leaveWhatsThisMode();
        emit helpRequested(kHelpTopic);
        return true;
    }
    return QDialog::event(event);
}

void CSystemWindowHw::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) KeepOnScreen(*this);
}

// The lines keep their list items when only their texts change: a refill
// from the list's own selection signal must not pull the items away.
void CSystemWindowHw::Fill() {
    items_ =
        mode_ == Mode::Elements ? ElementModeItems(tree_, activeBoard_) : BoardModeItems(tree_);
    const QSignalBlocker blocker(list_);
    if (list_->count() != static_cast<int>(items_.size())) {
        list_->clear();
        for (std::size_t i = 0; i < items_.size(); ++i) list_->addItem(QString());
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
        list_->item(static_cast<int>(i))->setText(QString::fromStdString(items_[i].text));
}

void CSystemWindowHw::SelectLine(int line) {
    const QSignalBlocker blocker(list_);
    if (line >= 0 && line < list_->count())
        list_->setCurrentRow(line);
    else
        list_->setCurrentRow(-1);
}

int CSystemWindowHw::FirstModuleLine() const {
    for (std::size_t line = 1; line < items_.size(); ++line)
        if (tree_.System().IsModule(items_[line].element)) return static_cast<int>(line);
    return -1;
}

// In element mode the active board's mark moves with the selection, so the
// list is refilled around the line the user chose.
void CSystemWindowHw::OnRowChanged(int row) {
    const int board = BoardOfLine(items_, row);
    if (board < 0) return;
    activeBoard_ = board;
    if (mode_ == Mode::Elements) Fill();
    emit activeBoardChanged(board);
}

void CSystemWindowHw::OnDoubleClicked(QListWidgetItem *item) {
    const int row = list_->row(item);
    if (row < 0 || row >= static_cast<int>(items_.size())) return;
    const int element = items_[static_cast<std::size_t>(row)].element;
    if (element >= 0) emit editRequested(element);
}

// Changing a window flag hides the window; a shown window stays shown.
void CSystemWindowHw::OnAlwaysOnTop(bool onTop) {
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) show();
}

}  // namespace qvi
