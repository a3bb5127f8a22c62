// The two system windows on the demo: the hardware window's element and
// board lists and its signals, and the no-hardware window's Add and Remove.
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "app/system_window_lines.h"
#include "gui/gui_session.h"
#include "gui/system_window_hw.h"
#include "gui/system_window_nohw.h"
#include "library/hardware.h"
#include "system/config_state.h"
#include "system/plat_mod.h"

using qvi::CSystemWindowHw;
using qvi::CSystemWindowNoHw;

namespace {

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

class SystemWindowGuiTest : public QObject {
    Q_OBJECT

private:
    qvi::SystemTree &Tree() { return session_->Tree(); }

    std::unique_ptr<qvi::testing::GuiSession> session_;

private slots:
    // Each test starts from its own session on the demo.
    void init() {
        session_ = std::make_unique<qvi::testing::GuiSession>();
        QVERIFY(session_->Started());
        QCOMPARE(session_->Load(session_->Demo()), 0);
    }
    void cleanup() { session_.reset(); }

    // Both modes' lines are the system's; choosing a line tells the active
    // board, and the main window's choice is not echoed back.
    void linesSelectTheActiveBoardAndDoubleClickAsksForEditing() {
        CSystemWindowHw window(Tree());
        QVERIFY(!window.isVisible());
        window.Rebuild();
        auto *list = window.findChild<QListWidget *>("systemList");
        QCOMPARE(Texts(*list), Texts(qvi::ElementModeLines(Tree(), 0)));
        QCOMPARE(window.SelectedElement(), 1);  // the first module line after the system
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy active(&window, &CSystemWindowHw::activeBoardChanged);
        QSignalSpy edit(&window, &CSystemWindowHw::editRequested);

        list->setCurrentRow(8);  // the DQ-500, the sixth acquisition board
        QCOMPARE(active.count(), 1);
        QCOMPARE(active.takeFirst().at(0).toInt(), 5);
        QCOMPARE(Texts(*list), Texts(qvi::ElementModeLines(Tree(), 5)));
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
        QCOMPARE(Texts(*list), Texts(qvi::ElementModeLines(Tree(), 6)));

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
        QCOMPARE(Texts(*list), Texts(qvi::BoardModeItems(Tree())));
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
        CSystemWindowNoHw window(Tree(), *session_->services.Factory(), session_->settings());
        auto *elements = window.findChild<QListWidget *>("systemModules");
        auto *available = window.findChild<QListWidget *>("availableModules");
        auto *add = window.findChild<QPushButton *>("addButton");
        auto *remove = window.findChild<QPushButton *>("removeButton");
        QSignalSpy changed(&window, &CSystemWindowNoHw::systemChanged);
        QCOMPARE(Texts(*elements), Texts(qvi::ElementTexts(Tree())));
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
        const qvi::QV_plat_mod *added = Tree().System().GetElement(13)->GetPlatMod();
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
        QVERIFY(session_->ui.Errors().empty());

        // It opens beside the main window, its size kept.
        QWidget mainWindow;
        mainWindow.move(120, 80);
        const QSize size = window.size();
        window.PlaceBeside(&mainWindow);
        QCOMPARE(window.pos(), QPoint(170, 180));
        QCOMPARE(window.size(), size);
    }
};

QTEST_MAIN(SystemWindowGuiTest)
#include "system_window_gui_test.moc"
