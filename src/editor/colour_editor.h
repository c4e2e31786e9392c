// What the colouring needs of an editor: lines to empty, a caret to place and
// pieces of text written at the caret in a colour. The Qt editor adapter and
// the tests' in-memory editor implement it. Texts are code page 936 bytes; a
// piece "\r\n" is a line break.
#pragma once

#include "editor/colour_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

struct ColourRun {
    ColourValue colour;
    std::string text;

    bool operator==(const ColourRun &) const = default;
};

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

    // Writes runs that may hold line breaks, as Write would piece by piece.
    // An editor that can take a whole text faster writes it its own way.
    virtual void WriteRuns(const std::vector<ColourRun> &runs);

    // An editor that colours its lines itself as they change takes texts
    // plainly; it is told where a text starts (a procedure's text starts in
    // server code) and when the keyword store changed under its colours.
    virtual bool ColoursItself() const { return false; }
    virtual void SetStartsInCode(bool /*code*/) {}
    virtual void KeywordsChanged() {}
    // The store changed the rows of these names only (ASCII lower case,
    // code page 936): their uses are coloured again, the rest stays.
    virtual void NamesChanged(const std::vector<std::string> & /*names*/) { KeywordsChanged(); }
};

}  // namespace qasp
