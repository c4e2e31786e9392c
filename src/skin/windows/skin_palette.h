// The palette a skinned window hands down to everything in it: the skin's
// face and text colours, and, when the face is dark, dark editing fields
// (edits, lists, trees, the code editor) with light text, so a dark skin is
// dark throughout and every text reaches a contrast of 4.5:1.
#pragma once

#include <QPalette>

namespace qasp::skin {

struct SkinModel;

// Built from `plain`, the window's palette before it wore any skin, so a
// light skin after a dark one brings the plain fields back.
QPalette SkinPalette(const SkinModel &model, const QPalette &plain);

}  // namespace qasp::skin
