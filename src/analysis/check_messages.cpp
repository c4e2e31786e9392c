#include "analysis/check_messages.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace qasp::analysis {
namespace {

struct KeyText {
    std::string_view key;
    const char *english;
    const char *chinese;  // UTF-8
};

// The run-time and ASP texts are those the engine and the server print on an
// English and a Chinese system; the checker's own are worded after them.
constexpr std::array kTexts{
    KeyText{"runtime.450", "Wrong number of arguments or invalid property assignment",
            "错误的参数个数或无效的参数属性值"},
    KeyText{"runtime.500", "Variable is undefined", "变量未定义"},
    KeyText{"runtime.506", "Class not defined", "类没有被定义"},
    KeyText{"asp.126", "Include file not found", "找不到包含文件"},
    KeyText{"asp.131", "Disallowed Parent Path", "不允许的父路径"},
    KeyText{"asp.135", "Cyclic Include", "循环包含"},
    KeyText{kUnusedVariable, "Local variable is never used", "局部变量从未使用"},
    KeyText{kUnreachableCode, "Statement can never run", "语句永远不会执行"},
    KeyText{kProcedureCase, "Procedure declared again in other letter case; the later one is used",
            "过程以不同大小写再次声明，运行时使用后一个"},
    KeyText{kOtherDeclaration, "Also declared here", "另一处声明于此"},
    KeyText{"encoding.include-encoding",
            "Included file is written in another encoding than the code page of the page that runs it",
            "被包含文件的编码与运行它的页面的代码页不同"},
    KeyText{"encoding.declaration-mismatch",
            "Declaration names another encoding than the file's bytes are in",
            "声明的编码与文件内容的编码不符"},
    KeyText{"encoding.charset-mismatch", "Charset sent differs from the code page the page is sent in",
            "发送的字符集与页面输出所用的代码页不符"},
    KeyText{"encoding.session-codepage",
            "Session.CodePage set and not restored: every later page of the session is read by it",
            "设置了 Session.CodePage 而没有恢复：会话中之后的每个页面都按它读取"},
    KeyText{"encoding.include-bom", "Byte-order mark in an included file: sent as text inside the page",
            "被包含文件有字节顺序标记：会作为页面正文发送"},
    KeyText{"encoding.invalid-bytes", "Bytes not valid in the file's encoding", "文件中有按其编码无效的字节"},
    KeyText{"encoding.code-page-here", "The page's code page", "页面的代码页"},
};

int NumberAfter(std::string_view key, std::string_view prefix)
{
    int number = -1;
    if (key.substr(0, prefix.size()) != prefix)
        return -1;
    key.remove_prefix(prefix.size());
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    return error == std::errc() && end == key.data() + key.size() ? number : -1;
}

}  // namespace

std::string RuntimeMessageKey(int number)
{
    return "runtime." + std::to_string(number);
}

std::string AspMessageKey(int number)
{
    return "asp." + std::to_string(number);
}

const char *CheckMessageText(std::string_view key, vbs::MessageLanguage language)
{
    for (const KeyText &t : kTexts)
        if (t.key == key)
            return language == vbs::MessageLanguage::English ? t.english : t.chinese;
    return vbs::MessageText(key, language);
}

std::string DiagnosticMessage(const vbs::Diagnostic &d, vbs::MessageLanguage language)
{
    const char *text = CheckMessageText(d.messageKey, language);
    std::string message = text ? text : d.messageKey;
    if (!d.argument.empty())
        message += ": '" + d.argument + "'";
    return message;
}

std::string DiagnosticCode(const vbs::Diagnostic &d)
{
    std::array<char, 16> buffer{};
    if (NumberAfter(d.messageKey, "vbscript.") >= 0 || NumberAfter(d.messageKey, "runtime.") >= 0) {
        std::snprintf(buffer.data(), buffer.size(), "%08X", vbs::CompileErrorHresult(d.code));
        return buffer.data();
    }
    if (const int asp = NumberAfter(d.messageKey, "asp."); asp >= 0) {
        std::snprintf(buffer.data(), buffer.size(), "ASP%04d", asp);
        return buffer.data();
    }
    const size_t dot = d.messageKey.find('.');
    return dot == std::string::npos ? d.messageKey : d.messageKey.substr(dot + 1);
}

}  // namespace qasp::analysis
