// qasp colour FILE [--html] [--scheme classic|light|dark]: the file coloured
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
#include "text/encoding_detection.h"
#include "text/gbk_codec.h"
#include "text/line_pieces.h"
#include "text/line_split.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

namespace qasp::cli {
namespace {

constexpr size_t kFlushAt = 1 << 16;
constexpr size_t kReadBlock = size_t{1} << 20;

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

void AppendHtmlEscaped(std::string &out, std::string_view text)
{
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char *entity = nullptr;
        switch (text[i]) {
        case '&': entity = "&amp;"; break;
        case '<': entity = "&lt;"; break;
        case '>': entity = "&gt;"; break;
        default: continue;
        }
        out.append(text, from, i - from);
        out += entity;
        from = i + 1;
    }
    out.append(text, from);
}

void AppendJsonEscaped(std::string &out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text, from, i - from);
        out += '\\';
        if (c == '"' || c == '\\') {
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += 't';
        } else {
            out += "u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
        from = i + 1;
    }
    out.append(text, from);
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
    out += "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    AppendHtmlEscaped(out, title);
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
    out += "</style></head>\n<body><pre>";
}

}  // namespace

int ColourCommand(Arguments args)
{
    const auto store = OpenStoreFor(args);
    const bool html = args.TakeFlag("--html");
    const std::string schemeName = args.TakeOption("--scheme").value_or("light");
    const std::string path =
        args.Positional(1, "qasp colour FILE [--html] [--scheme classic|light|dark] [--db PATH]")[0];
    const ColourScheme *scheme = SchemeNamed(schemeName);
    if (!scheme)
        throw CommandError("unknown colour scheme: " + schemeName);
    // A file is read twice, a block at a time: once to tell the encoding
    // (which the whole text decides), once to colour. A pipe cannot be read
    // twice: it is read whole (and anything else is refused with the reason).
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(path, ec);
    const std::string whole = regular ? std::string() : ReadFileBytes(path);
    const auto forEachPiece = [&](const std::function<void(std::string_view)> &each) {
        if (!regular) {
            each(whole);
            return;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw CommandError(path + ": " + std::strerror(errno));
        if (!ForEachLinePiece(in, kReadBlock, each))
            throw CommandError(path + ": read error");
    };
    EncodingDetector detector;
    forEachPiece([&](std::string_view piece) { detector.Feed(piece); });
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
                AppendHtmlEscaped(out, text);
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
                AppendJsonEscaped(out, text);
                out += "\"}";
            }
            out += "]\n";
        }
        output.MaybeFlush();
    };
    forEachPiece([&](std::string_view piece) {
        for (const std::string_view line : SplitTextLines(piece))
            colourLine(line);
    });
    if (html)
        out += "</pre></body></html>\n";
    return 0;
}

}  // namespace qasp::cli
