#include "skin/data/required_elements.h"

#include "skin/data/skin_model.h"

#include <algorithm>
#include <initializer_list>

namespace qasp::skin {
namespace {

// State images are stacked in the caption and bottom strips and lie side by
// side everywhere else, as the frame painter cuts them.
bool HasStateImages(const SkinElement &e, bool stacked)
{
    if (e.Bitmap.isNull())
        return false;
    const int frames = std::max(e.FrameCount, 1);
    return (stacked ? e.Bitmap.height() : e.Bitmap.width()) / frames > 0;
}

bool HasButton(const SkinModel &model, std::initializer_list<int> actions)
{
    return std::any_of(model.CaptionButtons.begin(), model.CaptionButtons.end(), [&](const auto &b) {
        return std::find(actions.begin(), actions.end(), b->Action) != actions.end()
               && HasStateImages(*b, false);
    });
}

}  // namespace

std::vector<std::string> MissingRequiredElements(const SkinModel &model)
{
    std::vector<std::string> missing;
    const std::pair<const char *, bool> borders[] = {{"Left", HasStateImages(model.Left, false)},
                                                     {"Right", HasStateImages(model.Right, false)},
                                                     {"Top", HasStateImages(model.Top, true)},
                                                     {"Bottom", HasStateImages(model.Bottom, true)}};
    for (const auto &[name, present] : borders)
        if (!present)
            missing.emplace_back(name);
    // Each action as the caption buttons number it, with its alternative.
    if (!HasButton(model, {0}))
        missing.emplace_back("close button");
    if (!HasButton(model, {1, 22}))
        missing.emplace_back("maximise button");
    if (!HasButton(model, {2, 23}))
        missing.emplace_back("minimise button");
    return missing;
}

}  // namespace qasp::skin
