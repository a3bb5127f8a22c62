// The Camera Database dialog on the sample database: what its widgets add
// to the editor (the list and the fields following the buttons, the fields
// kept on a selection change and written on OK, the close codes).
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "camdb/camera_db.h"
#include "gui/camera_db_dialog.h"
#include "gui/gui_session.h"
#include "support/core_scratch_dir.h"

using qvi::CCameraDbDlg;
using qvi::MessageAnswer;

namespace {

QStringList ListTexts(const QListWidget &list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
    return texts;
}

QStringList ToQt(const std::vector<std::string> &names) {
    QStringList texts;
    for (const std::string &name : names) texts << QString::fromStdString(name);
    return texts;
}

}  // namespace

class CameraDbGuiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CCameraDbDlg> OpenDialog() {
        auto dialog = std::make_unique<CCameraDbDlg>(
            session->services.NewCameraDatabase(session->settings()), DatabaseFile());
        dialog->show();
        return dialog;
    }
    std::filesystem::path DatabaseFile() const { return session->settings().dbaseFile; }

    std::unique_ptr<qvi::testing::GuiSession> session;

private slots:
    // Each test starts from its own session and database file.
    void init() {
        session = std::make_unique<qvi::testing::GuiSession>();
        QVERIFY(session->Started());
        QVERIFY(session->services.CameraDatabase()->Count() > 3);
    }
    void cleanup() { session.reset(); }

    // The list shows the program's database with camera 0 shown, follows
    // the list buttons, and Cancel closes with the editor's cancel code.
    void theListFollowsItsButtonsAndCancelClosesWithItsCode() {
        auto dialog = OpenDialog();
        QVERIFY(!dialog->isModal());
        QListWidget &list = *dialog->cameraList();
        const QStringList names = ListTexts(list);
        QCOMPARE(names, ToQt(session->services.CameraDatabase()->GetNames()));
        QCOMPARE(list.currentRow(), 0);
        const qvi::QV_camera_rec &first = *session->services.CameraDatabase()->GetRecord(0);
        QCOMPARE(dialog->cnfFileEdit()->text().toStdString(), first.configFile);
        QCOMPARE(dialog->commentsEdit()->toPlainText().toStdString(), first.comments);
        QSignalSpy closed(dialog.get(), &CCameraDbDlg::closedWith);

        list.setCurrentRow(1);
        QTest::mouseClick(dialog->duplicateButton(), Qt::LeftButton);
        QCOMPARE(list.count(), names.size() + 1);
        QCOMPARE(list.item(1)->text(), names[1] + "(dup)");

        // A name the database refuses keeps the box open.
        QTest::mouseClick(dialog->renameButton(), Qt::LeftButton);
        QPointer<qvi::CRenameDlg> rename = dialog->renameDialog();
        QVERIFY(rename);
        QCOMPARE(rename->nameEdit()->text(), names[1] + "(dup)");
        rename->nameEdit()->setText(QString(20, 'x'));
        QTest::mouseClick(rename->okButton(), Qt::LeftButton);
        QVERIFY(rename->isVisible());
        rename->nameEdit()->setText(QString(19, 'y'));
        QTest::mouseClick(rename->okButton(), Qt::LeftButton);
        QTRY_VERIFY(rename.isNull());
        QCOMPARE(list.item(1)->text(), QString(19, 'y'));

        const int count = list.count();
        list.setCurrentRow(count - 1);
        session->ui.answers = {MessageAnswer::Ok};
        QTest::mouseClick(dialog->deleteButton(), Qt::LeftButton);
        QCOMPARE(list.count(), count - 1);
        QCOMPARE(list.currentItem()->text(), names[names.size() - 2]);

        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.front().front().toInt(), 2);
        QVERIFY(!dialog->isVisible());
    }

    void editedFieldsAreWrittenOnOk() {
        auto dialog = OpenDialog();
        QListWidget &list = *dialog->cameraList();
        QSignalSpy closed(dialog.get(), &CCameraDbDlg::closedWith);
        const std::string name = list.item(3)->text().toStdString();

        list.setCurrentRow(3);
        dialog->moduleBox()->setCurrentText("TX-50");
        QTest::mouseClick(dialog->allButton(), Qt::LeftButton);
        for (int port = 0; port < 4; ++port) QVERIFY(dialog->portBox(port)->isChecked());
        dialog->portBox(0)->setChecked(false);
        dialog->portBox(2)->setChecked(false);
        dialog->commentsEdit()->setPlainText("moved to the TX-50");
        dialog->cablePartEdit()->setText("CBL-50-X");
        // The file keeps its folder below the database's, as the database names it.
        session->ui.fileChoices = {session->ConfigDir() / "dbase" / "cameras" / "tx50rs170.cnf"};
        QTest::mouseClick(dialog->selectButton(), Qt::LeftButton);
        QCOMPARE(dialog->cnfFileEdit()->text(), QString("cameras/tx50rs170.cnf"));
        QCOMPARE(session->ui.fileDialogTitles.back(), std::string("Select"));

        // Leaving the camera keeps its fields; coming back shows them.
        list.setCurrentRow(4);
        list.setCurrentRow(3);
        QCOMPARE(dialog->moduleBox()->currentText(), QString("TX-50"));
        QVERIFY(dialog->portBox(1)->isChecked() && dialog->portBox(3)->isChecked());
        QVERIFY(!dialog->portBox(0)->isChecked() && !dialog->portBox(2)->isChecked());
        dialog->commentsEdit()->setPlainText("moved to the TX-50, ports 1 and 3");

        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.front().front().toInt(), 1);

        const std::string saved = qvi::testing::ScratchDir::Read(DatabaseFile());
        const std::string expected = "\n[Cam3]\nName = " + name +
                                     "\nConfigFile = cameras/tx50rs170.cnf\nValidTXMod = TX-50\n"
                                     "ValidTXPorts = 1,3\nCablePartNumber = CBL-50-X\n"
                                     "Comments = moved to the TX-50, ports 1 and 3\n";
        QVERIFY2(saved.find(expected) != std::string::npos, saved.c_str());
    }
};

QTEST_MAIN(CameraDbGuiTest)
#include "camera_db_gui_test.moc"
