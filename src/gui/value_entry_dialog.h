#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "params/scroll.h"
#include "params/value_entry.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace qvi {

// The scroll move a QAbstractSlider action stands for; none for actions the
// logic does not know.
std::optional<ScrollMove> ScrollMoveForAction(int sliderAction);

// "Please Enter a value...": the small modal dialog that edits one number or
// text row of a Module Setup page. It draws what ValueEntry decides; nothing
// reaches the row before Apply or OK.
class CValueEntryDlg : public QDialog {
    Q_OBJECT

public:
    // refreshOwner tells the row's board to refresh after an Apply that asks for it.
    CValueEntryDlg(QV_usr_param &row, std::function<void()> refreshOwner, QWidget *parent);

    // Right edge against the left edge of the row's field, top level with its
    // top; `field` is in global coordinates.
    void PlaceBeside(const QRect &field);
    void SetHelp(std::function<void(int topic)> help) { help_ = std::move(help); }

    const ValueEntry &Entry() const { return entry_; }
    QLineEdit *Edit() const { return edit_; }
    QScrollBar *ScrollBar() const { return scrollBar_; }
    QLabel *MinLabel() const { return minLabel_; }
    QLabel *MaxLabel() const { return maxLabel_; }
    QPushButton *OkButton() const { return okButton_; }
    QPushButton *CancelButton() const { return cancelButton_; }
    QPushButton *ApplyButton() const { return applyButton_; }
    QPushButton *HelpButton() const { return helpButton_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildWidgets();
    void Draw();
    void OnScrollAction(int action);
    void OnApply();
    void OnOk();
    std::string Typed() const;

    ValueEntry entry_;
    std::function<void(int)> help_;
    QLineEdit *edit_ = nullptr;
    QScrollBar *scrollBar_ = nullptr;
    QLabel *minLabel_ = nullptr;
    QLabel *maxLabel_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QPushButton *applyButton_ = nullptr;
    QPushButton *helpButton_ = nullptr;
};

}  // namespace qvi
