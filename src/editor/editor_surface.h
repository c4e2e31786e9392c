// What the editor's handlers need of the editor beyond colouring: its whole
// text and its lines as node bytes (in the shown file's encoding), and the live flag: on while edits flow
// into the selected node, off while the program writes the editor itself.
#pragma once

#include "editor/changed_lines.h"
#include "editor/colour_editor.h"
#include "editor/page_state.h"
#include "text/text_encoding.h"

#include <optional>
#include <string>

namespace qasp {

class EditorSurface : public ColourEditor {
public:
    virtual std::string Text() const = 0;  // lines joined by CR LF
    virtual std::string LineText(int row) const = 0;
    // Off from the start; PausedLiveEdits switches it off for a scope.
    virtual bool IsLive() const = 0;
    virtual void SetLive(bool live) = 0;
    // Read-only while it shows no node: what was typed would belong to none.
    virtual void SetReadOnly(bool readOnly) = 0;

    // The selection in bytes of the node text (a line break counts two, a
    // Chinese character two); an empty selection is the caret.
    virtual size_t SelectionStart() const = 0;
    virtual size_t SelectionLength() const = 0;
    virtual std::string SelectedText() const = 0;
    virtual void SetSelection(size_t start, size_t length) = 0;
    // Where the caret is: the end of the selection that moves as it grows.
    virtual size_t CaretOffset() const { return SelectionStart() + SelectionLength(); }
    // Replaces the selection (or inserts at the caret), as typing would.
    virtual void ReplaceSelection(std::string_view text) = 0;

    // Lines by byte offset: the line holding an offset, and where a line
    // starts (the offsets of EM_LINEFROMCHAR and EM_LINEINDEX).
    virtual int LineFromChar(size_t offset) const = 0;
    virtual size_t LineIndex(int row) const = 0;
    // The colour the next typed character takes.
    virtual void SetInsertionColour(ColourValue colour) = 0;
    // How node bytes become characters: the encoding of the file the shown
    // node comes from. GBK until told otherwise.
    virtual void SetEncoding(TextEncoding encoding) = 0;
    // The lines changed since the last call, for an editor that keeps track
    // of them (otherwise nullopt: the caller compares Text()). Calling it
    // starts the next report.
    virtual std::optional<ChangedLines> TakeChangedLines() { return std::nullopt; }
    // The characters (UTF-8) typed or pasted since the last call that the
    // shown file's encoding cannot hold, for an editor that keeps track;
    // their lines' bytes hold '?' in their place.
    virtual std::string TakeUnencodable() { return {}; }
    // Where line `row` starts in the page (HTML, a tag, server code, ...),
    // for an editor that colours itself and so knows; nullopt otherwise.
    virtual std::optional<PageState> LineStartState(int /*row*/) const { return std::nullopt; }
};

}  // namespace qasp
