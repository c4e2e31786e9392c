#include "editor/name_hint.h"

#include "editor/key_type.h"
#include "text/byte_string.h"

namespace qasp {
namespace {

int Nearness(int type)
{
    switch (type) {
    case kLocalVariable:
    case kLocalConstant: return 0;
    case kGlobalVariable:
    case kGlobalConstant: return 1;
    case kProjectFunction: return 2;
    case kBuiltinFunction: return 3;
    default: return 4;
    }
}

}  // namespace

std::string HintOfName(const KeywordSnapshot &snapshot, std::string_view name)
{
    if (name.empty())
        return {};
    const KeywordRow *best = nullptr;
    for (const KeywordRow *row : snapshot.ListKeywords(name))
        if (row->name.size() == name.size() && !row->hint.empty()
            && (!best || Nearness(row->type) < Nearness(best->type)))
            best = row;
    if (!best)
        return {};
    // A signature names itself; a bare "变量" needs the name beside it.
    if (StartsWithNoCase(best->hint, best->name))
        return best->hint;
    return best->name + "  " + best->hint;
}

}  // namespace qasp
