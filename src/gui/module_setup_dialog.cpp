// The Module Setup dialog's window, its tabs and the widgets of each row.
#include "gui/module_setup_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "gui/screen_fit.h"
#include "gui/value_entry_dialog.h"
#include "params/mod.h"

namespace qvi {

namespace {

// Page geometry, inside the "Parameter" frame.
constexpr int kPageMargin = 4;
constexpr int kFrameTop = 22;     // below the frame's title
constexpr int kFrameBottom = 10;  // also absorbs the tab pane's frame
constexpr int kLabelX = 8;
constexpr int kLabelWidth = 170;
constexpr int kControlX = kLabelX + kLabelWidth + 6;
constexpr int kControlHeight = 22;
constexpr int kScrollBarWidth = 16;

// Dialog geometry around the tabs.
constexpr int kButtonHeight = 26;
constexpr int kButtonWidth = 100;
constexpr int kButtonGap = 8;
constexpr int kButtonBottom = 8;  // the buttons keep this distance from the bottom edge
constexpr int kButtonArea = kButtonHeight + kButtonBottom + 6;

constexpr int kTabFontHeight = 17;

}  // namespace

CParamPage::CParamPage(QWidget *parent) : QWidget(parent) {
    frame_ = new QGroupBox(QStringLiteral("Parameter"), this);
    for (int row = 1; row <= RowPager::kMaxCapacity; ++row) {
        Row &widgets = rows_.at(Slot(row));
        widgets.label = new QLabel(frame_);
        widgets.dropDown = new QComboBox(frame_);
        // The wheel neither focuses a drop-down nor changes an unfocused one.
        widgets.dropDown->setFocusPolicy(Qt::StrongFocus);
        widgets.field = new QLineEdit(frame_);
        widgets.field->setReadOnly(true);
        for (QWidget *widget :
             {static_cast<QWidget *>(widgets.label), static_cast<QWidget *>(widgets.dropDown),
              static_cast<QWidget *>(widgets.field)})
            widget->installEventFilter(this);
        connect(widgets.dropDown, &QComboBox::currentIndexChanged, this,
                [this, row](int index) { emit dropDownChanged(row, index); });
    }
    scrollBar_ = new QScrollBar(Qt::Vertical, frame_);
    connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
        if (auto move = ScrollMoveForAction(action))
            emit scrolled(*move, scrollBar_->sliderPosition());
    });
    connect(scrollBar_, &QScrollBar::sliderReleased, this,
            [this] { emit scrolled(ScrollMove::ThumbPosition, scrollBar_->sliderPosition()); });
}

int CParamPage::HeightForRows(int rows) {
    return 2 * kPageMargin + kFrameTop + rows * kRowPitch + kFrameBottom;
}

int CParamPage::RowsForHeight(int height) {
    return (height - 2 * kPageMargin - kFrameTop - kFrameBottom) / kRowPitch;
}

void CParamPage::DrawRow(const RowPager &pager, int row) {
    if (row < 1 || row > RowPager::kMaxCapacity) return;
    const RowView view = pager.DescribeRow(row);
    const Row &widgets = rows_.at(Slot(row));
    widgets.label->setText(QString::fromStdString(view.label));
    widgets.label->setVisible(view.visible);
    {
        const QSignalBlocker blocker(widgets.dropDown);
        widgets.dropDown->clear();
        if (view.ShowsDropDown()) {
            for (const std::string &choice : view.choices)
                widgets.dropDown->addItem(QString::fromStdString(choice));
            widgets.dropDown->setCurrentIndex(view.selected);
        }
        widgets.dropDown->setEnabled(view.enabled);
        widgets.dropDown->setVisible(view.ShowsDropDown());
    }
    {
        const QSignalBlocker blocker(widgets.field);
        widgets.field->setText(QString::fromStdString(view.valueText));
        widgets.field->setEnabled(view.enabled);
        widgets.field->setVisible(view.ShowsNumberField());
    }
}

void CParamPage::Draw(const RowPager &pager) {
    for (int row = 1; row <= RowPager::kMaxCapacity; ++row) DrawRow(pager, row);
    {
        const QSignalBlocker blocker(scrollBar_);
        scrollBar_->setRange(0, pager.MaxScrollPosition());
        scrollBar_->setPageStep(pager.PageStep());
        scrollBar_->setValue(pager.ScrollPosition());
    }
    scrollBar_->setVisible(pager.ScrollBarVisible());
    rowsShown_ = pager.Capacity();
    PlaceRows();
}

int CParamPage::RowOf(const QObject *widget) const {
    for (int row = 1; row <= RowPager::kMaxCapacity; ++row) {
        const Row &widgets = rows_.at(Slot(row));
        if (widget == widgets.label || widget == widgets.dropDown || widget == widgets.field)
            return row;
    }
    return -1;
}

void CParamPage::PlaceRows() {
    frame_->setGeometry(kPageMargin, kPageMargin, width() - 2 * kPageMargin,
                        height() - 2 * kPageMargin);
    const int controlWidth =
        std::max(40, frame_->width() - kControlX - kScrollBarWidth - 2 * kLabelX);
    for (int row = 1; row <= RowPager::kMaxCapacity; ++row) {
        const Row &widgets = rows_.at(Slot(row));
        const int y = kFrameTop + (row - 1) * kRowPitch;
        widgets.label->setGeometry(kLabelX, y, kLabelWidth, kControlHeight);
        widgets.dropDown->setGeometry(kControlX, y, controlWidth, kControlHeight);
        widgets.field->setGeometry(kControlX, y, controlWidth, kControlHeight);
    }
    scrollBar_->setGeometry(frame_->width() - kLabelX - kScrollBarWidth, kFrameTop, kScrollBarWidth,
                            rowsShown_ * kRowPitch);
}

void CParamPage::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    PlaceRows();
}

bool CParamPage::FocusRow(int row) {
    if (row < 1 || row > RowPager::kMaxCapacity) return false;
    const Row &widgets = rows_.at(Slot(row));
    for (QWidget *control :
         {static_cast<QWidget *>(widgets.dropDown), static_cast<QWidget *>(widgets.field)}) {
        if (control->isVisibleTo(this) && control->isEnabled()) {
            control->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

// A number field is never edited in place: a click into it, or Enter, F2 or
// Space while it has the focus, opens the value entry dialog.
bool CParamPage::eventFilter(QObject *watched, QEvent *event) {
    const int row = RowOf(watched);
    if (row > 0) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                if (watched != NumberField(row)) break;
                emit numberFieldActivated(row, false);
                return true;
            case QEvent::KeyPress:
                if (KeyPressed(row, watched, *static_cast<QKeyEvent *>(event))) return true;
                break;
            case QEvent::Wheel:
                if (Wheeled(watched, *static_cast<QWheelEvent *>(event))) return true;
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Enter is taken here, before the dialog would press its default button.
bool CParamPage::KeyPressed(int row, QObject *watched, const QKeyEvent &key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (watched == NumberField(row) && modifiers == Qt::NoModifier) {
        switch (key.key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F2:
            case Qt::Key_Space:
                emit numberFieldActivated(row, true);
                return true;
            default:
                break;
        }
    }
    const bool backTab = key.key() == Qt::Key_Backtab ||
                         (key.key() == Qt::Key_Tab && modifiers == Qt::ShiftModifier);
    const bool tab = key.key() == Qt::Key_Tab && modifiers == Qt::NoModifier;
    if ((!tab && !backTab) || !moveFocus_) return false;
    const int target = moveFocus_(row, tab);
    return target > 0 && FocusRow(target);
}

// Only a drop-down that has the focus takes the wheel; over any other part
// of the rows the wheel scrolls them.
bool CParamPage::Wheeled(QObject *watched, QWheelEvent &wheel) {
    const auto *dropDown = qobject_cast<const QComboBox *>(watched);
    if (dropDown != nullptr && dropDown->hasFocus()) return false;
    ScrollByWheel(wheel);
    return true;
}

void CParamPage::wheelEvent(QWheelEvent *event) {
    ScrollByWheel(*event);
}

void CParamPage::ScrollByWheel(QWheelEvent &wheel) {
    wheel.accept();
    wheelRemainder_ += wheel.angleDelta().y();
    const int notches = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0 || scrollBar_->isHidden()) return;
    // Turning the wheel away from the user scrolls back to the top.
    const int lines = notches * QApplication::wheelScrollLines();
    emit scrolled(ScrollMove::ThumbPosition, scrollBar_->value() - lines);
}

CModuleSetupDlg::CModuleSetupDlg(ModuleSetup &setup, ModuleSetupHost &host,
                                 const std::string &description, QWidget *mainWindow)
    : QDialog(mainWindow),
      setup_(&setup),
      host_(host),
      elementIndex_(setup.ElementIndex()),
      runValueEntry_([](CValueEntryDlg &dialog) { return dialog.exec(); }) {
    setModal(false);
    setWindowTitle(QString::fromStdString("Module Edit for:  " + description));
    BuildTabs();
    BuildButtons();
    setMinimumSize(kInitialWidth / 2, ChromeHeight() + CParamPage::HeightForRows(1));
    resize(kInitialWidth, ChromeHeight() + CParamPage::HeightForRows(setup.InitialRowCount() - 1));
    LayOut();
}

void CModuleSetupDlg::PlaceAgainst(const QWidget &mainWindow) {
    const QRect main = mainWindow.frameGeometry();
    const DialogOrigin origin = ModuleSetup::Placement(main.x() + main.width(), main.y(),
                                                       frameGeometry().width(), elementIndex_);
    move(origin.x, origin.y);
    KeepOnScreen(*this);  // the cascade of a late element runs past the screen
}

void CModuleSetupDlg::BuildTabs() {
    tabs_ = new QTabWidget(this);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kTabFontHeight);
    tabs_->tabBar()->setFont(font);
    for (int tab = 0; tab < setup_->TabCount(); ++tab) {
        auto *page = new CParamPage(tabs_);
        tabs_->addTab(page, QString::fromStdString(setup_->TabTitle(tab)));
        connect(page, &CParamPage::dropDownChanged, this,
                [this, tab](int row, int index) { OnDropDown(tab, row, index); });
        connect(page, &CParamPage::numberFieldActivated, this,
                [this, tab](int row, bool byKeyboard) { OnNumberField(tab, row, byKeyboard); });
        page->SetFocusMover(
            [this, tab](int row, bool forward) { return OnMoveFocus(tab, row, forward); });
        connect(page, &CParamPage::scrolled, this,
                [this, tab](ScrollMove move, int thumb) { OnScroll(tab, move, thumb); });
    }
    // Another tab of the same module may have changed what this one shows.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (setup_ != nullptr && tab >= 0) Page(tab)->Draw(setup_->Pager(tab));
    });
}

void CModuleSetupDlg::BuildButtons() {
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    registersButton_ = new QPushButton(QStringLiteral("View Registers"), this);
    helpButton_ = new QPushButton(QStringLiteral("Help"), this);
    okButton_->setDefault(true);
    registersButton_->setEnabled(setup_->ViewRegistersEnabled());
    connect(okButton_, &QPushButton::clicked, this, &CModuleSetupDlg::OnOk);
    connect(cancelButton_, &QPushButton::clicked, this, &CModuleSetupDlg::OnCancel);
    connect(registersButton_, &QPushButton::clicked, this, &CModuleSetupDlg::OnViewRegisters);
    connect(helpButton_, &QPushButton::clicked, this, [this] { ShowHelp(lastRow_); });
}

CParamPage *CModuleSetupDlg::Page(int tab) const {
    return qobject_cast<CParamPage *>(tabs_->widget(tab));
}

// Everything but the page: margins, the tab bar, the tab pane's frame and the buttons.
int CModuleSetupDlg::ChromeHeight() const {
    const int paneFrame = 2 * tabs_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return 2 * kMargin + tabs_->tabBar()->sizeHint().height() + paneFrame + kButtonArea;
}

int CModuleSetupDlg::RowsShown() const {
    return std::clamp(CParamPage::RowsForHeight(height() - ChromeHeight()), 1,
                      RowPager::kMaxCapacity);
}

void CModuleSetupDlg::LayOut() {
    tabs_->setGeometry(kMargin, kMargin, width() - 2 * kMargin,
                       height() - 2 * kMargin - kButtonArea);
    int x = kMargin;
    for (QPushButton *button : {okButton_, cancelButton_, registersButton_, helpButton_}) {
        button->setGeometry(x, height() - kButtonBottom - kButtonHeight, kButtonWidth,
                            kButtonHeight);
        x += kButtonWidth + kButtonGap;
    }
    if (setup_ == nullptr) return;
    setup_->SetRowsThatFit(RowsShown());
    DrawAll();
}

void CModuleSetupDlg::DrawAll() {
    for (int tab = 0; tab < setup_->TabCount(); ++tab) Page(tab)->Draw(setup_->Pager(tab));
}

void CModuleSetupDlg::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    LayOut();
}

void CModuleSetupDlg::OnDropDown(int tab, int row, int index) {
    if (setup_ == nullptr) return;
    lastRow_ = row;
    switch (setup_->DropDownChanged(tab, row, index)) {
        case Redraw::Nothing:
            break;
        case Redraw::Row:
            Page(tab)->DrawRow(setup_->Pager(tab), row);
            break;
        case Redraw::AllRows:
        case Redraw::Page:
            Page(tab)->Draw(setup_->Pager(tab));
            break;
    }
}

// A click hands the focus to OK, as the field never keeps it; from the
// keyboard the focus stays on the field, so the user goes on from there.
void CModuleSetupDlg::OnNumberField(int tab, int row, bool byKeyboard) {
    if (setup_ == nullptr) return;
    lastRow_ = row;
    QV_usr_param *usrParam = setup_->Pager(tab).RowParam(row);
    if (usrParam == nullptr || !usrParam->IsEnabled()) return;
    if (!byKeyboard) okButton_->setFocus();
    QV_mod &module = setup_->TabModule(tab);
    CValueEntryDlg entry(
        *usrParam, [this, &module] { host_.RefreshOwner(module); }, this);
    entry.SetHelp(help_);
    const QLineEdit *field = Page(tab)->NumberField(row);
    entry.PlaceBeside(QRect(field->mapToGlobal(QPoint(0, 0)), field->size()));
    runValueEntry_(entry);
    if (setup_ == nullptr) return;
    setup_->ValueEntryClosed(tab, row);
    Page(tab)->Draw(setup_->Pager(tab));
    if (byKeyboard) Page(tab)->FocusRow(row);
}

int CModuleSetupDlg::OnMoveFocus(int tab, int row, bool forward) {
    if (setup_ == nullptr) return -1;
    RowPager &pager = setup_->Pager(tab);
    const int before = pager.ScrollPosition();
    const int target = pager.MoveFocus(row, forward);
    if (pager.ScrollPosition() != before) Page(tab)->Draw(pager);
    return target;
}

void CModuleSetupDlg::OnScroll(int tab, ScrollMove move, int thumbPosition) {
    if (setup_ == nullptr) return;
    setup_->Pager(tab).Scroll(move, thumbPosition);
    Page(tab)->Draw(setup_->Pager(tab));
}

// The host may destroy the logic, and schedule this widget's end, inside Ok
// and Cancel: nothing of either is touched afterwards.
void CModuleSetupDlg::OnOk() {
    ModuleSetup *setup = std::exchange(setup_, nullptr);
    if (setup != nullptr) setup->Ok();
}

void CModuleSetupDlg::OnCancel() {
    ModuleSetup *setup = std::exchange(setup_, nullptr);
    if (setup != nullptr) setup->Cancel();
}

void CModuleSetupDlg::reject() {
    OnCancel();
}

void CModuleSetupDlg::OnViewRegisters() {
    if (setup_ == nullptr) return;
    setup_->ShowRegisters();
    if (showConsole_) showConsole_();
}

int CModuleSetupDlg::FocusedRow() const {
    const CParamPage *page = Page(tabs_->currentIndex());
    return page ? page->RowOf(focusWidget()) : -1;
}

void CModuleSetupDlg::ShowHelp(int row) {
    if (setup_ == nullptr || !help_) return;
    help_(setup_->HelpTopic(tabs_->currentIndex(), row));
}

void CModuleSetupDlg::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F1) {
        ShowHelp(FocusedRow());
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace qvi
