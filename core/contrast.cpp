#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace tovren {
namespace {

double luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
           + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor readableOn(const QColor& background, const QColor& preferred, const QColor& fallback,
                  double needed)
{
    for (const QColor& text : {preferred, fallback}) {
        if (contrastRatio(text, background) >= needed)
            return text;
    }
    const QColor black(Qt::black), white(Qt::white);
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

QPalette onBackground(QPalette colours, const QColor& background)
{
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText,
                     readableOn(background, colours.color(QPalette::WindowText), Qt::black));
    colours.setColor(QPalette::Highlight, readableOn(background, colours.color(QPalette::Highlight),
                                                     Qt::darkBlue, kVisibleContrast));
    return colours;
}

} // namespace tovren
