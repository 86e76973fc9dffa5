#pragma once
// View and zoom properties of a chart view; one instance shared by all views.
// Created at start-up with the other forms; lives until exit.

#include <QDialog>

class TView_ZoomDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TView_ZoomDlg(QWidget* parent = nullptr);
};

extern TView_ZoomDlg* View_ZoomDlg;
