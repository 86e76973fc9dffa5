#pragma once
// Waypoint edit dialog: adds, edits or shows one chart waypoint.
// Created at start-up with the other forms; lives until exit.

#include <QDialog>

class TWPeditDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TWPeditDlg(QWidget* parent = nullptr);
};

extern TWPeditDlg* WPeditDlg;
