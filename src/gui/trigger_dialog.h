#pragma once

#include <QDialog>
#include <memory>

#include "acquire/triggered_acquisition.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace qvi {

class QtClock;

// "Triggered Acquisition": arms the image window's board for an external or
// a software trigger and shows the frame taken on it. Opening clears the
// window and turns the board's trigger mode on; closing turns it off and ends
// the SXA waiter thread before the dialog goes.
class CTriggerDlg : public QDialog {
    Q_OBJECT

public:
    CTriggerDlg(ImageDocument &document, TriggeredAcquisition::Setup setup, QWidget *parent);
    ~CTriggerDlg() override;

    TriggeredAcquisition &Tool() { return *tool_; }
    QRadioButton *ExternalButton() const { return external_; }
    QRadioButton *SoftwareButton() const { return software_; }
    QPushButton *ArmButton() const { return arm_; }
    QPushButton *ClearButton() const { return clear_; }

signals:
    // The frame on the window changed (a triggered frame, a cleared one).
    void imageChanged();
    // The dialog has closed; the window redisplays its image.
    void closed();
    // Help asks for the dialog's page.
    void helpRequested(int topic);

protected:
    void done(int result) override;

private:
    void OnSource();
    void OnArm();
    void OnClear();
    bool WaitForExternalTrigger(QV_board_plat_mod &board);

    QtClock *clock_ = nullptr;
    std::unique_ptr<TriggeredAcquisition> tool_;
    QRadioButton *external_ = nullptr;
    QRadioButton *software_ = nullptr;
    QPushButton *arm_ = nullptr;
    QPushButton *clear_ = nullptr;
};

// "Waiting for external trigger...": polls the board every second until the
// triggered frame is in (OK) or the user cancels.
class CTriggerWaitDlg : public QDialog {
    Q_OBJECT

public:
    CTriggerWaitDlg(QV_board_plat_mod &board, Clock &clock, QWidget *parent);

private:
    std::unique_ptr<ExternalTriggerWait> wait_;
};

}  // namespace qvi
