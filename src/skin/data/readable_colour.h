// Contrast between two colours as the accessibility guidelines measure it,
// and a text colour moved just far enough to be read on a background.
#pragma once

#include <QColor>

namespace qasp::skin {

// The relative luminance of a colour, 0 (black) to 1 (white).
double RelativeLuminance(const QColor &c);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(const QColor &a, const QColor &b);

// A background that wants light text.
bool IsDark(const QColor &background);

// `a` moved towards `b` by `t` (0 to 1), channel by channel.
QColor Blend(const QColor &a, const QColor &b, double t);

// `text` if it reaches `ratio` on `background`, else the first blend of it
// towards white (on a dark background) or black that does.
QColor ReadableOn(const QColor &text, const QColor &background, double ratio = 4.5);

}  // namespace qasp::skin
