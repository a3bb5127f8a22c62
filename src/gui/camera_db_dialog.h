#pragma once

#include <QDialog>
#include <QPointer>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "camdb/camera_db_editor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QPlainTextEdit;

namespace qvi {

// Asks for a camera's new name. OK hands the name to `tryName`, which shows
// why a name is refused; the dialog stays open until a name is taken.
class CRenameDlg : public QDialog {
    Q_OBJECT

public:
    using NameCheck = std::function<bool(const std::string &name)>;

    CRenameDlg(const QString &currentName, NameCheck tryName, QWidget *parent = nullptr);

    QLineEdit *nameEdit() const { return nameEdit_; }
    QPushButton *okButton() const { return okButton_; }

public slots:
    void accept() override;

private:
    NameCheck tryName_;
    QLineEdit *nameEdit_;
    QPushButton *okButton_;
};

// The modeless Camera Database dialog: draws what CameraDbEditor decides over
// its working copy. When it ends it emits closedWith() with 1 (OK, the file
// was saved) or 2 (Cancel); the window that opened it then destroys it and,
// on 1, reloads the program's database from the file.
class CCameraDbDlg : public QDialog {
    Q_OBJECT

public:
    // `workingCopy` is a fresh database of the program's kind, not installed
    // for the camera rows; it is loaded here from `databaseFile`.
    CCameraDbDlg(std::unique_ptr<QV_camera_db> workingCopy, std::filesystem::path databaseFile,
                 QWidget *parent = nullptr);
    ~CCameraDbDlg() override;

    const CameraDbEditor &editor() const { return editor_; }

    QListWidget *cameraList() const { return cameraList_; }
    QPushButton *duplicateButton() const { return duplicateButton_; }
    QPushButton *renameButton() const { return renameButton_; }
    QPushButton *deleteButton() const { return deleteButton_; }
    QLineEdit *cnfFileEdit() const { return cnfFileEdit_; }
    QPushButton *selectButton() const { return selectButton_; }
    QLineEdit *cablePartEdit() const { return cablePartEdit_; }
    QComboBox *moduleBox() const { return moduleBox_; }
    QCheckBox *portBox(int port) const { return portBoxes_.at(static_cast<std::size_t>(port)); }
    QPushButton *allButton() const { return allButton_; }
    QPlainTextEdit *commentsEdit() const { return commentsEdit_; }
    QPushButton *okButton() const { return okButton_; }
    QPushButton *cancelButton() const { return cancelButton_; }
    // The open rename dialog; null when none is open.
    CRenameDlg *renameDialog() const { return renameDialog_; }

signals:
    void closedWith(int code);

public slots:
    void accept() override;
    void reject() override;

private:
    void BuildWidgets();
    void FillList();
    void ShowSelection();
    CameraFields ShownFields() const;
    void SelectionChanged(int row);
    void SelectConfigFile();
    void TickAllPorts();
    void DuplicateCamera();
    void DeleteCamera();
    void RenameCamera();
    void Finish(int code);

    CameraDbEditor editor_;

    QListWidget *cameraList_ = nullptr;
    QPushButton *duplicateButton_ = nullptr;
    QPushButton *renameButton_ = nullptr;
    QPushButton *deleteButton_ = nullptr;
    QLineEdit *cnfFileEdit_ = nullptr;
    QPushButton *selectButton_ = nullptr;
    QLineEdit *cablePartEdit_ = nullptr;
    QComboBox *moduleBox_ = nullptr;
    std::array<QCheckBox *, 4> portBoxes_{};
    QPushButton *allButton_ = nullptr;
    QPlainTextEdit *commentsEdit_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QPointer<CRenameDlg> renameDialog_;
};

}  // namespace qvi
