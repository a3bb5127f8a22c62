#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/self_test.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace qvi {

class QV_system;

// The Acquisition Self-Test window: runs the test over the configuration's
// boards as soon as it is shown, with progress and Cancel, then shows the
// report and where it was kept.
class CSelfTestDialog : public QDialog {
    Q_OBJECT

public:
    // `save` keeps the report text and says where (or why not), for the last line.
    using Saver = std::function<std::string(const std::string &text)>;

    CSelfTestDialog(const QV_system &system, std::string configuration, Saver save,
                    QWidget *parent);

    bool Finished() const { return finished_; }
    const SelfTestReport &Report() const { return report_; }
    QString ReportText() const;
    QString SavedText() const;
    QPushButton *CancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Run();
    bool Progress(int done, int total, const std::string &board);

    const QV_system &system_;
    std::string configuration_;
    Saver save_;
    SelfTestReport report_;
    bool started_ = false;
    bool finished_ = false;
    bool cancelRequested_ = false;
    QLabel *status_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QPlainTextEdit *text_ = nullptr;
    QLabel *saved_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QPushButton *close_ = nullptr;
};

}  // namespace qvi
