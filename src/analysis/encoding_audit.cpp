#include "analysis/encoding_audit.h"

#include "vbscript/text_position.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace qasp::analysis {
namespace {

constexpr size_t kOffsetsShown = 5;

// A diagnostic at bytes [begin, end) of `file`.
vbs::Diagnostic At(const SiteFile &file, uint32_t id, size_t begin, size_t end, vbs::Severity severity,
                   std::string_view key, std::string argument)
{
    vbs::TextCursor start;
    start.AdvanceTo(file.bytes, begin, file.encoding);
    vbs::TextCursor stop = start;
    stop.AdvanceTo(file.bytes, end, file.encoding);
    vbs::Diagnostic d;
    d.file = id;
    d.offset = static_cast<uint32_t>(begin);
    d.endOffset = static_cast<uint32_t>(end);
    d.line = start.line;
    d.column = start.column;
    d.endLine = stop.line;
    d.endColumn = stop.column;
    d.severity = severity;
    d.messageKey = std::string(key);
    d.argument = std::move(argument);
    return d;
}

std::string Quoted(const EncodingDeclaration &d)
{
    return std::string(DeclarationKindName(d.kind)) + " "
           + (d.IsCodePage() ? d.value : "\"" + d.value + "\"");
}

// The first non-ASCII byte: where a wrongly read file starts to show it.
size_t FirstNonAscii(std::string_view bytes)
{
    const auto it = std::find_if(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    return static_cast<size_t>(it - bytes.begin());
}

std::string OffsetList(const std::vector<size_t> &offsets, size_t count)
{
    std::string list;
    for (const size_t o : offsets)
        list += (list.empty() ? "" : ", ") + std::to_string(o);
    if (count > offsets.size())
        list += ", ...";
    return list;
}

}  // namespace

std::string EncodingAudit::PagesText(const std::vector<const PageEncoding *> &pages) const
{
    std::string text = Shown(pages.front()->page);
    if (pages.size() > 1)
        text += " and " + std::to_string(pages.size() - 1) + " other page" + (pages.size() > 2 ? "s" : "");
    return text;
}

const PageEncoding &EncodingAudit::AddPage(const std::filesystem::path &pagePath, const SiteRoot &site)
{
    const std::optional<uint32_t> id = checker_.FileId(pagePath);
    if (!id) {
        SiteFileError error;
        std::filesystem::path absolute = std::filesystem::absolute(pagePath);
        SiteFiles probe;
        probe.Open(absolute, RealPathKey(absolute), &error);
        throw PageCheckError(error.message);
    }
    PageEncoding page;
    page.page = *id;
    page.site = site.Path();
    page.files.push_back(*id);
    for (const uint32_t f : checker_.IncludedFiles(pagePath, site))
        page.files.push_back(f);
    for (const uint32_t f : page.files)
        Meet(f, site.Path());
    const FileEncodingFacts &facts = Facts(*id);
    for (const EncodingDeclaration &d : facts.declarations) {
        if (d.kind == DeclarationKind::Directive && d.encoding) {
            page.directive = d;
            page.codePage = d.encoding;
            page.source = CodePageSource::Directive;
            break;
        }
    }
    if (!page.codePage && facts.bytes.Settled()) {
        page.codePage = facts.bytes.Settled();
        page.source = facts.bytes.byteOrderMark ? CodePageSource::ByteOrderMark : CodePageSource::PageBytes;
    }
    pages_.push_back(std::move(page));
    return pages_.back();
}

std::optional<uint32_t> EncodingAudit::AddFile(const std::filesystem::path &file, const SiteRoot &site)
{
    const std::optional<uint32_t> id = checker_.FileId(file);
    if (id)
        Meet(*id, site.Path());
    return id;
}

void EncodingAudit::Meet(uint32_t file, const std::filesystem::path &site)
{
    if (siteOf_.try_emplace(file, site).second)
        order_.push_back(file);
}

std::string EncodingAudit::Shown(uint32_t file) const
{
    return SiteRoot(siteOf_.at(file)).Relative(Files()[file].path);
}

const FileEncodingFacts &EncodingAudit::Facts(uint32_t id)
{
    if (const auto it = facts_.find(id); it != facts_.end())
        return it->second;
    const SiteFile &file = Files()[id];
    FileEncodingFacts facts;
    facts.bytes = SurveyBytes(file.bytes);
    const bool gbk = file.encoding == TextEncoding::Gbk;
    if (facts.bytes.form == ByteForm::Binary)
        ;  // no text to declare anything
    else if (IsStyleSheet(file.path))
        facts.declarations = FindStyleSheetCharset(file.bytes);
    else
        facts.declarations = FindEncodingDeclarations(
            file.bytes, IsVBScriptFile(file.path) ? ScanScriptFileStructure(file.bytes, gbk)
                                                  : ScanPageStructure(file.bytes, gbk));
    return facts_.emplace(id, std::move(facts)).first->second;
}

std::vector<vbs::Diagnostic> EncodingAudit::Findings()
{
    using vbs::Severity;
    std::vector<vbs::Diagnostic> out;
    std::set<std::tuple<uint32_t, uint32_t, std::string, std::string>> seen;
    auto add = [&](vbs::Diagnostic d) {
        if (seen.emplace(d.file, d.offset, d.messageKey, d.argument).second)
            out.push_back(std::move(d));
    };

    // What each file is alone: its bytes and its declarations.
    for (const uint32_t id : order_) {
        const SiteFile &file = Files()[id];
        const FileEncodingFacts &facts = Facts(id);
        const std::optional<TextEncoding> settled = facts.bytes.Settled();
        std::optional<TextEncoding> declared;
        for (const EncodingDeclaration &d : facts.declarations) {
            declared = declared ? declared : d.encoding;
            if (!d.encoding || !settled || *d.encoding == *settled)
                continue;
            add(At(file, id, d.at, d.valueEnd,
                   d.kind == DeclarationKind::Directive ? Severity::Error : Severity::Warning,
                   kDeclarationMismatch, Quoted(d) + ", bytes " + TextEncodingName(*settled)));
        }
        if (facts.bytes.form == ByteForm::Invalid) {
            const TextEncoding in = declared ? *declared : facts.bytes.Nearer();
            size_t count = 0;
            const std::vector<size_t> offsets = InvalidByteOffsets(file.bytes, in, kOffsetsShown, &count);
            if (!offsets.empty())
                add(At(file, id, offsets.front(), offsets.front() + 1, Severity::Error, kInvalidBytes,
                       std::string(TextEncodingName(in)) + ": " + std::to_string(count) + " at byte "
                           + OffsetList(offsets, count)));
        }
    }

    // What each page makes of its files. An include in another encoding is
    // one finding for all the pages that read it alike.
    // The key's middle: what the include is written in, as far as known.
    std::map<std::tuple<uint32_t, std::string, TextEncoding>, std::vector<const PageEncoding *>> misread;
    std::map<uint32_t, std::vector<const PageEncoding *>> markIncluded;
    for (const PageEncoding &page : pages_) {
        for (size_t i = 1; i < page.files.size(); ++i) {
            const uint32_t id = page.files[i];
            const FileEncodingFacts &facts = Facts(id);
            if (facts.bytes.byteOrderMark)
                markIncluded[id].push_back(&page);
            // Written in the other encoding, or at least not valid in the
            // page's (bytes invalid in both are a finding of their own).
            const std::optional<TextEncoding> settled = facts.bytes.Settled();
            if (!page.codePage || !facts.bytes.Encoding())
                continue;
            if (settled && *settled != *page.codePage)
                misread[{id, TextEncodingName(*settled), *page.codePage}].push_back(&page);
            else if (!settled && !facts.bytes.ValidIn(*page.codePage))
                misread[{id, std::string("not ") + TextEncodingName(*page.codePage), *page.codePage}]
                    .push_back(&page);
        }
        // The charset sent against the code page the text is sent in: a
        // literal Response.CodePage, else the directive's.
        std::optional<TextEncoding> sent;
        std::string sentBy;
        if (page.directive) {
            sent = page.codePage;
            sentBy = "CodePage " + page.directive->value;
        }
        bool responseCodePage = false;
        bool restored = false;  // a Session.CodePage put back from a variable
        std::vector<std::pair<uint32_t, const EncodingDeclaration *>> sessionSets;
        for (const uint32_t id : page.files) {
            for (const EncodingDeclaration &d : Facts(id).declarations) {
                if (d.kind == DeclarationKind::ResponseCodePage && d.encoding && !responseCodePage) {
                    responseCodePage = true;
                    sent = d.encoding;
                    sentBy = "Response.CodePage " + d.value;
                }
                if (d.kind == DeclarationKind::SessionCodePage) {
                    if (d.literal)
                        sessionSets.emplace_back(id, &d);
                    else
                        restored = true;
                }
            }
        }
        for (const uint32_t id : page.files)
            for (const EncodingDeclaration &d : Facts(id).declarations)
                if ((d.kind == DeclarationKind::ResponseCharset || d.kind == DeclarationKind::ContentType
                     || d.kind == DeclarationKind::MetaCharset)
                    && sent && d.encoding && *d.encoding != *sent)
                    add(At(Files()[id], id, d.at, d.valueEnd, Severity::Warning, kCharsetMismatch,
                           Quoted(d) + ", " + sentBy));
        if (!restored)
            for (const auto &[id, d] : sessionSets)
                add(At(Files()[id], id, d->at, d->valueEnd, Severity::Warning, kSessionCodePage, d->value));
    }
    for (const auto &[id, pages] : markIncluded)
        add(At(Files()[id], id, 0, 3, Severity::Warning, kIncludeByteOrderMark,
               "included by " + PagesText(pages)));
    for (const auto &[key, pages] : misread) {
        const auto &[id, written, read] = key;
        const SiteFile &file = Files()[id];
        const size_t at = FirstNonAscii(file.bytes);
        vbs::Diagnostic d = At(file, id, at, at + 1, Severity::Error, kIncludeEncoding,
                               written + ", read as " + TextEncodingName(read) + " by " + PagesText(pages));
        const PageEncoding &first = *pages.front();
        const SiteFile &pageFile = Files()[first.page];
        vbs::RelatedPlace place;
        place.file = first.page;
        if (first.directive) {
            vbs::TextCursor cursor;
            cursor.AdvanceTo(pageFile.bytes, first.directive->at, pageFile.encoding);
            place.offset = static_cast<uint32_t>(first.directive->at);
            place.line = cursor.line;
            place.column = cursor.column;
        }
        place.messageKey = std::string(kCodePageHere);
        d.related.push_back(std::move(place));
        add(std::move(d));
    }
    // A charset against its page's code page says more than against the
    // bytes: the one finding at that place.
    std::set<std::pair<uint32_t, uint32_t>> charsetPlaces;
    for (const vbs::Diagnostic &d : out)
        if (d.messageKey == kCharsetMismatch)
            charsetPlaces.emplace(d.file, d.offset);
    std::erase_if(out, [&](const vbs::Diagnostic &d) {
        return d.messageKey == kDeclarationMismatch && charsetPlaces.contains({d.file, d.offset});
    });
    std::stable_sort(out.begin(), out.end(), [](const vbs::Diagnostic &a, const vbs::Diagnostic &b) {
        return std::tie(a.file, a.offset) < std::tie(b.file, b.offset);
    });
    return out;
}

}  // namespace qasp::analysis
