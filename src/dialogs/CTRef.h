#pragma once
// Image reference dialog: the geographic reference of a raster chartlet.
// Created at start-up with the other forms; lives until exit.

#include <QDialog>

class TCTRef : public QDialog
{
    Q_OBJECT

public:
    explicit TCTRef(QWidget* parent = nullptr);
};

extern TCTRef* CTRef;
