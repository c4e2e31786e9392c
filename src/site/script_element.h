// The tags of <script> and <style> elements: whether a start tag asks for
// server script and in which language, and where an end tag is.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace qasp {

enum class ElementName { Script, Style };

struct ElementStart {
    ElementName name;
    bool runatServer = false;
    bool vbscript = true;  // language="VBScript", "VBS" or none
    size_t nameEnd = 0;    // after "<script"
    // After the tag's '>'; npos when a '<' (a server block, say) or the page's
    // end comes first.
    size_t tagEnd = std::string_view::npos;
};

// The element whose start tag begins at `at` (a '<'), if "<script" or
// "<style" is there. Reads no further than the next '<'.
std::optional<ElementStart> ReadElementStart(std::string_view page, size_t at, bool gbk);

// Where the end tag of `name` that begins at `at` ends (after its '>', or
// after its name when no '>' comes before the next '<'); npos when there is
// none at `at`.
size_t EndTagEnd(std::string_view page, size_t at, ElementName name);

}  // namespace qasp
