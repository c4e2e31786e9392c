// The VBScript procedures of a page: Function, Sub, Property and Class, from
// their head to their End, read from the code of the page's server blocks
// and server script elements in order, so that a procedure may span several
// blocks with HTML between them.
#pragma once

#include "site/page_structure.h"

#include <string_view>

namespace qasp {

class LineIndex;

// Fills s.procedures from s.regions, adding to s.problems.
void ScanProcedures(std::string_view page, bool gbk, const LineIndex &lines, PageStructure &s);

}  // namespace qasp
