#pragma once
// Route waypoint name dialog: a new name and whether to move the waypoint to the cursor.
// Created at start-up with the other forms; lives until exit.

#include <QDialog>

class TOKRightDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TOKRightDlg(QWidget* parent = nullptr);
};

extern TOKRightDlg* OKRightDlg;
