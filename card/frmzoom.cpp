#include "frmzoom.h"

#include "card_layout.h"

#include "core/program.h"
#include "core/traced.h"
#include "platform/characters.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QFontDialog>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

frmZoom::frmZoom(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmZoom"));
    const tovren::Twips twips(QApplication::font());
    rtxZoom = new QTextEdit(this);
    rtxZoom->setObjectName(QStringLiteral("rtxZoom"));
    rtxZoom->setAcceptRichText(false);
    // The field it edits holds one line, where a tab would become a blank:
    // Tab moves on, as in every other box.
    rtxZoom->setTabChangesFocus(true);
    rtxZoom->setGeometry(twips.rect(30, 15, 5310, 4260));
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdFont = new QPushButton(QStringLiteral("Change &Font"), this);
    cmdFont->setObjectName(QStringLiteral("cmdFont"));
    // The buttons' column is as drawn, widened, with the window, only when
    // the desktop's font needs more room for a caption.
    int extra = 0;
    for (const QPushButton* each : {cmdOk, cmdCancel, cmdFont})
        extra = std::max(extra, each->fontMetrics().size(Qt::TextShowMnemonic, each->text()).width()
                                    + 8 - twips.px(1215));
    setFixedSize(twips.rect(0, 0, 6675, 4305).size() + QSize(extra, 0));
    const int tops[] = {120, 585, 3885};
    for (int i = 0; QPushButton * each : {cmdOk, cmdCancel, cmdFont})
        each->setGeometry(twips.rect(5415, tops[i++], 1215, 375).adjusted(0, 0, extra, 0));
    setTabOrder(rtxZoom, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, cmdFont);

    connect(cmdOk, &QPushButton::clicked, this, &frmZoom::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdFont, &QPushButton::clicked, this, &frmZoom::cmdFont_Click);
    connect(rtxZoom->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { keepToMaxLength(position, added); });
}

void frmZoom::showEvent(QShowEvent* event)
{
    // The first line is selected when the editor shows, ready to be typed
    // over or kept.
    tovren::traced("frmZoom.Form_Paint", [&] {
        rtxZoom->setFocus();
        QTextCursor cursor = rtxZoom->textCursor();
        cursor.movePosition(QTextCursor::StartOfLine);
        cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
        rtxZoom->setTextCursor(cursor);
    });
    QDialog::showEvent(event);
}

void frmZoom::cmdOk_Click()
{
    tovren::traced("frmZoom.cmdOk_Click", [&] {
        modGenProcedures::sZoomText = rtxZoom->toPlainText();
        accept();
    });
}

void frmZoom::cmdFont_Click()
{
    // The font is for reading here only; it reaches neither the card nor the
    // book.
    tovren::traced("frmZoom.cmdFont_Click", [&] {
        QFontDialog cdlFont(rtxZoom->font(), this);
        platform::prompts().showModal(cdlFont);
        if (cdlFont.result() == QDialog::Accepted)
            rtxZoom->setFont(cdlFont.selectedFont());
    });
}

void frmZoom::keepToMaxLength(int position, int added)
{
    const QString text = rtxZoom->toPlainText();
    const qsizetype excess = platform::characterCount(text) - m_maxLength;
    if (m_maxLength <= 0 || m_cutting || excess <= 0)
        return;
    // What was just typed or pasted is cut, in whole characters, so that
    // nothing already there is lost.
    const QString inserted = text.mid(position, added);
    const QString kept = platform::leftCharacters(
        inserted, std::max<qsizetype>(0, platform::characterCount(inserted) - excess));
    QTextCursor cursor(rtxZoom->document());
    cursor.setPosition(position);
    cursor.setPosition(position + int(inserted.size()), QTextCursor::KeepAnchor);
    m_cutting = true;
    cursor.insertText(kept);
    m_cutting = false;
}
