#include "pdf_labels.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QBuffer>
#include <QFont>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace output {
namespace {

constexpr int kTextFlags = Qt::TextWordWrap | Qt::TextExpandTabs;

// One inch around, on the paper of the person's country.
QPageLayout pageLayout()
{
    const QPageSize size(QLocale().measurementSystem() == QLocale::ImperialUSSystem
                             ? QPageSize::Letter
                             : QPageSize::A4);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(72, 72, 72, 72), QPageLayout::Point);
}

QRectF textBox(int column, double top, double height)
{
    return QRectF(column * kColumnWidth + kCellPadding, top, kColumnWidth - 2 * kCellPadding,
                  height);
}

} // namespace

QByteArray pdfLabels(const Labels& labels, const Progress& progress)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    // At 72 dots an inch the painter draws in points.
    writer.setResolution(72);
    writer.setPageLayout(pageLayout());
    writer.setTitle(QStringLiteral("TNLabels"));
    writer.setCreator(QStringLiteral("Tovren"));
    QPainter painter(&writer);
    if (!painter.isActive())
        platform::raise(platform::err::InternalError,
                        QStringLiteral("The labels could not be drawn as a PDF."));
    QFont font(QStringLiteral("Liberation Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(12);
    painter.setFont(font);

    const double pageHeight = writer.pageLayout().paintRect(QPageLayout::Point).height();
    double top = 0;
    for (int row = 0; row < rowCount(labels); ++row) {
        QString texts[kColumns];
        double height = kRowHeight;
        for (int column = 0; column < kColumns; ++column) {
            const size_t index = size_t(row * kColumns + column);
            if (index >= labels.size())
                break;
            texts[column] = QString(labels[index]).replace(kParagraphMark, u'\n');
            height = std::max(
                height,
                painter.boundingRect(textBox(column, 0, 1e6), kTextFlags, texts[column]).height());
        }
        if (top > 0 && top + height > pageHeight) {
            writer.newPage();
            top = 0;
        }
        for (int column = 0; column < kColumns; ++column)
            painter.drawText(textBox(column, top, height), kTextFlags, texts[column]);
        top += height;
        if (progress)
            progress(int(std::min(labels.size(), size_t(row + 1) * kColumns)));
    }
    painter.end();
    return bytes;
}

} // namespace output
