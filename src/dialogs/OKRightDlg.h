#pragma once
// Route waypoint name dialog ("Edit Selected Route Waypoint"): a new name and
// whether to move the waypoint to the cursor. Created at start-up with the
// other forms; lives until exit.
//
// Its controls are a value (TOKRightDlgSettings) that Execute shows and
// writes back only on OK, as in GlobalDlg.h.

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;

struct TOKRightDlgSettings {
    std::string NewWPname; // Latin-1
    bool MoveWP = false;
    bool operator==(const TOKRightDlgSettings&) const = default;
};

class TOKRightDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TOKRightDlg(QWidget* parent = nullptr);

    bool Execute(TOKRightDlgSettings& settings);
    void SetControls(const TOKRightDlgSettings& settings);
    TOKRightDlgSettings Controls() const;

    QLineEdit* NewWPname;
    QCheckBox* MoveWP;
};

extern TOKRightDlg* OKRightDlg;
