#pragma once
// frmEditLookUp: one entry of the pick list that frmLookUp shows, new or
// existing. OK checks the text and completes the entry in memory (frmLookUp
// saves it later); a refused text keeps the dialog open. Cancel, the close
// box and Escape abandon the entry.
//
// It is shown modally only over the one frmLookUp, whose cls1() it edits
// and whose bAdd chooses between adding and modifying.

#include <QColor>
#include <QDialog>
#include <QVector>

class QLabel;
class QLineEdit;
class QPushButton;

class frmEditLookUp : public QDialog {
    Q_OBJECT
public:
    static inline const QColor kNormalColor{224, 199, 112}; // &H70C7E0
    static inline const QColor kAddingColor{192, 255, 255}; // &HFFFFC0

    explicit frmEditLookUp(QWidget* parent = nullptr);

    void Form_Load();
    // Hands the text to the entry's checks; a refused text gets the focus.
    bool bValDat();

    QVector<QLineEdit*> txtFld;
    QVector<QLabel*> lblTxt;
    QLabel* lblLookUps = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The close box and Escape act as Cancel.
    void reject() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdOk_Click();
    void cmdCancel_Click();
    void setBackColor(const QColor& color);
};
