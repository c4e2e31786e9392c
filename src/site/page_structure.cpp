#include "site/page_structure.h"

#include "site/include_directive.h"
#include "site/page_text.h"
#include "site/procedure_scan.h"
#include "site/script_element.h"
#include "site/server_block.h"

#include <algorithm>
#include <cctype>

namespace qasp {
namespace {

constexpr size_t npos = std::string_view::npos;

// One walk over the page. HTML, HTML comments and the inside of client
// elements are walked character by character; server blocks, server script
// elements and include directives are read whole and become regions of their
// own. The text walked since the last such region is the pending piece.
class PageScanner {
public:
    PageScanner(std::string_view page, bool gbk) : page_(page), gbk_(gbk), lines_(page) {}
    PageStructure Scan();

private:
    // Where the walk is: what a pending piece is, and what is looked for.
    enum class Context {
        Html,
        HtmlComment,  // a client <script> or <style> here is no element
        Element,      // a client <script> or <style>: a ClientScript piece
    };

    size_t ServerBlock(size_t at);
    size_t ServerScriptElement(size_t at, const ElementStart &e);
    void Flush(size_t upTo, size_t endTagBegin = npos);
    void Add(RegionKind kind, size_t begin, size_t end, size_t codeBegin, size_t codeEnd);
    void Problem(PageProblemKind kind, size_t offset, std::string message);

    std::string_view page_;
    bool gbk_;
    LineIndex lines_;
    PageStructure s_;
    size_t pieceBegin_ = 0;
    Context context_ = Context::Html;
    // The client element being walked: its start, its name and the end of its
    // start tag (npos until its '>' is seen).
    size_t elementBegin_ = 0;
    ElementName elementName_ = ElementName::Script;
    size_t tagEnd_ = npos;
};

void PageScanner::Add(RegionKind kind, size_t begin, size_t end, size_t codeBegin, size_t codeEnd)
{
    s_.regions.push_back({kind, begin, end, codeBegin, codeEnd});
}

void PageScanner::Problem(PageProblemKind kind, size_t offset, std::string message)
{
    s_.problems.push_back({kind, offset, lines_.LineOf(offset), std::move(message)});
}

// The pending piece up to `upTo` becomes a region; in a client element its
// code is what lies between the start tag and the end tag.
void PageScanner::Flush(size_t upTo, size_t endTagBegin)
{
    if (upTo > pieceBegin_) {
        if (context_ == Context::Element) {
            const size_t codeBegin = std::clamp(tagEnd_ == npos ? upTo : tagEnd_, pieceBegin_, upTo);
            const size_t codeEnd = std::clamp(endTagBegin, codeBegin, upTo);
            Add(RegionKind::ClientScript, pieceBegin_, upTo, codeBegin, codeEnd);
        } else {
            Add(RegionKind::Html, pieceBegin_, upTo, pieceBegin_, upTo);
        }
    }
    pieceBegin_ = upTo;
}

// "<%" at `at`: the block up to its "%>", or to the page's end.
size_t PageScanner::ServerBlock(size_t at)
{
    Flush(at);
    RegionKind kind = RegionKind::Script;
    size_t codeBegin = at + 2;
    if (codeBegin < page_.size() && (page_[codeBegin] == '=' || page_[codeBegin] == '@')) {
        kind = page_[codeBegin] == '=' ? RegionKind::Expression : RegionKind::Directive;
        ++codeBegin;
    }
    size_t codeEnd = FindServerBlockEnd(page_, codeBegin, gbk_);
    size_t end = codeEnd + 2;
    if (codeEnd == npos) {
        Problem(PageProblemKind::UnterminatedBlock, at,
                "“<%”没有对应的“%>”，页面其余部分都算作这一块服务器代码");
        codeEnd = end = page_.size();
    }
    Add(kind, at, end, codeBegin, codeEnd);
    pieceBegin_ = end;
    return end;
}

// <script runat="server"> at `at`: its code runs to the first </script>,
// whatever the code holds.
size_t PageScanner::ServerScriptElement(size_t at, const ElementStart &e)
{
    Flush(at);
    const size_t n = page_.size();
    size_t codeBegin = e.tagEnd;
    if (codeBegin == npos) {  // a '<' inside the start tag: it ends at the next '>'
        codeBegin = e.nameEnd;
        while (codeBegin < n && page_[codeBegin] != '>')
            codeBegin += PageCharLength(page_, codeBegin, gbk_);
        codeBegin = std::min(codeBegin + 1, n);
    }
    size_t codeEnd = codeBegin, end = npos;
    for (; codeEnd < n; codeEnd += PageCharLength(page_, codeEnd, gbk_))
        if (page_[codeEnd] == '<' && (end = EndTagEnd(page_, codeEnd, ElementName::Script)) != npos)
            break;
    if (end == npos) {
        Problem(PageProblemKind::UnterminatedElement, at,
                "服务器端 <script> 没有对应的 </script>，页面其余部分都算作这段脚本");
        codeEnd = end = n;
    }
    Add(e.vbscript ? RegionKind::ServerScript : RegionKind::ServerOtherScript, at, end, codeBegin, codeEnd);
    pieceBegin_ = end;
    return end;
}

PageStructure PageScanner::Scan()
{
    const size_t n = page_.size();
    size_t i = 0;
    while (i < n) {
        const char c = page_[i];
        const bool inStartTag = context_ == Context::Element && tagEnd_ == npos;
        if (c == '<' && i + 1 < n) {
            if (page_[i + 1] == '%') {
                i = ServerBlock(i);
                continue;
            }
            if (!inStartTag && page_.substr(i, 4) == "<!--") {
                const IncludeReading r = ReadIncludeDirective(page_, i, gbk_);
                if (r.outcome == IncludeReading::Outcome::Directive) {
                    Flush(i);
                    Add(RegionKind::Include, i, r.end, i + 4, r.end - 3);
                    s_.includes.push_back({i, r.end, r.pathBegin, r.pathEnd, lines_.LineOf(i), r.kind,
                                           std::string(page_.substr(r.pathBegin, r.pathEnd - r.pathBegin))});
                    pieceBegin_ = i = r.end;
                    continue;
                }
                if (r.outcome == IncludeReading::Outcome::Malformed)
                    Problem(PageProblemKind::MalformedInclude, i, r.problem);
                if (context_ == Context::Html)
                    context_ = Context::HtmlComment;
                i += 4;
                continue;
            }
            if (context_ == Context::Element && !inStartTag) {
                if (const size_t end = EndTagEnd(page_, i, elementName_); end != npos) {
                    Flush(end, i);
                    context_ = Context::Html;
                    i = end;
                    continue;
                }
            }
            if (context_ != Context::Element) {
                if (const auto e = ReadElementStart(page_, i, gbk_)) {
                    if (e->runatServer && e->name == ElementName::Script) {
                        i = ServerScriptElement(i, *e);
                        continue;
                    }
                    if (context_ == Context::Html) {
                        Flush(i);
                        context_ = Context::Element;
                        elementBegin_ = i;
                        elementName_ = e->name;
                        tagEnd_ = e->tagEnd;
                        i = e->tagEnd == npos ? e->nameEnd : e->tagEnd;
                        continue;
                    }
                }
            }
        } else if (c == '>' && inStartTag) {
            tagEnd_ = i + 1;
        } else if (c == '-' && context_ == Context::HtmlComment && page_.substr(i, 3) == "-->") {
            context_ = Context::Html;
            i += 3;
            continue;
        }
        i += PageCharLength(page_, i, gbk_);
    }
    if (context_ == Context::Element)
        Problem(PageProblemKind::UnterminatedElement, elementBegin_,
                elementName_ == ElementName::Script
                    ? "<script> 没有对应的 </script>，页面其余部分都算作这段脚本"
                    : "<style> 没有对应的 </style>，页面其余部分都算作这段样式");
    Flush(n);
    ScanProcedures(page_, gbk_, lines_, s_);
    std::stable_sort(s_.problems.begin(), s_.problems.end(),
                     [](const PageProblem &a, const PageProblem &b) { return a.offset < b.offset; });
    return std::move(s_);
}

}  // namespace

PageStructure ScanPageStructure(std::string_view page, bool gbk)
{
    return PageScanner(page, gbk).Scan();
}

bool IsVBScriptFile(const std::filesystem::path &file)
{
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".vbs";
}

PageStructure ScanScriptFileStructure(std::string_view code, bool gbk)
{
    constexpr size_t kOpener = 2;  // "<%"
    PageStructure s = ScanPageStructure("<%" + std::string(code), gbk);
    const auto back = [](size_t &at) { at = at >= kOpener ? at - kOpener : 0; };
    for (PageRegion &r : s.regions) {
        back(r.begin);
        back(r.end);
        back(r.codeBegin);
        back(r.codeEnd);
    }
    for (IncludeDirective &d : s.includes) {
        back(d.begin);
        back(d.end);
        back(d.pathBegin);
        back(d.pathEnd);
    }
    for (Procedure &p : s.procedures) {
        back(p.begin);
        back(p.end);
    }
    // The block opened here is never closed, and need not be.
    std::erase_if(s.problems, [](const PageProblem &p) {
        return p.kind == PageProblemKind::UnterminatedBlock && p.offset == 0;
    });
    for (PageProblem &p : s.problems)
        back(p.offset);
    return s;
}

std::string VBScriptOnly(std::string_view page, const PageStructure &s)
{
    std::string out(page.size(), ' ');
    for (size_t i = 0; i < page.size(); ++i)
        if (IsLineBreakByte(page[i]))
            out[i] = page[i];
    for (const PageRegion &r : s.regions)
        if ((r.kind == RegionKind::Script || r.kind == RegionKind::ServerScript) && r.codeEnd <= page.size()
            && r.codeBegin <= r.codeEnd)
            page.substr(r.codeBegin, r.codeEnd - r.codeBegin)
                .copy(out.data() + r.codeBegin, r.codeEnd - r.codeBegin);
    return out;
}

}  // namespace qasp
