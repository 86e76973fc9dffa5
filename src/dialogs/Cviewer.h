#pragma once
// Raster image viewer: a scanned chart or photograph with the own track on it.
// Created at start-up with the other forms; lives until exit.

#include <QDialog>

class TCviewer : public QDialog
{
    Q_OBJECT

public:
    explicit TCviewer(QWidget* parent = nullptr);
};

extern TCviewer* Cviewer;
