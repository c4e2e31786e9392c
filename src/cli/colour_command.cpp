// qasp colour FILE|- [--html] [--scheme classic|light|dark]: the file coloured
// as the editor colours it, line by line from each line's start state: one
// JSON array of runs a line, or a coloured HTML page. Words as written, the
// file read in its own encoding, neighbouring runs of one colour merged. The
// file is read a block at a time and the output built in one buffer written
// in large blocks, so memory stays bounded by the longest line however long
// the page.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "editor/colour_scheme.h"
#include "editor/keyword_store.h"
#include "editor/page_colouring.h"
#include "cli/visible_text.h"
#include "text/encoding_detection.h"
#include "text/file_read.h"
#include "text/gbk_codec.h"
#include "text/line_pieces.h"
#include "text/line_split.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>

namespace qasp::cli {
namespace {

constexpr size_t kFlushAt = 1 << 16;
constexpr size_t kReadBlock = size_t{1} << 20;
// A line is held whole, with its colour runs, while it is coloured; a page
// from standard input is held whole. Real pages stay far below both.
constexpr size_t kMaxLineBytes = size_t{8} << 20;
constexpr size_t kMaxInputBytes = size_t{64} << 20;

class Output {
public:
    Output() { buffer_.reserve(kFlushAt + 4096); }
    ~Output() { Flush(); }
    Output(const Output &) = delete;
    Output &operator=(const Output &) = delete;

    std::string &Buffer() { return buffer_; }
    void MaybeFlush()
    {
        if (buffer_.size() >= kFlushAt)
            Flush();
    }
    void Flush()
    {
        std::cout.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

private:
    std::string buffer_;
};

// The text's UTF-8: GBK converted (ASCII as it is), UTF-8 kept.
void AppendUtf8(std::string &out, std::string_view bytes, bool gbk)
{
    if (gbk) {
        for (const char c : bytes)
            if (static_cast<unsigned char>(c) >= 0x80) {
                out += GbkToUtf8(bytes);
                return;
            }
    }
    out += bytes;
}

// The spans with neighbours of one colour merged (categories that share a
// colour in the scheme become one run).
void MergeByColour(std::vector<ColourSpan> &spans, const ColourScheme &scheme)
{
    size_t out = 0;
    for (size_t i = 0; i < spans.size(); ++i) {
        if (out > 0 && scheme.Of(spans[out - 1].category) == scheme.Of(spans[i].category))
            spans[out - 1].length += spans[i].length;
        else
            spans[out++] = spans[i];
    }
    spans.resize(out);
}

void WriteHtmlHead(std::string &out, const std::string &title, const ColourScheme &scheme)
{
    // Well-formed XML as well as HTML: the meta element closes itself.
    out += "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"/><title>";
    AppendHtmlPlainText(out, {title, false});
    out += "</title>\n<style>\npre{font-family:\"SimSun\",\"AR PL UMing "
           "CN\",monospace;font-size:12px;tab-size:4;"
           "color:";
    out += HtmlColour(scheme.Of(ColourCategory::Default));
    out += ";background:";
    out += HtmlColour(scheme.background);
    out += "}\n";
    for (size_t i = 1; i < kColourCategoryCount; ++i) {
        out += ".";
        out += CategoryName(static_cast<ColourCategory>(i));
        out += "{color:";
        out += HtmlColour(scheme.colours[i]);
        out += "}\n";
    }
    out += MarkStyles(HtmlColour(scheme.Of(ColourCategory::Default)), HtmlColour(scheme.background));
    out += "</style></head>\n<body><pre>";
}

// The page a piece at a time, as often as asked: a file is read again each
// time, a block at a time; standard input ("-") cannot be read twice and is
// read once, whole. Either way within the limits: a line longer than
// kMaxLineBytes (every line is held whole while it is coloured) or input
// longer than kMaxInputBytes is refused.
class PageSource {
public:
    explicit PageSource(const std::string &path) : path_(path), standardInput_(path == "-")
    {
        if (standardInput_) {
            FileRead read = ReadStreamWithin(STDIN_FILENO, kMaxInputBytes);
            if (!read.Ok())
                throw CommandError(FileReadProblem(read, "-（标准输入）", kMaxInputBytes) + "，不能着色");
            whole_ = std::move(read.bytes);
            for (const std::string_view line : SplitTextLines(whole_))
                if (line.size() > kMaxLineBytes)
                    throw CommandError(LineTooLong());
            return;
        }
        const FileRead probe = ProbeRegularFile(path_);
        if (probe.outcome == FileRead::Outcome::NotAFile && probe.error != EISDIR)
            throw CommandError(FileReadProblem(probe, path_, 0)
                               + "，不能着色（管道的内容请用 - 从标准输入读入）");
        if (!probe.Ok())
            throw CommandError(ReadProblem(probe, path_, 0));
    }

    void ForEachPiece(const std::function<void(std::string_view)> &each) const
    {
        if (standardInput_) {
            each(whole_);
            return;
        }
        std::ifstream in(path_, std::ios::binary);
        if (!in)
            throw CommandError(path_ + ": " + std::strerror(errno));
        switch (ForEachLinePiece(in, kReadBlock, each, kMaxLineBytes)) {
        case LinePieces::Done: return;
        case LinePieces::ReadFailed: throw CommandError(path_ + ": read error");
        case LinePieces::LineTooLong: throw CommandError(LineTooLong());
        }
    }

private:
    std::string LineTooLong() const
    {
        return "文件 " + path_ + " 有一行超过了 " + SizeLimitText(kMaxLineBytes) + " 的上限，不能着色";
    }

    std::string path_;
    bool standardInput_;
    std::string whole_;  // standard input
};

}  // namespace

int ColourCommand(Arguments args)
{
    const auto store = OpenStoreFor(args);
    const bool html = args.TakeFlag("--html");
    const std::string schemeName = args.TakeOption("--scheme").value_or("light");
    const std::string path =
        args.Positional(1, "qasp colour FILE|- [--html] [--scheme classic|light|dark] [--db PATH]")[0];
    const ColourScheme *scheme = SchemeNamed(schemeName);
    if (!scheme)
        throw CommandError("unknown colour scheme: " + schemeName);
    const PageSource page(path);
    EncodingDetector detector;
    page.ForEachPiece([&](std::string_view piece) { detector.Feed(piece); });
    const TextEncoding encoding = detector.Result().encoding;
    const bool gbk = encoding == TextEncoding::Gbk;

    // One colour name per category, made once.
    std::array<std::string, kColourCategoryCount> colourNames;
    for (size_t i = 0; i < kColourCategoryCount; ++i)
        colourNames[i] = HtmlColour(scheme->colours[i]);
    const ColourValue plain = scheme->Of(ColourCategory::Default);

    Output output;
    std::string &out = output.Buffer();
    if (html)
        WriteHtmlHead(out, path, *scheme);
    std::vector<ColourSpan> spans;
    std::string text;
    PageState state;
    const auto colourLine = [&](std::string_view line) {
        spans.clear();
        state = ColourPageLine(line, state, *store, encoding, spans);
        MergeByColour(spans, *scheme);
        if (html) {
            for (const ColourSpan &s : spans) {
                text.clear();
                AppendUtf8(text, line.substr(s.start, s.length), gbk);
                const bool span = scheme->Of(s.category) != plain;
                if (span) {
                    out += "<span class=\"";
                    out += CategoryName(s.category);
                    out += "\">";
                }
                AppendHtmlText(out, {text, gbk});
                if (span)
                    out += "</span>";
            }
            out += '\n';
        } else {
            out += '[';
            for (size_t i = 0; i < spans.size(); ++i) {
                text.clear();
                AppendUtf8(text, line.substr(spans[i].start, spans[i].length), gbk);
                out += i ? R"(,{"c":")" : R"({"c":")";
                out += colourNames[static_cast<size_t>(spans[i].category)];
                out += R"(","t":")";
                AppendJsonText(out, {text, gbk});
                out += "\"}";
            }
            out += "]\n";
        }
        output.MaybeFlush();
    };
    page.ForEachPiece([&](std::string_view piece) {
        for (const std::string_view line : SplitTextLines(piece))
            colourLine(line);
    });
    if (html)
        out += "</pre></body></html>\n";
    return 0;
}

}  // namespace qasp::cli
