#include "screen_room.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace platform {
namespace {

// Asks for all its content needs up to the screen's room, and for little
// as its least: the dialog takes what the screen gives and the rest scrolls.
class FittingArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        // A pixel to spare each way: at a fractional scale the window can come
        // out a pixel short of its size and scroll for it.
        const int frame = 2 * frameWidth() + 2;
        QSize wanted = widget()->sizeHint() + QSize(frame, frame);
        // A scroll bar one way takes room the other way.
        const QSize room = withinScreen(*window(), wanted);
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (room.width() < wanted.width())
            wanted.rheight() += bar;
        if (room.height() < wanted.height())
            wanted.rwidth() += bar;
        return withinScreen(*window(), wanted);
    }
    QSize minimumSizeHint() const override
    {
        const int line = fontMetrics().height();
        return QSize(12 * line, 6 * line);
    }
};

} // namespace

QSize withinScreen(const QWidget& window, QSize wanted)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    // The window manager's title bar and borders, which the window's own
    // size leaves out.
    const int title = 2 * window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return wanted.boundedTo(screen->availableGeometry().size() - QSize(title, 2 * title));
}

void layOutScrolling(QDialog& dialog, QLayout* content, QWidget* below)
{
    auto* inside = new QWidget;
    inside->setLayout(content);
    auto* area = new FittingArea(&dialog);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(inside);
    // The controls inside take the focus; the area only scrolls to them.
    area->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    if (below) {
        // Aligned with the content, which keeps its margins inside the area.
        const QMargins margins = content->contentsMargins();
        layout->setContentsMargins(0, 0, margins.right(), margins.bottom());
        // Taken out and put back after the content moved in, so that Tab
        // reaches it last.
        below->setParent(nullptr);
        layout->addWidget(below);
    }
    // Sized here, in its own style and font: Qt gives a window it sizes
    // itself two thirds of the screen at most, which could leave the content
    // scrolling with room to spare.
    dialog.ensurePolished();
    dialog.resize(dialog.sizeHint());
}

} // namespace platform
