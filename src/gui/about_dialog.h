#pragma once

#include <QDialog>

#include "app/about_info.h"

class QFormLayout;
class QLabel;

namespace qvi {

// The About box: the machine's memory and free disk space, the program's
// version block and the core library in use, as CollectAboutInfo found them.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(const AboutInfo &info, QWidget *parent = nullptr);

    // The value shown beside a field label ("RAM Size", ...); empty for an
    // unknown label.
    QString FieldText(const QString &label) const;

private:
    void AddField(const QString &label, const std::string &value);

    QFormLayout *form_;
    QList<QPair<QString, QLabel *>> fields_;
};

}  // namespace qvi
