// The encodings of a site's pages as the server meets them: each page that
// runs with every file it includes, what each file's bytes are, what the
// files declare, and where they disagree. The server reads a page and all
// its includes by the page's code page (its <%@ CodePage %>, else a
// default), so an include written in another encoding comes out garbled;
// a byte-order mark in an include is sent as text; Session.CodePage set
// and left changes the pages that run after it. Each finding is reported
// once however many pages lead to it.
#pragma once

#include "analysis/page_check.h"
#include "site/encoding_declarations.h"
#include "text/byte_evidence.h"
#include "vbscript/diagnostic.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qasp::analysis {

// The message keys of the findings.
inline constexpr std::string_view kIncludeEncoding = "encoding.include-encoding";
inline constexpr std::string_view kDeclarationMismatch = "encoding.declaration-mismatch";
inline constexpr std::string_view kCharsetMismatch = "encoding.charset-mismatch";
inline constexpr std::string_view kSessionCodePage = "encoding.session-codepage";
inline constexpr std::string_view kIncludeByteOrderMark = "encoding.include-bom";
inline constexpr std::string_view kInvalidBytes = "encoding.invalid-bytes";
inline constexpr std::string_view kCodePageHere = "encoding.code-page-here";

struct FileEncodingFacts {
    ByteEvidence bytes;
    std::vector<EncodingDeclaration> declarations;  // in file order
};

// Where the code page a page is read by comes from.
enum class CodePageSource { Directive, ByteOrderMark, PageBytes, Unknown };

struct PageEncoding {
    uint32_t page = 0;
    std::vector<uint32_t> files;           // the page, then its includes
    std::optional<TextEncoding> codePage;  // how the server reads every file of the page
    CodePageSource source = CodePageSource::Unknown;
    std::optional<EncodingDeclaration> directive;  // its <%@ CodePage %>, when it has one
    std::filesystem::path site;                    // the site root it was reached from
};

class EncodingAudit {
public:
    // Adds `page` as a page that runs, and the files it includes. Throws
    // PageCheckError when the page cannot be read.
    const PageEncoding &AddPage(const std::filesystem::path &page, const SiteRoot &site);

    // Reads `file` as a file of the site that no page may include (a
    // global.asa, a style sheet); its facts are found as any other's.
    std::optional<uint32_t> AddFile(const std::filesystem::path &file, const SiteRoot &site);

    // The files `page` includes, directly or not, without adding the page:
    // a file of a folder that another page includes is a part of pages,
    // not a page that runs. Empty when the page cannot be read.
    std::vector<uint32_t> IncludedFiles(const std::filesystem::path &page, const SiteRoot &site)
    {
        return checker_.IncludedFiles(page, site);
    }
    std::optional<uint32_t> FileId(const std::filesystem::path &file) { return checker_.FileId(file); }

    const FileEncodingFacts &Facts(uint32_t file);
    const std::vector<PageEncoding> &Pages() const { return pages_; }
    // Every file met, in the order first met.
    const std::vector<uint32_t> &FilesMet() const { return order_; }
    const SiteFiles &Files() const { return checker_.Files(); }
    // The file's path below the root of the site it was met in.
    std::string Shown(uint32_t file) const;

    // Every distinct finding over the pages added, by file and offset.
    std::vector<vbs::Diagnostic> Findings();

private:
    void Meet(uint32_t file, const std::filesystem::path &site);
    // "a.asp", "a.asp and 3 other pages".
    std::string PagesText(const std::vector<const PageEncoding *> &pages) const;

    PageChecker checker_;
    std::vector<PageEncoding> pages_;
    std::map<uint32_t, FileEncodingFacts> facts_;
    std::map<uint32_t, std::filesystem::path> siteOf_;
    std::vector<uint32_t> order_;
};

}  // namespace qasp::analysis
