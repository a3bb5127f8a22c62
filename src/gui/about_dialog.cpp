// The About box.
#include "gui/about_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qvi {

CAboutDlg::CAboutDlg(const AboutInfo &info, QWidget *parent)
    : QDialog(parent), form_(new QFormLayout) {
    setWindowTitle(QStringLiteral("About Camera Configurator"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    AddField(QStringLiteral("RAM Size"), info.ramSize);
    AddField(QStringLiteral("Disk Space"), info.diskFree);
    AddField(QStringLiteral("Company Name"), info.companyName);
    AddField(QStringLiteral("File Description"), info.fileDescription);
    AddField(QStringLiteral("File Version"), info.fileVersion);
    AddField(QStringLiteral("Legal Copyright"), info.legalCopyright);
    AddField(QStringLiteral("Core Library"), info.coreDllName);
    AddField(QStringLiteral("Loaded From"), info.coreDllPath);
}

void CAboutDlg::AddField(const QString &label, const std::string &value) {
    auto *text = new QLabel(QString::fromStdString(value), this);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form_->addRow(label + QLatin1Char(':'), text);
    fields_.append({label, text});
}

QString CAboutDlg::FieldText(const QString &label) const {
    for (const auto &field : fields_)
        if (field.first == label) return field.second->text();
    return {};
}

}  // namespace qvi
