// The register viewer tool window.
#include "gui/register_viewer.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qvi {

namespace {

constexpr int kAutoRefreshMs = 1000;

QTableWidgetItem *Cell(const QString &text) {
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

CRegisterViewer::CRegisterViewer(const QString &title, Reader read, QWidget *parent)
    : QWidget(parent, Qt::Tool), read_(std::move(read)) {
    setObjectName("registerViewer");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels({"Module", "Register", "Value"});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    refresh_ = new QPushButton("&Refresh", this);
    autoRefresh_ = new QCheckBox("Refresh &every second", this);
    auto *close = new QPushButton("&Close", this);
    timer_ = new QTimer(this);
    timer_->setInterval(kAutoRefreshMs);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(refresh_);
    buttons->addWidget(autoRefresh_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(360, 480);

    connect(refresh_, &QPushButton::clicked, this, &CRegisterViewer::Refresh);
    connect(timer_, &QTimer::timeout, this, &CRegisterViewer::Refresh);
    connect(autoRefresh_, &QCheckBox::toggled, this,
            [this](bool on) { on ? timer_->start() : timer_->stop(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    Refresh();
}

void CRegisterViewer::Refresh() {
    const std::vector<RegisterReading> readings = read_();
    table_->setRowCount(static_cast<int>(readings.size()));
    for (int row = 0; row < static_cast<int>(readings.size()); ++row) {
        const RegisterReading &reading = readings[static_cast<std::size_t>(row)];
        table_->setItem(row, 0, Cell(QString::fromStdString(reading.owner)));
        table_->setItem(row, 1, Cell(QString::number(reading.reg)));
        table_->setItem(row, 2, Cell(QString::fromStdString(RegisterValueText(reading))));
    }
}

}  // namespace qvi
