#pragma once
// Text that can be read on its background: the contrast of two colours as
// the web's accessibility guidelines measure it (1 to 21; ordinary text
// needs 4.5), and the choice of a text colour that reaches it.

#include <QColor>
#include <QPalette>

namespace tovren {

inline constexpr double kReadableContrast = 4.5;
// What a focus frame or a control's edge needs to be seen.
inline constexpr double kVisibleContrast = 3;

double contrastRatio(const QColor& a, const QColor& b);

// `preferred` when it reaches `needed` on `background`, else `fallback`
// when that does, else black or white, whichever stands out more.
QColor readableOn(const QColor& background, const QColor& preferred, const QColor& fallback,
                  double needed = kReadableContrast);

// `colours` with `background` as the window's colour: the desktop's text and
// focus frame where they read on it, dark ones where they do not.
QPalette onBackground(QPalette colours, const QColor& background);

} // namespace tovren
