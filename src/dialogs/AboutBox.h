#pragma once
// The about box: program name and version. Shown modally by "&About" and at
// the end of the start; it closes itself 5 seconds after it becomes active,
// or earlier on OK. Its timer stops whenever the box closes, so a box shown
// again within the 5 seconds gets its full 5 seconds.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TTimer;

class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Event handlers; also called directly.
    void FormActivate(); // the box became active: start the self-close timer
    void Timer1Timer(); // 5 seconds are up: stop the timer and close
    void OKButtonClick(); // close with OK

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPushButton* OKButton;
    TTimer* Timer1; // 5000 ms, disabled until the box is active

    void done(int result) override;

protected:
    bool event(QEvent* e) override;
};

extern TAboutBox* AboutBox;
