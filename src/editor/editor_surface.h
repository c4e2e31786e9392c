// What the editor's handlers need of the editor beyond colouring: its whole
// text and its lines as node bytes, and the live flag (its Tag): 1 while
// edits flow into the selected node, 0 while the program fills the editor.
#pragma once

#include "editor/colour_editor.h"

#include <string>

namespace qasp {

class EditorSurface : public ColourEditor {
public:
    virtual std::string Text() const = 0;  // lines joined by CR LF
    virtual std::string LineText(int row) const = 0;
    virtual int Tag() const = 0;
    virtual void SetTag(int tag) = 0;
};

}  // namespace qasp
