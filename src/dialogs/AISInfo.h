#pragma once
// AIS target data window: the data of the selected AIS target, modeless.
// Created at start-up with the other forms; lives until exit.

#include <QDialog>

class TAISInfo : public QDialog
{
    Q_OBJECT

public:
    explicit TAISInfo(QWidget* parent = nullptr);
};

extern TAISInfo* AISInfo;
