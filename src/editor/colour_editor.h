// What the colouring needs of an editor: lines to empty, a caret to place and
// pieces of text written at the caret in a colour. The Qt editor adapter and
// the tests' in-memory editor implement it. Texts are code page 936 bytes; a
// piece "\r\n" is a line break.
#pragma once

#include "editor/colour_table.h"

#include <string_view>

namespace qasp {

class ColourEditor {
public:
    virtual ~ColourEditor() = default;

    virtual void Clear() = 0;
    virtual bool IsEmpty() const = 0;
    virtual bool HasLine(int index) const = 0;
    // Removes the content of line `index` and puts the caret at its start.
    virtual void EmptyLine(int index) = 0;
    virtual void MoveCaretToEnd() = 0;
    // Writes at the caret in `colour`; the caret ends behind the piece.
    virtual void Write(std::string_view piece, ColourValue colour) = 0;
};

}  // namespace qasp
