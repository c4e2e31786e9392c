// Where a server block's code ends, as the server finds it: at the first "%>"
// outside a VBScript string literal. A comment (' or Rem) runs to its line's
// end, but a "%>" inside it still closes the block.
#pragma once

#include <cstddef>
#include <string_view>

namespace qasp {

// The offset of the "%>" closing the code that starts at `from`; npos when
// the page ends first.
size_t FindServerBlockEnd(std::string_view page, size_t from, bool gbk);

}  // namespace qasp
