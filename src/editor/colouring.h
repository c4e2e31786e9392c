// VBScript colouring: each line is cut into runs, every run written into the
// editor in the colour of its category.
//
// A line is walked by GBK character: a two-byte character is one unit and
// never part of a word, even when its second byte is an ASCII letter.
#pragma once

#include "editor/colour_editor.h"

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

class KeywordStore;

// "'" for a comment line, otherwise the leading word of the trimmed line.
std::string FirstToken(std::string_view line);
// Whether the line declares names (its first token, after a "<%" that
// opens it, is Dim or Const): leaving or undoing such a line scans its text
// again.
bool IsDeclarationLine(std::string_view line);

// The runs of one line as ColourLine writes them, trailing blanks dropped.
std::vector<ColourRun> ColourLineRuns(std::string_view line, const KeywordStore &store);

// The runs of ColourLineRuns followed by the line's trailing blanks in the
// plain colour: the line's bytes exactly.
std::vector<ColourRun> ExactLineRuns(std::string_view line, const KeywordStore &store);

// Writes line `index` into the editor, its bytes unchanged, in colour: over
// that line when it exists (`line` is then its present text), otherwise as a
// new last line.
void ColourLine(ColourEditor &editor, int index, std::string_view line, const KeywordStore &store);

// The runs of a line with its words as written (not in their stored
// spelling), its bytes exactly.
std::vector<ColourRun> LineRunsAsWritten(std::string_view line, const KeywordStore &store);
// Colours the existing line `index` again without changing a byte of it.
void RecolourLine(ColourEditor &editor, int index, std::string_view line, const KeywordStore &store);

// After a refresh of the store: the editor colours again the uses of the
// names the refresh changed, or every line when it changed them all.
void FollowKeywordChanges(ColourEditor &editor, const KeywordStore &store);

// Replaces the editor's content by the text, coloured line by line: the
// runs of ColourTextRuns written at the start of the emptied editor. The
// editor then holds the text's bytes exactly (words as written, trailing
// blanks and an empty last line included).
// With `script` (the text with all but its server code blanked, as long as
// the text: see VBScriptOnly), only that code is coloured; HTML and client
// script stay in the plain colour.
void ColourText(ColourEditor &editor, std::string_view text, const KeywordStore &store,
                std::string_view script = {});

// The runs of a whole text, its bytes exactly: lines joined by "\r\n" and
// neighbouring runs of one colour merged.
std::vector<ColourRun> ColourTextRuns(std::string_view text, const KeywordStore &store);
std::vector<ColourRun> ColourTextRuns(std::string_view text, const KeywordStore &store,
                                      std::string_view script);

}  // namespace qasp
