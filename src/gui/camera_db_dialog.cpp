// The Camera Database dialog and its rename box.
#include "gui/camera_db_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

#include "gui/wheel_focus.h"

namespace qvi {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton *NamedButton(const QString &text, const QString &name, QWidget *parent) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CRenameDlg::CRenameDlg(const QString &currentName, NameCheck tryName, QWidget *parent)
    : QDialog(parent), tryName_(std::move(tryName)) {
    setWindowTitle("Rename");
    nameEdit_ = new QLineEdit(currentName, this);
    nameEdit_->setObjectName("nameEdit");
    nameEdit_->selectAll();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CRenameDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRenameDlg::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Enter a new name", this));
    layout->addWidget(nameEdit_);
    layout->addWidget(new QLabel("(19 character max)", this));
    layout->addWidget(buttons);
}

void CRenameDlg::accept() {
    if (tryName_ && !tryName_(nameEdit_->text().toStdString())) return;
    QDialog::accept();
}

CCameraDbDlg::CCameraDbDlg(std::unique_ptr<QV_camera_db> workingCopy,
                           std::filesystem::path databaseFile, QWidget *parent)
    : QDialog(parent), editor_(std::move(workingCopy), std::move(databaseFile)) {
    setWindowTitle("Camera Database");
    setModal(false);
    BuildWidgets();
    editor_.Open();
    FillList();
    ShowSelection();
}

CCameraDbDlg::~CCameraDbDlg() = default;

void CCameraDbDlg::BuildWidgets() {
    cameraList_ = new QListWidget(this);
    cameraList_->setObjectName("cameraList");
    duplicateButton_ = NamedButton("Duplicate", "duplicateButton", this);
    renameButton_ = NamedButton("Rename...", "renameButton", this);
    deleteButton_ = NamedButton("Delete", "deleteButton", this);

    auto *selectBox = new QGroupBox("Camera Select", this);
    auto *selectLayout = new QVBoxLayout(selectBox);
    selectLayout->addWidget(cameraList_);
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(duplicateButton_);
    listButtons->addWidget(renameButton_);
    listButtons->addWidget(deleteButton_);
    selectLayout->addLayout(listButtons);

    auto *info = new QGroupBox("Selected Camera Info", this);
    auto *grid = new QGridLayout(info);
    cnfFileEdit_ = new QLineEdit(info);
    cnfFileEdit_->setObjectName("cnfFileEdit");
    selectButton_ = NamedButton("Select...", "selectButton", info);
    grid->addWidget(new QLabel("CNF Filename:", info), 0, 0);
    grid->addWidget(cnfFileEdit_, 0, 1);
    grid->addWidget(selectButton_, 0, 2);

    cablePartEdit_ = new QLineEdit(info);
    cablePartEdit_->setObjectName("cablePartEdit");
    grid->addWidget(new QLabel("Cable Part No:", info), 1, 0);
    grid->addWidget(cablePartEdit_, 1, 1, 1, 2);

    moduleBox_ = new QComboBox(info);
    TakeWheelOnlyWhenFocused(*moduleBox_);
    moduleBox_->setObjectName("moduleBox");
    for (std::string_view key : QV_camera_db::ModuleKeys()) moduleBox_->addItem(ToQt(key));
    grid->addWidget(new QLabel("TX module:", info), 2, 0);
    grid->addWidget(moduleBox_, 2, 1, 1, 2);

    auto *ports = new QHBoxLayout;
    for (std::size_t port = 0; port < portBoxes_.size(); ++port) {
        portBoxes_[port] = new QCheckBox(QString::number(port), info);
        portBoxes_[port]->setObjectName(QString("portBox%1").arg(port));
        ports->addWidget(portBoxes_[port]);
    }
    allButton_ = NamedButton("All", "allButton", info);
    ports->addWidget(allButton_);
    grid->addWidget(new QLabel("Valid Ports:", info), 3, 0);
    grid->addLayout(ports, 3, 1, 1, 2);

    commentsEdit_ = new QPlainTextEdit(info);
    commentsEdit_->setObjectName("commentsEdit");
    grid->addWidget(new QLabel("User Comments", info), 4, 0, 1, 3);
    grid->addWidget(commentsEdit_, 5, 0, 1, 3);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setObjectName("okButton");
    cancelButton_ = buttons->button(QDialogButtonBox::Cancel);
    cancelButton_->setObjectName("cancelButton");

    auto *columns = new QHBoxLayout;
    columns->addWidget(selectBox);
    columns->addWidget(info, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);

    connect(cameraList_, &QListWidget::currentRowChanged, this, &CCameraDbDlg::SelectionChanged);
    connect(duplicateButton_, &QPushButton::clicked, this, &CCameraDbDlg::DuplicateCamera);
    connect(renameButton_, &QPushButton::clicked, this, &CCameraDbDlg::RenameCamera);
    connect(deleteButton_, &QPushButton::clicked, this, &CCameraDbDlg::DeleteCamera);
    connect(selectButton_, &QPushButton::clicked, this, &CCameraDbDlg::SelectConfigFile);
    connect(allButton_, &QPushButton::clicked, this, &CCameraDbDlg::TickAllPorts);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCameraDbDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCameraDbDlg::reject);
}

void CCameraDbDlg::FillList() {
    const QSignalBlocker blocker(cameraList_);
    cameraList_->clear();
    for (const std::string &name : editor_.Names()) cameraList_->addItem(ToQt(name));
    cameraList_->setCurrentRow(editor_.Count() > 0 ? editor_.Selection() : -1);
}

void CCameraDbDlg::ShowSelection() {
    const CameraFields fields = editor_.Show(editor_.Selection());
    const QSignalBlocker blockFile(cnfFileEdit_);
    const QSignalBlocker blockCable(cablePartEdit_);
    const QSignalBlocker blockComments(commentsEdit_);
    const QSignalBlocker blockModule(moduleBox_);
    cnfFileEdit_->setText(ToQt(fields.configFile));
    cablePartEdit_->setText(ToQt(fields.cablePartNumber));
    commentsEdit_->setPlainText(ToQt(fields.comments));
    moduleBox_->setCurrentIndex(fields.moduleIndex);
    for (std::size_t port = 0; port < portBoxes_.size(); ++port) {
        const QSignalBlocker blockPort(portBoxes_[port]);
        portBoxes_[port]->setChecked(fields.ports[port]);
    }
}

CameraFields CCameraDbDlg::ShownFields() const {
    CameraFields fields;
    fields.configFile = cnfFileEdit_->text().toStdString();
    fields.cablePartNumber = cablePartEdit_->text().toStdString();
    fields.comments = commentsEdit_->toPlainText().toStdString();
    fields.moduleIndex = moduleBox_->currentIndex();
    for (std::size_t port = 0; port < portBoxes_.size(); ++port)
        fields.ports[port] = portBoxes_[port]->isChecked();
    return fields;
}

// The camera being left keeps what its fields show.
void CCameraDbDlg::SelectionChanged(int row) {
    if (row < 0) return;
    editor_.Store(ShownFields());
    editor_.Select(row);
    ShowSelection();
}

void CCameraDbDlg::SelectConfigFile() {
    if (const std::optional<std::string> name = editor_.ChooseConfigFile())
        cnfFileEdit_->setText(ToQt(*name));
}

void CCameraDbDlg::TickAllPorts() {
    CameraFields fields = ShownFields();
    CameraDbEditor::TickAll(fields);
    for (std::size_t port = 0; port < portBoxes_.size(); ++port)
        portBoxes_[port]->setChecked(fields.ports[port]);
}

// The copy starts from what the fields show, not from what was last stored.
void CCameraDbDlg::DuplicateCamera() {
    editor_.Store(ShownFields());
    if (!editor_.Duplicate()) return;
    FillList();
    ShowSelection();
}

void CCameraDbDlg::DeleteCamera() {
    if (!editor_.Delete()) return;
    FillList();
    ShowSelection();
}

void CCameraDbDlg::RenameCamera() {
    if (renameDialog_) {
        renameDialog_->activateWindow();
        return;
    }
    renameDialog_ = new CRenameDlg(
        ToQt(editor_.SelectedName()),
        [this](const std::string &name) {
            if (!editor_.Rename(name)) return false;
            if (QListWidgetItem *item = cameraList_->item(editor_.Selection())) {
                const QSignalBlocker blocker(cameraList_);
                item->setText(ToQt(name));
            }
            return true;
        },
        this);
    renameDialog_->setAttribute(Qt::WA_DeleteOnClose);
    renameDialog_->open();
}

void CCameraDbDlg::accept() {
    const int code = editor_.Accept(ShownFields());
    if (code != 0) Finish(code);
}

void CCameraDbDlg::reject() {
    Finish(editor_.Reject());
}

void CCameraDbDlg::Finish(int code) {
    if (renameDialog_) renameDialog_->close();
    QDialog::done(code);
    emit closedWith(code);
}

}  // namespace qvi
