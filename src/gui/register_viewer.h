#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "app/board_registers.h"

class QCheckBox;
class QPushButton;
class QTableWidget;
class QTimer;

namespace qvi {

// The register viewer: a tool window listing a board's registers and their
// values, read again on Refresh or, while "Refresh every second" is checked,
// once a second. The main frame keeps at most one.
class CRegisterViewer : public QWidget {
    Q_OBJECT

public:
    using Reader = std::function<std::vector<RegisterReading>()>;

    CRegisterViewer(const QString &title, Reader read, QWidget *parent);

    QTableWidget *Table() const { return table_; }
    QPushButton *RefreshButton() const { return refresh_; }
    QCheckBox *AutoRefreshBox() const { return autoRefresh_; }

    void Refresh();

private:
    Reader read_;
    QTableWidget *table_ = nullptr;
    QPushButton *refresh_ = nullptr;
    QCheckBox *autoRefresh_ = nullptr;
    QTimer *timer_ = nullptr;
};

}  // namespace qvi
