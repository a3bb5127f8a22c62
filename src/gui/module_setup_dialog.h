#pragma once

#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>

#include "params/module_setup.h"

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QWheelEvent;

namespace qvi {

class CValueEntryDlg;

// One tab of the Module Setup dialog: the "Parameter" frame with rows 1 to 19
// (a label and either a drop-down or a read-only number field) and the
// vertical scroll bar. It draws what a RowPager describes and reports what
// the user did; it decides nothing itself.
class CParamPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRowPitch = 26;

    explicit CParamPage(QWidget *parent);

    // The page height that shows `rows` rows, and the rows a height shows.
    static int HeightForRows(int rows);
    static int RowsForHeight(int height);

    void Draw(const RowPager &pager);
    void DrawRow(const RowPager &pager, int row);

    // Rows 1 to 19; row 0 is the page selector's place and has no widgets.
    QLabel *Label(int row) const { return rows_.at(Slot(row)).label; }
    QComboBox *DropDown(int row) const { return rows_.at(Slot(row)).dropDown; }
    QLineEdit *NumberField(int row) const { return rows_.at(Slot(row)).field; }
    QScrollBar *ScrollBar() const { return scrollBar_; }
    // The row a widget of this page belongs to; -1 for any other widget.
    int RowOf(const QObject *widget) const;
    // Gives the focus to the control a row shows; false when it shows none
    // that can take it.
    bool FocusRow(int row);

    // Tab and Shift+Tab on a row ask where the focus goes: the row that now
    // shows the next entry that way (the rows scrolled and redrawn), or -1
    // to let the focus leave the rows.
    using FocusMover = std::function<int(int row, bool forward)>;
    void SetFocusMover(FocusMover mover) { moveFocus_ = std::move(mover); }

signals:
    void dropDownChanged(int row, int index);
    // A click, or Enter, F2 or Space on the focused field.
    void numberFieldActivated(int row, bool byKeyboard);
    void scrolled(qvi::ScrollMove move, int thumbPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    struct Row {
        QLabel *label = nullptr;
        QComboBox *dropDown = nullptr;
        QLineEdit *field = nullptr;
    };
    static std::size_t Slot(int row) { return static_cast<std::size_t>(row - 1); }
    void PlaceRows();
    bool KeyPressed(int row, QObject *watched, const QKeyEvent &key);
    bool Wheeled(QObject *watched, QWheelEvent &wheel);
    // The wheel scrolls the rows as the system's wheel setting says.
    void ScrollByWheel(QWheelEvent &wheel);

    QGroupBox *frame_ = nullptr;
    std::array<Row, RowPager::kMaxCapacity> rows_{};
    QScrollBar *scrollBar_ = nullptr;
    int rowsShown_ = RowPager::kMaxCapacity;
    int wheelRemainder_ = 0;  // a high-resolution wheel's part of a notch
    FocusMover moveFocus_;
};

// The modeless Module Setup dialog of one system element: one tab per
// parameter group (the second module's first), OK, Cancel, View Registers and
// Help. Every change goes through ModuleSetup; the widgets only draw.
class CModuleSetupDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMargin = 4;
    static constexpr int kInitialWidth = 460;

    // Runs a value entry dialog to its end and returns its result; the
    // default runs it modally.
    using ValueEntryRunner = std::function<int(CValueEntryDlg &)>;

    // `setup` belongs to the caller and must outlive the dialog or its Ok/Cancel.
    CModuleSetupDlg(ModuleSetup &setup, ModuleSetupHost &host, const std::string &description,
                    QWidget *mainWindow);

    // Right edge at the main window's right edge, 50 px below its top, cascaded
    // by the element index; once shown, when the window frame is known.
    void PlaceAgainst(const QWidget &mainWindow);
    void SetHelp(std::function<void(int topic)> help) { help_ = std::move(help); }
    void SetShowConsole(std::function<void()> showConsole) {
        showConsole_ = std::move(showConsole);
    }
    void SetValueEntryRunner(ValueEntryRunner runner) { runValueEntry_ = std::move(runner); }

    int ElementIndex() const { return elementIndex_; }
    QTabWidget *Tabs() const { return tabs_; }
    CParamPage *Page(int tab) const;
    QPushButton *OkButton() const { return okButton_; }
    QPushButton *CancelButton() const { return cancelButton_; }
    QPushButton *ViewRegistersButton() const { return registersButton_; }
    QPushButton *HelpButton() const { return helpButton_; }
    // The rows each page shows at the dialog's present height.
    int RowsShown() const;

    // Closing the window counts as Cancel.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BuildTabs();
    void BuildButtons();
    int ChromeHeight() const;
    void LayOut();
    void DrawAll();
    void OnDropDown(int tab, int row, int index);
    void OnNumberField(int tab, int row, bool byKeyboard);
    int OnMoveFocus(int tab, int row, bool forward);
    void OnScroll(int tab, ScrollMove move, int thumbPosition);
    void OnOk();
    void OnCancel();
    void OnViewRegisters();
    void ShowHelp(int row);
    // The row of the focused widget on the current page; -1 when none.
    int FocusedRow() const;

    ModuleSetup *setup_;  // null once OK or Cancel handed the dialog back
    ModuleSetupHost &host_;
    const int elementIndex_;
    std::function<void(int)> help_;
    std::function<void()> showConsole_;
    ValueEntryRunner runValueEntry_;
    QTabWidget *tabs_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QPushButton *registersButton_ = nullptr;
    QPushButton *helpButton_ = nullptr;
    int lastRow_ = -1;
};

}  // namespace qvi
