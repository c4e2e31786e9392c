#include "editor/colour_table.h"

#include "editor/key_type.h"

#include <cstdio>

namespace qasp {

const ColourTable &BuildColourTable()
{
    static const ColourTable table = {{
        {0x000000, "默认文字"},
        {0x800080, "字符串"},
        {0xFF0000, "VB关键字"},
        {0x0000FF, "全局量"},
        {0x008000, "局部量"},
        {0x808000, "全局模块"},
        {0xC0C0C0, "注释语句"},
    }};
    return table;
}

ColourValue ColourOfKeyType(int keyType)
{
    const ColourTable &t = BuildColourTable();
    switch (keyType) {
    case kNoEntry: return t[kDefaultColour].Color;
    case kKeyword:
    case kBuiltinFunction: return t[kKeywordColour].Color;
    case kGlobalVariable:
    case kGlobalConstant: return t[kGlobalColour].Color;
    case kLocalVariable:
    case kLocalConstant: return t[kLocalColour].Color;
    case kProjectFunction: return t[kFunctionColour].Color;
    case kComment: return t[kCommentColour].Color;
    case kString: return t[kStringColour].Color;
    default: return 0;
    }
}

std::string HtmlColour(ColourValue c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return buf;
}

}  // namespace qasp
