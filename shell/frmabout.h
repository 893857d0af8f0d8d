#pragma once
// The about box: the product, its version, the maker's addresses and the
// folders that hold the person's files.

#include <QDialog>

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
};
