#include "skin/data/readable_colour.h"

#include <algorithm>
#include <cmath>

namespace qasp::skin {
namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(const QColor &c)
{
    return 0.2126 * Linear(c.red()) + 0.7152 * Linear(c.green()) + 0.0722 * Linear(c.blue());
}

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDark(const QColor &background)
{
    // Where white and black text reach the same contrast.
    return RelativeLuminance(background) < 0.179;
}

QColor Blend(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t))
        .toRgb();
}

QColor ReadableOn(const QColor &text, const QColor &background, double ratio)
{
    const QColor towards = IsDark(background) ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 0; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor c = Blend(text, towards, t);
        if (ContrastRatio(c, background) >= ratio)
            return c;
    }
    return towards;
}

}  // namespace qasp::skin
