#pragma once

#include <memory>
#include <string>
#include <vector>

#include "params/param_val.h"

namespace qvi {

class QV_mod;
class QV_mod_param;

using ParamList = std::vector<std::unique_ptr<QV_mod_param>>;

// The parameter with that handle; null when the list has none.
QV_mod_param *FindParam(const ParamList &params, int handle);

// The control a row of the Module Setup dialog shows.
enum class ControlKind : int {
    DropDown = 0,  // a list of labels
    Number = 1,    // a number field with limits
    Text = 2,      // a text field
};

// What the dialog redraws after a drop-down change.
enum RowResult : int {
    kRedrawRow = 1,   // nothing beyond the row
    kRedrawRows = 2,  // every row of the page
    kRedrawPage = 3,  // the page, from the newly chosen group
};

// One row of the Module Setup dialog: a label, a control, and the module
// parameter it edits (found by handle when the row is built). The base answers
// every control's operations; a row asked for a control it does not have
// reports it and changes nothing.
class QV_usr_param {
public:
    QV_usr_param(std::string label, ControlKind kind, int id, const ParamList &params, int handle);
    // A row that edits no module parameter (the page selector).
    QV_usr_param(std::string label, ControlKind kind, int id);
    virtual ~QV_usr_param() = default;
    QV_usr_param(const QV_usr_param &) = delete;
    QV_usr_param &operator=(const QV_usr_param &) = delete;

    virtual void Refresh() {}

    // Drop-down rows.
    virtual int SetIndex(int index);
    virtual int GetIndex();
    virtual std::vector<std::string> GetChoices() const;

    // Number and text rows.
    virtual int SetValue(const QV_param_val &value);
    virtual QV_param_val GetValue();
    virtual QV_param_val GetMin() const;
    virtual QV_param_val GetMax() const;
    virtual QV_param_val GetStep() const;

    const std::string &GetLabel() const { return label_; }
    ControlKind GetControlKind() const { return kind_; }
    QV_mod_param *GetParam() const { return param_; }
    int GetId() const { return id_; }
    QV_mod *GetModule() const { return module_; }
    void SetModule(QV_mod *module) { module_ = module; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool NotifiesOwner() const { return notifyOwner_; }
    void SetNotifyOwner(bool notify) { notifyOwner_ = notify; }

protected:
    // Reports a row without a module parameter; true when it has one.
    bool HasParam(const char *operation) const;
    void ReportWrongControl(const char *operation) const;

private:
    std::string label_;
    ControlKind kind_;
    QV_mod_param *param_;
    int id_;
    QV_mod *module_ = nullptr;
    bool enabled_ = true;
    bool notifyOwner_ = false;
};

using UsrParamList = std::vector<std::unique_ptr<QV_usr_param>>;

// A drop-down of labels, one per choice of the parameter, in choice order.
class QV_choice_usr_param : public QV_usr_param {
public:
    QV_choice_usr_param(std::string label, int id, const ParamList &params, int handle,
                        std::vector<std::string> labels);

    int SetIndex(int index) override;
    int GetIndex() override;
    std::vector<std::string> GetChoices() const override { return labels_; }

protected:
    bool IsValidIndex(int index, const char *operation) const;
    void SetLabels(std::vector<std::string> labels) { labels_ = std::move(labels); }
    std::vector<std::string> &Labels() { return labels_; }

private:
    std::vector<std::string> labels_;
};

// A number field with a minimum, a maximum and a step for the value entry dialog.
class QV_range_usr_param : public QV_usr_param {
public:
    QV_range_usr_param(std::string label, int id, const ParamList &params, int handle,
                       QV_param_val min, QV_param_val max, QV_param_val step);

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;
    QV_param_val GetMin() const override { return min_; }
    QV_param_val GetMax() const override { return max_; }
    QV_param_val GetStep() const override { return step_; }

private:
    QV_param_val min_;
    QV_param_val max_;
    QV_param_val step_;
};

// A text field: the value is shown as text and typed text comes back as a text value.
class QV_value_usr_param : public QV_usr_param {
public:
    QV_value_usr_param(std::string label, int id, const ParamList &params, int handle);

    int SetValue(const QV_param_val &value) override;
    QV_param_val GetValue() override;
};

// Chooses the camera port through which every parameter of the module is seen.
class QV_port_usr_param : public QV_choice_usr_param {
public:
    QV_port_usr_param(std::string label, int id, const ParamList &params, int handle,
                      std::vector<std::string> labels);

    int SetIndex(int index) override;
    int GetIndex() override;

private:
    const ParamList &params_;
};

// The page selector: one label per group; choosing one shows that group.
class QV_page_usr_param : public QV_usr_param {
public:
    static constexpr int kId = 1000;

    explicit QV_page_usr_param(std::vector<std::string> groupNames);

    int SetIndex(int index) override;
    int GetIndex() override { return currentPage_; }
    std::vector<std::string> GetChoices() const override { return groupNames_; }

private:
    std::vector<std::string> groupNames_;
    int currentPage_ = 0;
};

}  // namespace qvi
