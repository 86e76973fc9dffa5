#pragma once
// AIS target data window ("AIS Target Data"): a small modeless window that
// lists the data of the selected AIS target. The AIS view writes its text
// (Memo1) and shows or hides it with its "AIS" button; closing the window
// only hides it. The window itself offers copying, word wrap, staying on
// top, minimising and, while the AIS view does not pick the nearest target
// itself, stepping through the targets with TgtNum.
//
// Created at start-up with the other forms; lives until exit.

#include <QDialog>

class QAction;
class QMenu;
class QPlainTextEdit;
class QToolButton;

class TAISInfo : public QDialog
{
    Q_OBJECT

public:
    explicit TAISInfo(QWidget* parent = nullptr);

    void FormCreate();
    void StayOnTop1Click();
    void WordWrap1Click();
    void SelectAll1Click();
    void Copy1Click();
    void Minimise1Click();
    // The selection one target down or up (unchanged at either end), then
    // the views redrawn for it (RefreshRequested).
    void TgtNumDownClick();
    void TgtNumUpClick();
    // Where the window's frame comes the first time it is shown: (6, 84) from
    // the main window's top left corner, lower where the main window's menu
    // and tool bars reach further down, so that it covers none of their
    // buttons; (6, 84) on the screen while the main window is not up.
    QPoint HomePosition() const;

    QPlainTextEdit* Memo1;
    QWidget* TgtNum; // the spin: TgtNumUp above TgtNumDown
    QToolButton *TgtNumUp, *TgtNumDown;
    QMenu* AISpopup;
    QAction *StayOnTop1, *WordWrap1, *SelectAll1, *Copy1, *Minimise1;

signals:
    // The selection changed by hand: every view is to be redrawn.
    void RefreshRequested();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    bool placed_ = false;
};

extern TAISInfo* AISInfo;
