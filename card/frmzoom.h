#pragma once
// The zoom editor: one field of the card in a larger box, with a choice of
// display font. OK hands the edited text back; Cancel or the window's
// close box hands nothing back (the text goes back in sZoomText,
// core/program.h).

#include <QDialog>

class QPushButton;
class QTextEdit;

class frmZoom : public QDialog {
    Q_OBJECT
public:
    explicit frmZoom(QWidget* parent = nullptr);

    QTextEdit* rtxZoom;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    QPushButton* cmdFont;

    // At most `characters` whole characters; 0 for no limit.
    void setMaxLength(int characters) { m_maxLength = characters; }
    void cmdOk_Click();
    void cmdFont_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void keepToMaxLength(int position, int added);

    int m_maxLength = 0;
    bool m_cutting = false;
};
