// The skin model: every element, colour and name the painters read, built
// from a skin container and its description.
#pragma once

#include "skin/data/skin_elements.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace qasp::skin {

class TQuickIni;
class TSkinReader;

struct SkinColourTable {
    SkinColour WindowText = 0, ButtonFace = 0, Scrollbar = 0, HilightText = 0, Hilight = 0, Menubar = 0,
               Menu = 0, MenuText = 0, ButtonText = 0, ButtonHilight = 0, Buttonlight = 0, ButtonShadow = 0,
               ButtonDkShadow = 0, MenuBarText = 0, TitleTextActive = 0, TitleTextNoActive = 0;
};

// What the program supplies beside the skin: its own groove pictures and
// the platform's scroll bar arrow width.
struct SkinEnvironment {
    QImage track;      // TRACK, 16 x 4
    QImage trackVert;  // TRACKVERT, 4 x 16
    int scrollArrowWidth = 16;
};

struct SkinModel {
    std::string SkinName;
    SkinColourTable Colours;
    std::vector<SkinColour> ColourList;
    std::array<SkinColour, 10> CustomColours{};

    SkinTitle Title{"Title"};
    SkinButton Buttons{"Buttons"};
    SkinBorder Left{"Left"}, Right{"Right"}, Top{"Top"}, Bottom{"Bottom"};
    std::vector<std::unique_ptr<SkinCaptionButton>> CaptionButtons;  // the skin's, then 3 MDI buttons

    std::unique_ptr<SkinBorder> Tabs, Progress, UpDownHorz, UpDownVert, ComboButton;
    std::unique_ptr<SkinElement> SunkEdge, ExtraImages, GroupBoxEdge, Toolbar, ToolBars, StatusBarEdges,
        Headerbar, MenuBar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll, HorzScrollThumb,
        VertScrollThumb, TrackbarThumbHorz, TrackbarThumbVert, Track, TrackVert, TrackbarThumbLeft,
        TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown;
    std::unique_ptr<SkinBoxLabel> GroupBox;

    // Every element with its slot name, for listing and tests.
    std::vector<std::pair<std::string, const SkinElement *>> Elements() const;
    // A colour from the Top border's first state image, else ButtonFace.
    SkinColour FrameColour() const;
};

// Builds the whole model in the order the skin component does.
void BuildSkinModel(SkinModel &model, const TSkinReader &reader, const TQuickIni &ini,
                    const SkinEnvironment &environment);

}  // namespace qasp::skin
