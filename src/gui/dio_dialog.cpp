// The Digital I/O Test dialog.
#include "gui/dio_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/help_pages.h"
#include "gui/qt_clock.h"

namespace qvi {

namespace {

// Two radio buttons in a titled group, the first checked.
QGroupBox *RadioPair(const QString &title, const QString &first, const QString &second,
                     QRadioButton **firstButton, QRadioButton **secondButton, QWidget *parent) {
    auto *group = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(group);
    auto *a = new QRadioButton(first, group);
    auto *b = new QRadioButton(second, group);
    a->setChecked(true);
    layout->addWidget(a);
    layout->addWidget(b);
    if (firstButton) *firstButton = a;
    if (secondButton) *secondButton = b;
    return group;
}

}  // namespace

CDioTestDlg::CDioTestDlg(ImageDocument &document, QWidget *parent) : QDialog(parent) {
    setObjectName("dioTestDialog");
    setAttribute(Qt::WA_DeleteOnClose);
    clock_ = new QtClock(this);
    auto *layout = new QVBoxLayout(this);
    auto *lines = new QHBoxLayout;
    lines->addWidget(CreateInputs());
    lines->addWidget(CreateOutputs());
    layout->addLayout(lines);
    layout->addWidget(CreatePortMode());
    auto *close = new QPushButton("Close", this);
    auto *help = new QPushButton("Help", this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this,
            [this] { emit helpRequested(HelpBook::kDioDialogTopic); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    // Opening turns every output off and reads the inputs once; the timer
    // reads them again every 100 ms.
    test_ =
        std::make_unique<DioTest>(document, *clock_, [this](int inputs) { ShowInputs(inputs); });
    setWindowTitle(QString::fromStdString(test_->Caption()));
    ShowInputs(test_->Inputs());
    ShowPortMode();
}

CDioTestDlg::~CDioTestDlg() {
    if (test_) test_->Close();
}

QWidget *CDioTestDlg::CreateInputs() {
    auto *group = new QGroupBox("Inputs", this);
    auto *layout = new QVBoxLayout(group);
    for (int line = 0; line < kLines; ++line) {
        auto *box = new QCheckBox(QString("Input %1").arg(line), group);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);  // shows the line, takes no click
        box->setFocusPolicy(Qt::NoFocus);
        inputs_[static_cast<std::size_t>(line)] = box;
        layout->addWidget(box);
    }
    return group;
}

QWidget *CDioTestDlg::CreateOutputs() {
    auto *group = new QGroupBox("Outputs", this);
    auto *layout = new QVBoxLayout(group);
    for (int line = 0; line < kLines; ++line) {
        auto *box = new QCheckBox(QString("Output %1").arg(line), group);
        outputs_[static_cast<std::size_t>(line)] = box;
        layout->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, line, box] {
            test_->ToggleOutput(line);
            box->setChecked(((test_->Outputs() >> line) & 1) != 0);
        });
    }
    return group;
}

QWidget *CDioTestDlg::CreatePortMode() {
    auto *group = new QGroupBox("Port mode", this);
    auto *layout = new QGridLayout(group);
    bufferEnable_ = new QCheckBox("Input Buffer Enable", group);
    layout->addWidget(bufferEnable_, 0, 0);
    layout->addWidget(RadioPair("Input Strobe Polarity", "Rising Edge", "Falling Edge", &rising_,
                                &falling_, group),
                      1, 0);
    layout->addWidget(
        RadioPair("Interrupt Polarity", "Rising Edge", "Falling Edge", nullptr, nullptr, group), 1,
        1);
    layout->addWidget(
        RadioPair("Output Strobe", "Driven Low", "Driven High", nullptr, nullptr, group), 1, 2);
    connect(bufferEnable_, &QCheckBox::clicked, this, [this] {
        test_->ToggleInputBufferEnable();
        ShowPortMode();
    });
    // The polarity takes effect with the next change of the buffer enable.
    connect(falling_, &QRadioButton::toggled, this,
            [this](bool falling) { test_->SetInportStrobePolarity(falling ? 1 : 0); });
    return group;
}

void CDioTestDlg::ShowInputs(int inputs) {
    for (int line = 0; line < kLines; ++line)
        InputBox(line)->setChecked(((inputs >> line) & 1) != 0);
}

void CDioTestDlg::ShowPortMode() {
    bufferEnable_->setChecked(test_->InputBufferEnable());
    rising_->setEnabled(test_->StrobePolarityEnabled());
    falling_->setEnabled(test_->StrobePolarityEnabled());
}

void CDioTestDlg::done(int result) {
    test_->Close();
    QDialog::done(result);
}

}  // namespace qvi
