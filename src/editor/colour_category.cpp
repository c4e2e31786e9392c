#include "editor/colour_category.h"

#include "editor/key_type.h"

#include <array>

namespace qasp {

std::string_view CategoryName(ColourCategory category)
{
    static constexpr std::array<std::string_view, kColourCategoryCount> names = {
        "default",   "string",    "keyword",       "global",          "local",  "function",
        "comment",   "tag",       "attribute",     "attribute-value", "entity", "html-comment",
        "directive", "delimiter", "client-script", "client-style"};
    return names[static_cast<size_t>(category)];
}

ColourCategory CategoryOfKeyType(int keyType)
{
    switch (keyType) {
    case kKeyword:
    case kBuiltinFunction: return ColourCategory::Keyword;
    case kGlobalVariable:
    case kGlobalConstant: return ColourCategory::Global;
    case kLocalVariable:
    case kLocalConstant: return ColourCategory::Local;
    case kProjectFunction: return ColourCategory::Function;
    case kComment: return ColourCategory::Comment;
    case kString: return ColourCategory::String;
    default: return ColourCategory::Default;
    }
}

}  // namespace qasp
