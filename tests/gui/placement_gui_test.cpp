// Where the program places its windows on a small screen at a scale factor of
// 1.5 (1600 x 1000 device pixels, 1067 x 667 as the windows see it): the
// restored main window, the system windows and the Module Setup dialogs stay
// on the screen, frames included.
#include <QAction>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "gui/gui_desktop.h"
#include "gui/gui_screen.h"
#include "gui/main_frame.h"
#include "gui/module_setup_dialog.h"
#include "gui/setup_dialogs.h"
#include "gui/system_window_hw.h"
#include "gui/system_window_nohw.h"

namespace {

QRect Available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The window's frame lies wholly on the screen.
bool OnScreen(const QWidget &window) {
    return Available().contains(window.frameGeometry());
}

QByteArray Where(const QWidget &window) {
    QString text;
    QDebug(&text) << window.frameGeometry() << "on" << Available();
    return text.toUtf8();
}

}  // namespace

class PlacementGuiTest : public QObject, qvi::testing::DesktopFixture {
    Q_OBJECT

private slots:
    void init() {
        QCOMPARE(Available().size(), QSize(1067, 667));
        QVERIFY(StartSession());
        // Stored by a run on a larger screen, or before the scale factor changed.
        QVERIFY2(OpenDemo("0000 0000 1950 1274", false), FirstError().c_str());
    }

    void cleanup() { TearDown(); }

    void theMainWindowTheModuleSetupDialogsAndTheSystemWindowsStayOnTheScreen() {
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        QVERIFY2(OnScreen(*frame_), Where(*frame_));
        // It fills the screen rather than keeping a stale small size.
        QVERIFY(frame_->frameGeometry().width() > Available().width() - 10);

        // Element 2 lies against the main window's right edge; 26 has
        // cascaded 520 px left and down from there.
        for (int element : {2, 9, 26}) {
            qvi::CModuleSetupDlg *dialog =
                frame_->Dialogs().Open(session_->Tree().System(), element);
            QVERIFY(dialog != nullptr);
            QVERIFY2(OnScreen(*dialog), Where(*dialog));
        }
        frame_->Dialogs().CloseAll();

        frame_->Action(qvi::Command::SystemDialog)->trigger();
        qvi::CSystemWindowHw *hardware = frame_->SystemWindowHw();
        QVERIFY(hardware != nullptr && hardware->isVisible());
        QVERIFY2(OnScreen(*hardware), Where(*hardware));
        // Beside a main window that the user has pushed to the screen's corner.
        QWidget corner;
        corner.setGeometry(Available().right() - 100, Available().bottom() - 80, 90, 70);
        qvi::CSystemWindowNoHw noHardware(session_->Tree(), *session_->services.Factory(),
                                          session_->settings(), &corner);
        noHardware.PlaceBeside(&corner);
        noHardware.show();
        QVERIFY(QTest::qWaitForWindowExposed(&noHardware));
        QVERIFY2(OnScreen(noHardware), Where(noHardware));
    }
};

QVI_GUI_TEST_MAIN(PlacementGuiTest, 1600, 1000, 1.5)
#include "placement_gui_test.moc"
