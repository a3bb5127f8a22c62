// The Module Setup and value entry dialogs driven on the demo configuration
// against the simulated rack, through the main window's setup slots; the two
// system windows' lists, Add and Remove, and their signals.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "app/system_window_lines.h"
#include "gui/gui_screen.h"
#include "gui/gui_session.h"
#include "gui/module_setup_dialog.h"
#include "gui/setup_dialogs.h"
#include "gui/system_window_hw.h"
#include "gui/system_window_nohw.h"
#include "gui/value_entry_dialog.h"
#include "library/hardware.h"
#include "params/mod.h"
#include "system/config_state.h"
#include "system/plat_mod.h"

using qvi::CModuleSetupDlg;
using qvi::CParamPage;
using qvi::CSystemWindowHw;
using qvi::CSystemWindowNoHw;
using qvi::CValueEntryDlg;

namespace {

// Demo elements: the Lumo board and its TX-10, the first SXA camera channel
// (its "Timing Control" group holds 27 rows) and the TX-31 on the DQ-500.
constexpr int kLumo = 1;
constexpr int kTx10 = 2;
constexpr int kChannel0 = 4;
constexpr int kTx31 = 9;
constexpr int kTimingTab = 1;  // the channel's "Timing Control"
constexpr int kHsyncPolarityReg = 125;
constexpr int kHTotalReg = 123;

int TabNamed(const CModuleSetupDlg &dialog, const QString &name) {
    for (int tab = 0; tab < dialog.Tabs()->count(); ++tab)
        if (dialog.Tabs()->tabText(tab) == name) return tab;
    return -1;
}

// The row of a page whose label reads `label`; -1 when no visible row does.
int RowLabelled(const CParamPage &page, const QString &label) {
    for (int row = 1; row <= qvi::RowPager::kMaxCapacity; ++row)
        if (!page.Label(row)->isHidden() && page.Label(row)->text() == label) return row;
    return -1;
}

// Checks inside a value entry runner, which cannot return early: a failure is
// collected in the test object's failures_ and compared once the runner is done.
#define EXPECT_EQ_Q(actual, expected)                                              \
    do {                                                                           \
        if (!((actual) == (expected)))                                             \
            failures_ << QStringLiteral("line %1: %2").arg(__LINE__).arg(#actual); \
    } while (0)

// A wheel turned by notches (positive: away from the user) over a widget's centre.
void TurnWheel(QWidget *widget, int notches) {
    const QPointF centre = QRectF(widget->rect()).center();
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(),
                      QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

// Puts the focus on the control a row shows, as a click would.
bool FocusRowControl(CParamPage &page, int row) {
    for (QWidget *control : {static_cast<QWidget *>(page.DropDown(row)),
                             static_cast<QWidget *>(page.NumberField(row))})
        if (control->isVisibleTo(&page)) {
            control->setFocus(Qt::MouseFocusReason);
            return true;
        }
    return false;
}

// The label of the row whose control has the dialog's focus; empty when none has.
QString FocusedLabel(const CModuleSetupDlg &dialog, const CParamPage &page) {
    const int row = page.RowOf(dialog.focusWidget());
    return row > 0 ? page.Label(row)->text() : QString();
}

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList Texts(const QListWidget &list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts.push_back(list.item(row)->text());
    return texts;
}

QStringList Texts(const std::vector<std::string> &lines) {
    QStringList texts;
    for (const std::string &line : lines) texts.push_back(QString::fromStdString(line));
    return texts;
}

QStringList Texts(const std::vector<qvi::SystemListItem> &items) {
    QStringList texts;
    for (const qvi::SystemListItem &item : items)
        texts.push_back(QString::fromStdString(item.text));
    return texts;
}

// The list of a shown window, as the user double-clicks a line.
void DoubleClickRow(QListWidget &list, int row) {
    list.scrollToItem(list.item(row));
    const QPoint centre = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
}

}  // namespace

class ModuleSetupGuiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<qvi::testing::GuiSession> session;
    QWidget main;
    qvi::SetupDialogs dialogs{&main};

    qvi::QV_system &System() { return session->Tree().System(); }
    qvi::QV_plat_mod &Platform(int element) { return *System().GetElement(element)->GetPlatMod(); }
    qvi::QV_mod &Module(int element) { return *System().GetModule(element); }

    CModuleSetupDlg *Open(int element) {
        CModuleSetupDlg *dialog = dialogs.Open(System(), element);
        if (dialog) dialog->resize(dialog->width(), 900);  // every row that can be shown
        return dialog;
    }

private slots:
    // Each test starts from its own session on the demo, no dialog open.
    void init() {
        failures_.clear();
        session = std::make_unique<qvi::testing::GuiSession>();
        QVERIFY(session->Started());
        QCOMPARE(session->Load(session->Demo()), 0);
        QVERIFY(qvi::HardwareEnabled());
        main.setGeometry(100, 100, 1200, 800);
        main.show();
    }

    void cleanup() {
        dialogs.CloseAll();
        FlushDeletes();
        session.reset();
    }

    // Setup > Edit on an element that has a dialog brings that one forward;
    // a dialog shows as many rows as fit; closing them all destroys them,
    // and an element can open again after.
    void opensOncePerElementShowsTheRowsThatFitAndCloseAllDestroysThem() {
        QSignalSpy changed(&dialogs, &qvi::SetupDialogs::dialogsChanged);
        QPointer<CModuleSetupDlg> tx31 = dialogs.Open(System(), kTx31);
        QVERIFY(tx31 != nullptr);
        QCOMPARE(tx31->windowTitle(), QString("Module Edit for:  TX-31:0 on DQP:0"));
        QCOMPARE(dialogs.Open(System(), kTx31), tx31.data());
        QCOMPARE(dialogs.OpenCount(), 1);
        QCOMPARE(changed.count(), 1);
        // As many rows show as fit.
        QCOMPARE(tx31->RowsShown(), 6);  // the six rows of "Basic"
        CParamPage *allPage = tx31->Page(TabNamed(*tx31, "All"));
        QVERIFY(!allPage->ScrollBar()->isHidden());
        QVERIFY(!allPage->Label(6)->isHidden() && allPage->Label(7)->isHidden());
        QVERIFY(tx31->Page(0)->ScrollBar()->isHidden());
        tx31->resize(tx31->width(), tx31->height() + 5 * CParamPage::kRowPitch);
        QCOMPARE(tx31->RowsShown(), 11);
        QVERIFY(!allPage->Label(11)->isHidden() && allPage->Label(12)->isHidden());

        QPointer<CModuleSetupDlg> lumo = dialogs.Open(System(), kLumo);
        QVERIFY(lumo->ViewRegistersButton()->isEnabled());
        QVERIFY(!lumo->isModal());
        // Dialogs cascade 20 px left and down per element from the main window's right edge.
        QCOMPARE(lumo->x() + lumo->frameGeometry().width(),
                 main.frameGeometry().x() + main.frameGeometry().width() - 20 * kLumo);
        QVERIFY(dialogs.IsOpen(kLumo) && dialogs.IsOpen(kTx31) && !dialogs.IsOpen(kTx10));

        changed.clear();
        dialogs.CloseAll();
        QVERIFY(tx31.isNull() && lumo.isNull());
        QCOMPARE(dialogs.OpenCount(), 0);
        QCOMPARE(changed.count(), 1);
        QVERIFY(dialogs.Open(System(), kTx31) != nullptr);
    }

    // A field is checked when the user leaves it, not when a message box
    // takes the focus. Apply stores at once and the dialog stays; a refused
    // value keeps the old one; OK stores the value in the register and marks
    // the configuration changed.
    void aNumberIsCheckedOnLeavingAndAppliedOrSavedByOk() {
        CModuleSetupDlg *dialog = Open(kChannel0);
        CParamPage *pll = dialog->Page(TabNamed(*dialog, "Phase-Locked Loop"));
        const int divider = RowLabelled(*pll, "Reference Divider");
        QVERIFY(divider > 0);
        dialog->SetValueEntryRunner([&](CValueEntryDlg &entry) {
            entry.Edit()->setText("5000");
            // A message box over the dialog takes the focus: no check, no second box.
            QFocusEvent toMessageBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(entry.Edit(), &toMessageBox);
            EXPECT_EQ_Q(session->ui.Errors().size(), std::size_t{0});
            QFocusEvent tabbedAway(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(entry.Edit(), &tabbedAway);
            entry.CancelButton()->click();
            return entry.result();
        });
        QTest::mouseClick(pll->NumberField(divider), Qt::LeftButton);

        CParamPage *page = dialog->Page(kTimingTab);
        const int row = RowLabelled(*page, "Horizontal Total");
        QLineEdit *field = page->NumberField(row);
        QVERIFY(page->DropDown(row)->isHidden() && field->isVisibleTo(page));
        int runs = 0;
        dialog->SetValueEntryRunner([&](CValueEntryDlg &entry) {
            ++runs;
            // The entry's right edge touches the field's left edge, its top level with the field's.
            const QPoint fieldTopLeft = field->mapToGlobal(QPoint(0, 0));
            EXPECT_EQ_Q(entry.x() + entry.frameGeometry().width(), fieldTopLeft.x());
            EXPECT_EQ_Q(entry.y(), fieldTopLeft.y());
            EXPECT_EQ_Q(entry.windowTitle(), QString("Horizontal Total"));
            EXPECT_EQ_Q(entry.MaxLabel()->text(), QString("1023"));
            entry.ScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
            EXPECT_EQ_Q(entry.Edit()->text(), QString("0"));
            entry.Edit()->setText("9");
            entry.ApplyButton()->click();
            EXPECT_EQ_Q(Platform(kChannel0).read_reg(kHTotalReg).ToString(), std::string("9"));

            entry.Edit()->setText("2000");
            entry.OkButton()->click();  // refused: the dialog stays with the old value
            EXPECT_EQ_Q(entry.result(), int(QDialog::Rejected));
            EXPECT_EQ_Q(entry.Edit()->text(), QString("9"));
            entry.Edit()->setText("801");
            entry.OkButton()->click();
            return entry.result();
        });
        QTest::mouseClick(field, Qt::LeftButton);
        QCOMPARE(runs, 1);
        QCOMPARE(failures_.join("; "), QString());
        QCOMPARE(session->ui.Errors(), (std::vector<std::string>{"Entry out of range: 5000",
                                                                 "Entry out of range: 2000"}));
        QCOMPARE(field->text(), QString("801"));
        QCOMPARE(Platform(kChannel0).read_reg(kHTotalReg).ToString(), std::string("801"));

        dialog->OkButton()->click();
        FlushDeletes();
        QVERIFY(qvi::ConfigModified());
    }

    // Enter, F2 and Space open the value entry, Tab reaches every row, the
    // wheel scrolls the rows and changes only a focused drop-down.
    void theKeysAndTheWheelOnTheRows() {
        CModuleSetupDlg *dialog = Open(kChannel0);
        QPointer<CModuleSetupDlg> guard = dialog;
        dialog->Tabs()->setCurrentIndex(kTimingTab);
        CParamPage *page = dialog->Page(kTimingTab);
        QLineEdit *field = page->NumberField(RowLabelled(*page, "Horizontal Total"));
        QComboBox *polarity = page->DropDown(RowLabelled(*page, "Hsync Polarity"));
        QStringList opened;
        dialog->SetValueEntryRunner([&](CValueEntryDlg &entry) {
            opened << entry.windowTitle();
            entry.CancelButton()->click();
            return entry.result();
        });
        field->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2, Qt::Key_Space}) {
            QTest::keyClick(dialog->focusWidget(), key);
            QVERIFY2(!guard.isNull() && dialogs.IsOpen(kChannel0), "the key pressed OK");
            // The focus stays on the field for the next key.
            QCOMPARE(dialog->focusWidget(), field);
        }
        QCOMPARE(opened, QStringList(4, "Horizontal Total"));
        // Other keys do nothing to the field, and a drop-down opens no value entry.
        QTest::keyClick(field, Qt::Key_A);
        polarity->setFocus();
        QTest::keyClick(dialog->focusWidget(), Qt::Key_F2);
        QCOMPARE(opened.size(), 4);

        // Tab reaches every row and scrolls it into view.
        QStringList expected;  // the group's rows, without the page selector in front
        const auto &group = Module(kChannel0).GetParamGroups()[kTimingTab]->GetUsrParams();
        for (std::size_t entry = 1; entry < group.size(); ++entry)
            if (group[entry]->IsEnabled())
                expected << QString::fromStdString(group[entry]->GetLabel());
        QCOMPARE(expected.size(), 27);

        // The labels the focus passes through, one key press per row.
        const auto walk = [&](Qt::Key key) {
            QStringList seen{FocusedLabel(*dialog, *page)};
            for (int press = 1; press < expected.size(); ++press) {
                QTest::keyClick(dialog->focusWidget(), key);
                seen << FocusedLabel(*dialog, *page);
            }
            return seen;
        };
        QVERIFY(FocusRowControl(*page, 1));
        QCOMPARE(walk(Qt::Key_Tab), expected);
        QCOMPARE(page->ScrollBar()->value(), 8);
        QVERIFY(FocusRowControl(*page, 19) && FocusedLabel(*dialog, *page) == expected.back());
        QCOMPARE(walk(Qt::Key_Backtab).back(), expected.front());
        QCOMPARE(page->ScrollBar()->value(), 0);
        // Past the first row the focus leaves the rows, as usual.
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Backtab);
        QCOMPARE(page->RowOf(dialog->focusWidget()), -1);

        const int lines = QApplication::wheelScrollLines();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->OkButton()->setFocus();
        const QString first = page->Label(1)->text();
        // Over an unfocused drop-down: the rows scroll, the value stays.
        TurnWheel(polarity, -1);
        QCOMPARE(Platform(kChannel0).read_reg(kHsyncPolarityReg).ToString(), std::string("0"));
        QCOMPARE(page->ScrollBar()->value(), lines);
        QVERIFY(!polarity->hasFocus());
        // Over a label or a number field too, and back up.
        TurnWheel(page->Label(5), -1);
        QCOMPARE(page->ScrollBar()->value(), std::min(2 * lines, 8));
        const int number = RowLabelled(*page, "Ver Sync End");
        QVERIFY(number > 0 && page->NumberField(number)->isVisibleTo(page));
        TurnWheel(page->NumberField(number), 5);
        QCOMPARE(page->ScrollBar()->value(), 0);
        QCOMPARE(page->Label(1)->text(), first);

        // A focused drop-down takes the wheel as a choice, which reaches the
        // register at once, and the rows stay.
        polarity->setFocus();
        QVERIFY(polarity->hasFocus());
        TurnWheel(polarity, -1);
        QCOMPARE(polarity->currentText(), QString("High"));
        QCOMPARE(Platform(kChannel0).read_reg(kHsyncPolarityReg).ToString(), std::string("1"));
        QCOMPARE(page->ScrollBar()->value(), 0);

        // Cancel closes the dialog and puts the register back.
        dialog->CancelButton()->click();
        FlushDeletes();
        QVERIFY(guard.isNull() && !dialogs.IsOpen(kChannel0));
        QCOMPARE(Platform(kChannel0).read_reg(kHsyncPolarityReg).ToString(), std::string("0"));
    }

    // F1 and View Registers go to their callbacks; a port choice refills
    // every row with that port's values.
    void helpRegistersAndThePortChoice() {
        std::vector<int> topics;
        int consoles = 0;
        dialogs.SetHelp([&](int topic) { topics.push_back(topic); });
        dialogs.SetShowConsole([&] { ++consoles; });
        CModuleSetupDlg *tx10 = Open(kTx10);
        const int advanced = TabNamed(*tx10, "Advanced");
        tx10->Tabs()->setCurrentIndex(advanced);
        CParamPage *page = tx10->Page(advanced);
        const int hTotal = RowLabelled(*page, "Horizontal Total");
        page->NumberField(hTotal)->setFocus();
        QTest::keyClick(tx10, Qt::Key_F1);
        CModuleSetupDlg *tx31 = Open(kTx31);
        tx31->Page(0)->DropDown(1)->setFocus();
        QTest::keyClick(tx31, Qt::Key_F1);
        QCOMPARE(topics, (std::vector<int>{Module(kTx10).GetHelpTopic(6), 1}));
        QVERIFY(Module(kTx10).GetHelpTopic(6) != 1);
        tx31->ViewRegistersButton()->click();
        QCOMPARE(consoles, 1);
        dialogs.SetHelp({});
        dialogs.SetShowConsole({});

        const int port = RowLabelled(*page, "Active Camera");
        QVERIFY(port > 0 && hTotal > 0);
        QCOMPARE(page->DropDown(port)->currentText(), QString("Camera 1"));
        QCOMPARE(page->NumberField(hTotal)->text(), QString("944"));
        page->DropDown(port)->setCurrentIndex(0);
        QCOMPARE(page->NumberField(hTotal)->text(), QString("780"));
        // The PLL page follows the port when it is shown.
        const int pll = TabNamed(*tx10, "PLL registers");
        tx10->Tabs()->setCurrentIndex(pll);
        QCOMPARE(
            tx10->Page(pll)->NumberField(RowLabelled(*tx10->Page(pll), "Feedback Divider"))->text(),
            QString("779"));
    }

    // Both modes' lines are the system's; choosing a line tells the active
    // board, and the main window's choice is not echoed back.
    void linesSelectTheActiveBoardAndDoubleClickAsksForEditing() {
        CSystemWindowHw window(session->Tree());
        QVERIFY(!window.isVisible());
        window.Rebuild();
        auto *list = window.findChild<QListWidget *>("systemList");
        QCOMPARE(Texts(*list), Texts(qvi::ElementModeLines(session->Tree(), 0)));
        QCOMPARE(window.SelectedElement(), 1);  // the first module line after the system
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy active(&window, &CSystemWindowHw::activeBoardChanged);
        QSignalSpy edit(&window, &CSystemWindowHw::editRequested);

        list->setCurrentRow(8);  // the DQ-500, the sixth acquisition board
        QCOMPARE(active.count(), 1);
        QCOMPARE(active.takeFirst().at(0).toInt(), 5);
        QCOMPARE(Texts(*list), Texts(qvi::ElementModeLines(session->Tree(), 5)));
        QCOMPARE(window.SelectedElement(), 8);

        list->setCurrentRow(9);  // a module line selects no board
        QCOMPARE(active.count(), 0);
        QCOMPARE(window.ActiveBoard(), 5);

        DoubleClickRow(*list, 16);
        QCOMPARE(edit.count(), 1);
        QCOMPARE(edit.takeFirst().at(0).toInt(), 16);

        window.SelectBoard(6);  // the main window's choice is not echoed back
        QCOMPARE(active.count(), 0);
        QCOMPARE(list->currentRow(), 15);
        QCOMPARE(Texts(*list), Texts(qvi::ElementModeLines(session->Tree(), 6)));

        // Always on top, What's This asking for the window's help, Close.
        window.findChild<QCheckBox *>("alwaysOnTop")->setChecked(true);
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QSignalSpy help(&window, &CSystemWindowHw::helpRequested);
        QEvent whatsThis(QEvent::EnterWhatsThisMode);
        QCoreApplication::sendEvent(&window, &whatsThis);
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.takeFirst().at(0).toInt(), 131219);
        QTest::mouseClick(window.findChild<QPushButton *>("closeButton"), Qt::LeftButton);
        QVERIFY(!window.isVisible());

        // Board mode lists the acquisition boards, a line per board.
        window.SetMode(CSystemWindowHw::Mode::Boards);
        QCOMPARE(Texts(*list), Texts(qvi::BoardModeItems(session->Tree())));
        QCOMPARE(window.BoardItems(), Texts(*list));
        list->setCurrentRow(7);
        QCOMPARE(active.takeFirst().at(0).toInt(), 7);
        QCOMPARE(window.SelectedElement(), 17);
        window.SelectBoard(10);
        QCOMPARE(list->currentRow(), 10);
        QCOMPARE(active.count(), 0);
    }

    // Remove is offered only for an element the user selected; Add only
    // for an empty slot.
    void noHardwareWindowAddsAndRemovesModules() {
        qvi::SetHardwareEnabled(false);
        CSystemWindowNoHw window(session->Tree(), *session->services.Factory(),
                                 session->settings());
        auto *elements = window.findChild<QListWidget *>("systemModules");
        auto *available = window.findChild<QListWidget *>("availableModules");
        auto *add = window.findChild<QPushButton *>("addButton");
        auto *remove = window.findChild<QPushButton *>("removeButton");
        QSignalSpy changed(&window, &CSystemWindowNoHw::systemChanged);
        QCOMPARE(Texts(*elements), Texts(qvi::ElementTexts(session->Tree())));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // The list takes the focus with nothing selected: a current line alone
        // is no choice of the user's.
        elements->setFocus();
        QVERIFY(elements->selectedItems().isEmpty());
        QCOMPARE(window.SelectedElement(), -1);
        QVERIFY(!add->isEnabled() && !remove->isEnabled());
        const QPoint rx30 = elements->visualItemRect(elements->item(13)).center();
        QTest::mouseClick(elements->viewport(), Qt::LeftButton, {}, rx30);
        QCOMPARE(window.SelectedElement(), 13);
        QVERIFY(remove->isEnabled());
        // Ctrl+click takes the selection away again.
        QTest::mouseClick(elements->viewport(), Qt::LeftButton, Qt::ControlModifier, rx30);
        QCOMPARE(window.SelectedElement(), -1);
        QVERIFY(!remove->isEnabled());

        elements->setCurrentRow(13);  // the RX-30, in a full board
        QCOMPARE(available->count(), 0);
        QVERIFY(!add->isEnabled() && remove->isEnabled());
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(elements->item(13)->text(), QString("    slot 1 - empty"));
        QCOMPARE(window.SelectedElement(), 13);
        QVERIFY(Texts(*available).contains("RX-50"));
        QVERIFY(add->isEnabled());
        QVERIFY(!remove->isEnabled());

        qvi::SetConfigModified(false);
        available->setCurrentRow(static_cast<int>(Texts(*available).indexOf("RX-50")));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(elements->item(13)->text(), QString("    slot 1 - RX-50:1"));
        QVERIFY(qvi::ConfigModified());
        // The configuration was written and loaded again: the new module is the
        // library's own, not the factory's shared default.
        const qvi::QV_plat_mod *added = System().GetElement(13)->GetPlatMod();
        QVERIFY(added != nullptr);
        QVERIFY(!added->IsShared());
        QVERIFY(added->Handle() != 0);
        QCOMPARE(available->count(), 0);
        QVERIFY(remove->isEnabled());

        elements->setCurrentRow(16);  // the TX-20; Rebuild then finds its empty slot
        QTest::mouseClick(remove, Qt::LeftButton);
        elements->setCurrentRow(0);
        window.Rebuild();
        QCOMPARE(window.SelectedElement(), 16);
        QVERIFY(Texts(*available).contains("TX-40"));

        QSignalSpy edit(&window, &CSystemWindowNoHw::editRequested);
        DoubleClickRow(*elements, 9);
        QCOMPARE(edit.count(), 1);
        QCOMPARE(edit.takeFirst().at(0).toInt(), 9);
        QVERIFY(session->ui.Errors().empty());

        // It opens beside the main window, its size kept.
        QWidget mainWindow;
        mainWindow.move(120, 80);
        const QSize size = window.size();
        window.PlaceBeside(&mainWindow);
        QCOMPARE(window.pos(), QPoint(170, 180));
        QCOMPARE(window.size(), size);
    }

private:
    QStringList failures_;
};

// A screen that holds the windows where these tests put them.
QVI_GUI_TEST_MAIN(ModuleSetupGuiTest, 1920, 1200, 1.0)
#include "module_setup_gui_test.moc"
