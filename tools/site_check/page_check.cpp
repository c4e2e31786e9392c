#include "page_check.h"

#include "byte_diff.h"
#include "edit_expectation.h"
#include "simple_expansion.h"

#include "editor/keyword_store.h"
#include "project/document_assembly.h"
#include "project/project_tree.h"
#include "project/site_save.h"
#include "site/page_flattening.h"
#include "site/site_root.h"
#include "text/gbk_codec.h"
#include "text/text_encoding.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

namespace qasp::sitecheck {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ReadFile(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

// A loaded document and its file's bytes as they are on disk.
struct Document {
    TreeNode *node;
    std::string name;
    std::string disk;
};

std::string KindOf(const TTreeRec &record)
{
    static constexpr const char *kEnds[] = {"CRLF", "LF", "CR", "mixed", "none"};
    return std::string(TextEncodingName(record.Doc->Encoding())) + " "
           + kEnds[static_cast<int>(record.Doc->LineBreaks())];
}

std::vector<Document> DocumentsOf(const ProjectTree &tree, const fs::path &root)
{
    std::vector<Document> documents;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        const TTreeRec *r = n->Record();
        if (n->IsDocument() && !n->IsRepeat() && r && !r->SourceFile.empty())
            documents.push_back(
                {n, r->SourceFile.lexically_relative(root).string(), ReadFile(r->SourceFile)});
    }
    return documents;
}

// A procedure the edit check can take: its text ends its first line with a
// break, after which the new line goes.
bool Editable(const TreeNode &n)
{
    return !n.IsDocument() && n.Record() && n.Record()->Range != kNoRange
           && n.Text().find("\r\n") != std::string_view::npos;
}

void CheckUnedited(const ProjectTree &tree, const std::vector<Document> &documents, PageOutcome &out)
{
    for (const Document &d : documents)
        if (const std::string diff = DescribeDifference(d.disk, FileBytesOf(*d.node)); !diff.empty())
            out.noEditFaults.push_back(d.name + ": " + diff);
    if (out.noEditFaults.empty())
        for (const TreeNode *n : ChangedDocuments(tree))
            out.noEditFaults.push_back(GbkToUtf8(n->DisplayText()) + ": listed as changed with no edit");
}

// `procedure` edited: its document's bytes are its file with one line
// inserted after the procedure's first line, every other file's bytes stay,
// and only its document is listed as changed. With `putBack`, the old text
// is put back afterwards and the file's bytes must come back with it.
void CheckOneEdit(const ProjectTree &tree, TreeNode &procedure, const std::vector<Document> &documents,
                  bool putBack, std::vector<std::string> &faults)
{
    TreeNode *document = procedure.Parent();
    const auto own = std::find_if(documents.begin(), documents.end(),
                                  [document](const Document &d) { return d.node == document; });
    if (own == documents.end()) {
        faults.push_back(GbkToUtf8(procedure.DisplayText()) + ": belongs to no loaded document");
        return;
    }
    const std::string where = own->name + ": " + GbkToUtf8(procedure.DisplayText()) + ": ";
    // Where the procedure stands in its file's text, CR LF throughout.
    const std::string before(document->Text());
    const std::size_t at = procedure.Record()->Begin();
    const std::string text(procedure.Text());
    if (before.compare(at, text.size(), text) != 0) {
        faults.push_back(where + "not at the place its anchor gives");
        return;
    }
    const std::size_t lineEnd = text.find("\r\n") + 2;
    const std::string expected =
        WithLineInserted(own->disk, LineBreaksBefore(before, at + lineEnd), kEditedLine);

    std::string edited = text;
    edited.insert(lineEnd, std::string(kEditedLine) + "\r\n");
    SetNodeText(procedure, edited);
    if (const std::string diff = DescribeDifference(expected, FileBytesOf(*document)); !diff.empty())
        faults.push_back(where + "edited file differs at " + diff);
    for (const Document &d : documents)
        if (d.node != document)
            if (const std::string diff = DescribeDifference(d.disk, FileBytesOf(*d.node)); !diff.empty())
                faults.push_back(where + "unedited " + d.name + " changed at " + diff);
    const std::vector<TreeNode *> changed = ChangedDocuments(tree);
    if (changed.size() != 1 || changed.front() != document) {
        std::string names;
        for (const TreeNode *n : changed)
            names += " " + GbkToUtf8(n->DisplayText());
        faults.push_back(where + "ChangedDocuments lists"
                         + (names.empty() ? std::string(" nothing") : names));
    }
    if (putBack) {
        SetNodeText(procedure, text);
        if (const std::string diff = DescribeDifference(own->disk, FileBytesOf(*document)); !diff.empty())
            faults.push_back(where + "put back, the file differs at " + diff);
    }
}

void CheckEdits(const ProjectTree &tree, const std::vector<Document> &documents, bool everyProcedure,
                PageOutcome &out)
{
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        if (!Editable(*n))
            continue;
        if (out.proceduresEdited++ == 0)
            out.edited = GbkToUtf8(n->Parent()->DisplayText() + ": " + n->DisplayText());
        CheckOneEdit(tree, *n, documents, everyProcedure, out.editFaults);
        if (!everyProcedure)
            break;
    }
    if (out.proceduresEdited > 0)
        out.edit = out.editFaults.empty() ? EditCheck::Kept : EditCheck::Faulty;
}

void CheckFlatten(const fs::path &page, const fs::path &simpleRoot, const CheckOptions &options,
                  PageOutcome &out)
{
    std::string assembled;
    Clock::time_point start = Clock::now();
    try {
        const SiteRoot site =
            options.siteRoot.empty() ? SiteRoot::Around(page) : SiteRoot::ForPage(options.siteRoot, page);
        std::optional<TextEncoding> encoding;
        if (options.encoding == EncodingChoice::Gbk)
            encoding = TextEncoding::Gbk;
        else if (options.encoding == EncodingChoice::Utf8)
            encoding = TextEncoding::Utf8;
        assembled = FlattenPage(page, site, encoding).bytes;
    } catch (const std::exception &e) {
        out.flattenSeconds = SecondsSince(start);
        out.flattenDetail = std::string("FlattenPage failed: ") + e.what();
        return;
    }
    out.flattenSeconds = SecondsSince(start);
    start = Clock::now();
    std::string simple;
    try {
        simple = SimpleExpander(simpleRoot).Expand(page);
    } catch (const ExpansionError &e) {
        out.expandSeconds = SecondsSince(start);
        out.flattenDetail = std::string("the simple expansion failed: ") + e.what();
        return;
    }
    out.expandSeconds = SecondsSince(start);
    out.flattenDetail = DescribeDifference(simple, assembled);
    out.flatten = out.flattenDetail.empty() ? FlattenCheck::Agree : FlattenCheck::Disagree;
}

}  // namespace

PageOutcome CheckPage(const fs::path &page, const CheckOptions &options)
{
    PageOutcome out;
    out.page = page;
    const fs::path simpleRoot =
        options.siteRoot.empty() ? NearestSiteRoot(page) : fs::weakly_canonical(options.siteRoot);
    {
        ProjectTree tree;
        KeywordStore store(":memory:");
        LoadContext context;
        context.siteRoot = options.siteRoot;
        context.encoding = options.encoding;
        Clock::time_point start = Clock::now();
        try {
            LoadAspDocument(tree, nullptr, page, store, context);
            out.opened = true;
        } catch (const std::exception &e) {
            out.loadError = e.what();
        }
        out.loadSeconds = SecondsSince(start);
        if (out.opened) {
            start = Clock::now();
            if (context.siteRoot != simpleRoot)
                out.rootDifference =
                    "loader " + context.siteRoot.string() + ", simple " + simpleRoot.string();
            SimpleExpander resolver(simpleRoot);
            for (const IncludeMet &met : context.includes)
                out.targetExists.push_back(
                    resolver
                        .Resolve(context.siteRoot / met.file, met.kind == IncludeKind::Virtual, met.target)
                        .has_value());
            out.includes = std::move(context.includes);
            const std::vector<Document> documents = DocumentsOf(tree, context.siteRoot);
            out.documents = static_cast<int>(documents.size());
            CheckUnedited(tree, documents, out);
            for (const Document &d : documents)
                out.documentKinds.emplace_back(d.node->Record()->SourceFile.string(),
                                               KindOf(*d.node->Record()));
            CheckEdits(tree, documents, options.everyProcedure, out);
            out.checkSeconds = SecondsSince(start);
        }
    }
    CheckFlatten(page, simpleRoot, options, out);
    return out;
}

}  // namespace qasp::sitecheck
