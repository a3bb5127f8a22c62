// The Acquisition Self-Test window: progress while the boards are tested, then the report.
#include "gui/self_test_dialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/qt_clock.h"

namespace qvi {

namespace {
constexpr int kWidth = 820;
constexpr int kHeight = 520;
}  // namespace

CSelfTestDialog::CSelfTestDialog(const QV_system &system, std::string configuration, Saver save,
                                 QWidget *parent)
    : QDialog(parent),
      system_(system),
      configuration_(std::move(configuration)),
      save_(std::move(save)) {
    setWindowTitle("Acquisition Self-Test");
    resize(kWidth, kHeight);
    status_ = new QLabel("Starting...", this);
    progress_ = new QProgressBar(this);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    saved_ = new QLabel(this);
    saved_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cancel_ = new QPushButton("Cancel", this);
    close_ = new QPushButton("Close", this);
    close_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancelRequested_ = true;
        status_->setText("Cancelling after this board...");
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(close_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addWidget(text_, 1);
    layout->addWidget(saved_);
    layout->addLayout(buttons);
}

QString CSelfTestDialog::ReportText() const {
    return text_->toPlainText();
}

QString CSelfTestDialog::SavedText() const {
    return saved_->text();
}

// The test starts once the window is on the screen, so its progress shows.
void CSelfTestDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!started_) QTimer::singleShot(0, this, &CSelfTestDialog::Run);
    started_ = true;
}

// The clock's waits hold back user input; between boards it is let through,
// so a Cancel click takes effect before the next board.
bool CSelfTestDialog::Progress(int done, int total, const std::string &board) {
    QApplication::processEvents();
    progress_->setRange(0, total);
    progress_->setValue(done);
    status_->setText(QString("Testing %1 (%2 of %3)...")
                         .arg(QString::fromStdString(board))
                         .arg(done + 1)
                         .arg(total));
    return !cancelRequested_;
}

void CSelfTestDialog::Run() {
    QtClock clock;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    report_ = RunSelfTest(system_, clock, configuration_, {},
                          [this](int done, int total, const std::string &board) {
                              return Progress(done, total, board);
                          });
    QApplication::restoreOverrideCursor();
    const std::string text = SelfTestReportText(report_);
    text_->setPlainText(QString::fromStdString(text));
    progress_->setValue(progress_->maximum());
    status_->setText(report_.Passed() ? "The self-test passed." : "The self-test did not pass.");
    saved_->setText(QString::fromStdString(save_(text)));
    cancel_->setEnabled(false);
    close_->setEnabled(true);
    close_->setDefault(true);
    finished_ = true;
}

}  // namespace qvi
