#include "gbk_literal.h"
#include "text/encoding_detection.h"
#include "text/line_pieces.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace qasp;

namespace {

std::vector<std::string> PiecesOf(const std::string &text, size_t block)
{
    std::istringstream in(text);
    std::vector<std::string> pieces;
    EXPECT_EQ(ForEachLinePiece(in, block, [&](std::string_view p) { pieces.emplace_back(p); }),
              LinePieces::Done);
    return pieces;
}

const std::vector<std::string> &Texts()
{
    static const std::vector<std::string> texts = {
        "",
        "no break at all",
        "a\r\nb\r\n",
        "a\rb\nc\r\n\r\nd",
        "\r\r\n\n\r",
        "<%@ CodePage=65001 %>\r\n<p>标题</p>\r\n",
        "<p>中文内容</p>\n<% ' 注释 %>\n",
        Gbk("<p>中文内容</p>\r\n<% Response.Write \"错误\" %>\r\n"),
        "\xEF\xBB\xBFwith a mark\r\n",
        "ok\r\n\xC3\x28 broken UTF-8\r\n",
    };
    return texts;
}

}  // namespace

// Whatever the block size, the pieces are the text, a CR LF is never cut in
// two, and every piece but the last ends a line.
TEST(LinePieces, EveryByteOnceAndNoLineCut)
{
    for (const std::string &text : Texts()) {
        for (const size_t block : {size_t{1}, size_t{2}, size_t{3}, size_t{5}, size_t{8}, size_t{64}}) {
            const std::vector<std::string> pieces = PiecesOf(text, block);
            std::string joined;
            for (size_t i = 0; i < pieces.size(); ++i) {
                const std::string &p = pieces[i];
                EXPECT_FALSE(p.empty());
                joined += p;
                if (i + 1 < pieces.size()) {
                    EXPECT_TRUE(p.back() == '\n' || p.back() == '\r') << text << " / " << block;
                    EXPECT_FALSE(p.back() == '\r' && pieces[i + 1].front() == '\n') << text << " / " << block;
                }
            }
            EXPECT_EQ(joined, text) << block;
        }
    }
}

// Fed piece by piece, the detector says what it says of the whole text.
TEST(LinePieces, TheEncodingOfPiecesIsTheEncodingOfTheWhole)
{
    for (const std::string &text : Texts()) {
        const DetectedEncoding whole = DetectEncoding(text);
        for (const size_t block : {size_t{1}, size_t{4}, size_t{64}}) {
            EncodingDetector detector;
            for (const std::string &p : PiecesOf(text, block))
                detector.Feed(p);
            const DetectedEncoding pieces = detector.Result();
            EXPECT_EQ(pieces.encoding, whole.encoding) << text;
            EXPECT_EQ(pieces.byteOrderMark, whole.byteOrderMark) << text;
            EXPECT_EQ(pieces.reason, whole.reason) << text;
        }
    }
}

// A line longer than the limit stops the reading before any piece holds it,
// wherever the blocks cut; lines of the limit pass.
TEST(LinePieces, ALineOverTheLimitIsRefused)
{
    const std::string ok = "abcd\r\nabcd\nab\rabcd";
    for (const std::string_view text : {"abcde\r\nab", "ab\r\nabcde", "ab\nabcde\r\nab", "abcdefghijklmn"}) {
        for (const size_t block : {size_t{1}, size_t{3}, size_t{5}, size_t{64}}) {
            std::istringstream in{std::string(text)};
            std::string seen;
            EXPECT_EQ(ForEachLinePiece(
                          in, block, [&](std::string_view p) { seen += p; }, 4),
                      LinePieces::LineTooLong)
                << text << " / " << block;
            EXPECT_EQ(seen.find("abcde"), std::string::npos) << text << " / " << block;
        }
    }
    for (const size_t block : {size_t{1}, size_t{3}, size_t{64}}) {
        std::istringstream in(ok);
        std::string seen;
        EXPECT_EQ(ForEachLinePiece(
                      in, block, [&](std::string_view p) { seen += p; }, 4),
                  LinePieces::Done);
        EXPECT_EQ(seen, ok);
    }
}
