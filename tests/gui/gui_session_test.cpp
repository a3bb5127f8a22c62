// The ground of the GUI tests: the program starts on the copied samples,
// finds the simulated rack and loads the demo configuration.
#include <QtTest>

#include "gui/gui_session.h"
#include "library/hardware.h"

class GuiSessionTest : public QObject {
    Q_OBJECT

private slots:
    void startsAndLoadsTheDemo() {
        qvi::testing::GuiSession session;
        QVERIFY(session.Started());
        QVERIFY(qvi::HardwareEnabled());
        QCOMPARE(session.Load(session.Demo()), 0);
        QVERIFY(session.Tree().System().Size() > 20);
        QVERIFY2(session.ui.Errors().empty(),
                 session.ui.Errors().empty() ? "" : session.ui.Errors().front().c_str());
    }
};

QTEST_MAIN(GuiSessionTest)
#include "gui_session_test.moc"
