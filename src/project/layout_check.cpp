#include "project/layout_check.h"

#include "project/asp_writer.h"

namespace qasp {

bool LayoutGivesBack(std::string_view fileBytes, const TreeNode &document, bool header)
{
    return AspDocumentBytes(document, header) == fileBytes;
}

}  // namespace qasp
