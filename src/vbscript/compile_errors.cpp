#include "vbscript/compile_errors.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace qasp::vbs {

namespace {

// The Chinese texts up to 1041 are those the engine prints on a Chinese
// system; the later ones follow its documentation, worded in the same style.
constexpr std::array kCatalogue{
    CompileErrorEntry{1001, "Out of memory", "内存不足"},
    CompileErrorEntry{1002, "Syntax error", "语法错误"},
    CompileErrorEntry{1005, "Expected '('", "缺少 '('"},
    CompileErrorEntry{1006, "Expected ')'", "缺少 ')'"},
    CompileErrorEntry{1010, "Expected identifier", "缺少标识符"},
    CompileErrorEntry{1011, "Expected '='", "缺少 '='"},
    CompileErrorEntry{1012, "Expected 'If'", "缺少 'If'"},
    CompileErrorEntry{1013, "Expected 'To'", "缺少 'To'"},
    CompileErrorEntry{1014, "Expected 'End'", "缺少 'End'"},
    CompileErrorEntry{1015, "Expected 'Function'", "缺少 'Function'"},
    CompileErrorEntry{1016, "Expected 'Sub'", "缺少 'Sub'"},
    CompileErrorEntry{1017, "Expected 'Then'", "缺少 'Then'"},
    CompileErrorEntry{1018, "Expected 'Wend'", "缺少 'Wend'"},
    CompileErrorEntry{1019, "Expected 'Loop'", "缺少 'Loop'"},
    CompileErrorEntry{1020, "Expected 'Next'", "缺少 'Next'"},
    CompileErrorEntry{1021, "Expected 'Case'", "缺少 'Case'"},
    CompileErrorEntry{1022, "Expected 'Select'", "缺少 'Select'"},
    CompileErrorEntry{1023, "Expected expression", "缺少表达式"},
    CompileErrorEntry{1024, "Expected statement", "缺少语句"},
    CompileErrorEntry{1025, "Expected end of statement", "语句未结束"},
    CompileErrorEntry{1026, "Expected integer constant", "缺少整型常数"},
    CompileErrorEntry{1027, "Expected 'While' or 'Until'", "缺少 'While' 或 'Until'"},
    CompileErrorEntry{1028, "Expected 'While', 'Until' or end of statement",
                      "缺少 'While', 'Until' 或语句未结束"},
    CompileErrorEntry{1029, "Expected 'With'", "缺少 'With'"},
    CompileErrorEntry{1030, "Identifier too long", "标识符过长"},
    CompileErrorEntry{1031, "Invalid number", "无效数字"},
    CompileErrorEntry{1032, "Invalid character", "无效字符"},
    CompileErrorEntry{1033, "Unterminated string constant", "未结束的字符串常量"},
    CompileErrorEntry{1034, "Unterminated comment", "注释未结束"},
    CompileErrorEntry{1037, "Invalid use of 'Me' keyword", "无效使用 'Me' 关键字"},
    CompileErrorEntry{1038, "'loop' without 'do'", "'loop' 语句缺少 'do'"},
    CompileErrorEntry{1039, "Invalid 'exit' statement", "无效的 'exit' 语句"},
    CompileErrorEntry{1040, "Invalid 'for' loop control variable", "循环控制变量 'for' 无效"},
    CompileErrorEntry{1041, "Name redefined", "名称重定义"},
    CompileErrorEntry{1042, "Must be first statement on the line", "必须是行中的第一个语句"},
    CompileErrorEntry{1043, "Cannot assign to non-ByVal argument", "不能给非 ByVal 参数赋值"},
    CompileErrorEntry{1044, "Cannot use parentheses when calling a Sub", "调用 Sub 时不能使用圆括号"},
    CompileErrorEntry{1045, "Expected literal constant", "缺少文字常数"},
    CompileErrorEntry{1046, "Expected 'In'", "缺少 'In'"},
    CompileErrorEntry{1047, "Expected 'Class'", "缺少 'Class'"},
    CompileErrorEntry{1048, "Must be defined inside a Class", "必须在一个类的内部定义"},
    CompileErrorEntry{1049, "Expected Let or Set or Get in property declaration",
                      "在属性声明中缺少 Let、Set 或 Get"},
    CompileErrorEntry{1050, "Expected 'Property'", "缺少 'Property'"},
    CompileErrorEntry{1051, "Number of arguments must be consistent across the property's Get, Let and Set",
                      "参数数目必须与属性说明一致"},
    CompileErrorEntry{1052, "Cannot have multiple default property/method in a Class",
                      "在类中不能有多个缺省的属性/方法"},
    CompileErrorEntry{1053, "Class initialize or terminate do not have arguments",
                      "类初始化或终止不能带参数"},
    CompileErrorEntry{1054, "Property set or let must have at least one argument",
                      "Property Let 或 Set 至少应该有一个参数"},
    CompileErrorEntry{1055, "Unexpected 'Next'", "不需要的 'Next'"},
    CompileErrorEntry{1056, "'Default' can be specified only on 'Property' or 'Function' or 'Sub'",
                      "只能在 'Property'、'Function' 或 'Sub' 上指定 'Default'"},
    CompileErrorEntry{1057, "'Default' must come with 'Public'", "说明 'Default' 必须同时说明 'Public'"},
    CompileErrorEntry{1058, "'Default' can only be on Property Get", "只能在 Property Get 中指定 'Default'"},
};

}  // namespace

std::span<const CompileErrorEntry> CompileErrorCatalogue()
{
    return kCatalogue;
}

const char *CompileErrorText(int number, MessageLanguage language)
{
    const auto *it = std::lower_bound(kCatalogue.begin(), kCatalogue.end(), number,
                                      [](const CompileErrorEntry &e, int n) { return e.number < n; });
    if (it == kCatalogue.end() || it->number != number)
        return nullptr;
    return language == MessageLanguage::English ? it->english : it->chinese;
}

std::string CompileErrorMessageKey(int number)
{
    return "vbscript." + std::to_string(number);
}

const char *MessageText(std::string_view key, MessageLanguage language)
{
    constexpr std::string_view prefix = "vbscript.";
    if (key.substr(0, prefix.size()) != prefix)
        return nullptr;
    key.remove_prefix(prefix.size());
    if (key == "declared-here")
        return language == MessageLanguage::English ? "First declared here" : "首次声明于此";
    int number = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    if (error != std::errc() || end != key.data() + key.size())
        return nullptr;
    return CompileErrorText(number, language);
}

}  // namespace qasp::vbs
