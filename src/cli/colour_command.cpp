// qasp colour FILE [--html]: the runs the editor colours a file with, as one
// JSON array a line, or the file as a coloured HTML page.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "text/gbk_codec.h"
#include "text/line_split.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace qasp::cli {
namespace {

std::string EscapeHtml(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

void WriteHtml(std::ostream &out, const std::string &title, const std::vector<std::vector<ColourRun>> &lines)
{
    out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" << EscapeHtml(title)
        << "</title>\n<style>pre{font-family:\"SimSun\",\"AR PL UMing CN\",monospace;"
           "font-size:12px;tab-size:4}</style></head>\n<body><pre>";
    for (const auto &runs : lines) {
        for (const ColourRun &run : runs)
            out << "<span style=\"color:" << HtmlColour(run.colour) << "\">"
                << EscapeHtml(GbkToUtf8(run.text)) << "</span>";
        out << '\n';
    }
    out << "</pre></body></html>\n";
}

}  // namespace

int ColourCommand(Arguments args)
{
    const auto store = OpenStoreFor(args);
    const bool html = args.TakeFlag("--html");
    const std::string path = args.Positional(1, "qasp colour FILE [--html] [--db PATH]")[0];
    const std::string bytes = ReadFileBytes(path);

    std::vector<std::vector<ColourRun>> lines;
    for (std::string_view line : SplitTextLines(bytes))
        lines.push_back(ColourLineRuns(line, *store));

    if (html) {
        WriteHtml(std::cout, path, lines);
        return 0;
    }
    for (const auto &runs : lines) {
        nlohmann::json array = nlohmann::json::array();
        for (const ColourRun &run : runs)
            array.push_back({{"c", HtmlColour(run.colour)}, {"t", GbkToUtf8(run.text)}});
        std::cout << array.dump() << '\n';
    }
    return 0;
}

}  // namespace qasp::cli
