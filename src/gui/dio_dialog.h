#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "acquire/dio_test.h"

class QCheckBox;
class QRadioButton;

namespace qvi {

class QtClock;

// "Digital I/O Test": the board's 8 input lines read every 100 ms, its 8
// output lines, the input buffer enable with the strobe polarity (offered
// only while the buffer is enabled), and the interrupt and output-strobe
// choices.
class CDioTestDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLines = DioTest::kLines;

    CDioTestDlg(ImageDocument &document, QWidget *parent);
    ~CDioTestDlg() override;

    QCheckBox *InputBox(int line) const { return inputs_[static_cast<std::size_t>(line)]; }
    QCheckBox *OutputBox(int line) const { return outputs_[static_cast<std::size_t>(line)]; }
    QCheckBox *BufferEnableBox() const { return bufferEnable_; }
    QRadioButton *RisingEdgeButton() const { return rising_; }
    QRadioButton *FallingEdgeButton() const { return falling_; }
    DioTest &Test() { return *test_; }

signals:
    // Help asks for the dialog's page.
    void helpRequested(int topic);

protected:
    void done(int result) override;

private:
    QWidget *CreateInputs();
    QWidget *CreateOutputs();
    QWidget *CreatePortMode();
    void ShowInputs(int inputs);
    void ShowPortMode();

    QtClock *clock_ = nullptr;
    std::array<QCheckBox *, kLines> inputs_{};
    std::array<QCheckBox *, kLines> outputs_{};
    QCheckBox *bufferEnable_ = nullptr;
    QRadioButton *rising_ = nullptr;
    QRadioButton *falling_ = nullptr;
    std::unique_ptr<DioTest> test_;
};

}  // namespace qvi
