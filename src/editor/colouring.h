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

struct ColourRun {
    ColourValue colour;
    std::string text;

    bool operator==(const ColourRun &) const = default;
};

// "'" for a comment line, otherwise the leading word of the trimmed line.
std::string FirstToken(std::string_view line);

// The runs of one line as ColourLine writes them, trailing blanks dropped.
std::vector<ColourRun> ColourLineRuns(std::string_view line, const KeywordStore &store);

// Writes line `index` into the editor: over that line when it exists,
// otherwise as a new last line.
void ColourLine(ColourEditor &editor, int index, std::string_view line, const KeywordStore &store);

// Replaces the editor's content by the text, coloured line by line.
void ColourText(ColourEditor &editor, std::string_view text, const KeywordStore &store);

// What ColourText writes, as one list of runs: lines joined by "\r\n" runs
// and neighbouring runs of one colour merged. An editor that can take a
// whole text at once writes this instead, with the same result.
std::vector<ColourRun> ColourTextRuns(std::string_view text, const KeywordStore &store);

}  // namespace qasp
