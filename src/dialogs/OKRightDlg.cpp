#include "dialogs/OKRightDlg.h"

#include "dialogs/SettingsDialog.h"
#include "platform/QtText.h"
#include "platform/QtWindowTitle.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TOKRightDlg* OKRightDlg = nullptr;

TOKRightDlg::TOKRightDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("OKRightDlg");
    setWindowTitle("Edit Selected Route Waypoint");
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel("Enter new WP name if required", this));
    NewWPname = new QLineEdit(this);
    NewWPname->setObjectName("NewWPname");
    column->addWidget(NewWPname);
    MoveWP = new QCheckBox("Move WP to Cursor  Position", this);
    MoveWP->setObjectName("MoveWP");
    column->addWidget(MoveWP);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    platform::KeepTitleInView(*this);
}

bool TOKRightDlg::Execute(TOKRightDlgSettings& settings)
{
    return ExecuteOn(*this, settings);
}

void TOKRightDlg::SetControls(const TOKRightDlgSettings& settings)
{
    NewWPname->setText(platform::qs(settings.NewWPname));
    MoveWP->setChecked(settings.MoveWP);
}

TOKRightDlgSettings TOKRightDlg::Controls() const
{
    return { ls(NewWPname->text()), MoveWP->isChecked() };
}
