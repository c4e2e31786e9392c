// Files made of the lines the loader treats specially, chosen by the input:
// include lines (to each other, to themselves, to missing files, without a
// path), function heads and ends, block openers and closers, Option
// Explicit, declarations, blanks, Chinese text and stray bytes.
#include "load_and_write.h"

#include <cstdint>

namespace {

const char *const kLines[] = {
    "<!--#include file=\"a.asp\"-->",
    "<!--#include file=\"index.asp\"-->",
    R"(<!--#include virtual="inc\b.ASP"-->)",
    "<!--#include file=\"missing.asp\"-->",
    "<!--#include file=nothing-->",
    "  <!--#include file=\"a.asp\"-->",
    "Function F(a, b)",
    "function  G()",
    "End Function",
    "  end function  ",
    "<%",
    "%>",
    "<%Option Explicit%>",
    "<%@codepage=936%>",
    "Dim x, y(3), z(1, 2)",
    "Const K = \"\xD6\xD0\"",
    "Const L",
    "",
    "   ",
    "\t",
    "' \xD6\xD0\xCE\xC4 comment",
    R"(Response.Write "a""b")",
    "\x80\xFE\xFE",
    "\x1a",
    "x = 1\r",
    "<html>",
    "Private Function P",
    "Sub S()",
};
constexpr size_t kCount = sizeof kLines / sizeof *kLines;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string files[3];
    size_t file = 0;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t choice = data[i];
        if (choice == 0xFF) {  // next file
            file = (file + 1) % 3;
            continue;
        }
        files[file] += kLines[choice % kCount];
        files[file] += (choice & 0x80) ? "\n" : "\r\n";
    }
    qasp::fuzz::WriteScratch("index.asp", files[0]);
    qasp::fuzz::WriteScratch("a.asp", files[1]);
    qasp::fuzz::WriteScratch("inc/b.asp", files[2]);
    qasp::fuzz::LoadAndWrite();
    return 0;
}
