// The Triggered Acquisition dialog and its wait box for the external trigger.
#include "gui/trigger_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/help_pages.h"
#include "gui/qt_clock.h"

namespace qvi {

CTriggerDlg::CTriggerDlg(ImageDocument &document, TriggeredAcquisition::Setup setup,
                         QWidget *parent)
    : QDialog(parent) {
    setObjectName("triggerDialog");
    setAttribute(Qt::WA_DeleteOnClose);
    clock_ = new QtClock(this);
    setup.waitForExternalTrigger = [this](QV_board_plat_mod &board) {
        return WaitForExternalTrigger(board);
    };
    tool_ = std::make_unique<TriggeredAcquisition>(document, *clock_, std::move(setup));
    setWindowTitle(QString::fromStdString(tool_->Caption()));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel("1. Select trigger source: external or software (TX-30 external only)", this));
    auto *group = new QGroupBox("Trigger source", this);
    auto *sources = new QHBoxLayout(group);
    external_ = new QRadioButton("External", group);
    software_ = new QRadioButton("Software", group);
    external_->setChecked(true);
    software_->setEnabled(tool_->SoftwareAllowed());
    sources->addWidget(external_);
    sources->addWidget(software_);
    layout->addWidget(group);
    layout->addWidget(
        new QLabel("2. Arm the external trigger or arm + fire the software trigger.", this));
    auto *buttons = new QHBoxLayout;
    arm_ = new QPushButton(QString::fromStdString(tool_->ArmLabel()), this);
    clear_ = new QPushButton("Clear frame", this);
    auto *close = new QPushButton("Close", this);
    auto *help = new QPushButton("Help", this);
    buttons->addWidget(arm_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    layout->addLayout(buttons);

    connect(external_, &QRadioButton::toggled, this, &CTriggerDlg::OnSource);
    connect(arm_, &QPushButton::clicked, this, &CTriggerDlg::OnArm);
    connect(clear_, &QPushButton::clicked, this, &CTriggerDlg::OnClear);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this,
            [this] { emit helpRequested(HelpBook::kTriggerDialogTopic); });
}

CTriggerDlg::~CTriggerDlg() {
    if (tool_) tool_->Close();
}

void CTriggerDlg::OnSource() {
    tool_->ChooseSource(external_->isChecked() ? TriggeredAcquisition::Source::External
                                               : TriggeredAcquisition::Source::Software);
    arm_->setText(QString::fromStdString(tool_->ArmLabel()));
}

void CTriggerDlg::OnArm() {
    tool_->Arm();
    arm_->setText(QString::fromStdString(tool_->ArmLabel()));
    emit imageChanged();
}

void CTriggerDlg::OnClear() {
    tool_->ClearFrame();
    arm_->setText(QString::fromStdString(tool_->ArmLabel()));
    emit imageChanged();
}

bool CTriggerDlg::WaitForExternalTrigger(QV_board_plat_mod &board) {
    CTriggerWaitDlg wait(board, *clock_, this);
    return wait.exec() == QDialog::Accepted;
}

// The timer and the waiter end before the dialog goes.
void CTriggerDlg::done(int result) {
    tool_->Close();
    QDialog::done(result);
    emit closed();
}

CTriggerWaitDlg::CTriggerWaitDlg(QV_board_plat_mod &board, Clock &clock, QWidget *parent)
    : QDialog(parent) {
    setObjectName("triggerWaitDialog");
    setWindowTitle("Waiting for external trigger...");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Press Cancel to stop waiting", this));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    wait_ = std::make_unique<ExternalTriggerWait>(board, clock, [this](bool triggered) {
        if (triggered) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        wait_->Cancel();
        reject();
    });
}

}  // namespace qvi
