#include "project/project_problems.h"

#include "analysis/check_messages.h"
#include "analysis/encoding_audit.h"
#include "analysis/page_check.h"
#include "analysis/site_files.h"
#include "project/project_tree.h"
#include "site/site_root.h"

#include <algorithm>
#include <unordered_set>

namespace qasp {
namespace {

// A document node with a file, seen for the first time: repeats share
// their first node's record.
bool IsFileDocument(const TreeNode &node)
{
    return node.IsDocument() && !node.IsRepeat() && node.Record() && node.Doc()
           && !node.Record()->SourceFile.empty();
}

// Calls `visit` on every document node in pre-order. Procedures are
// skipped with their subtrees, never walked: a page may have thousands, and
// stepping from sibling to sibling through the tree costs a search each.
template <typename F> void ForEachDocument(const ProjectTree &tree, F visit)
{
    std::vector<TreeNode *> pending;
    for (auto it = tree.TopLevel().rbegin(); it != tree.TopLevel().rend(); ++it)
        pending.push_back(it->get());
    while (!pending.empty()) {
        TreeNode *node = pending.back();
        pending.pop_back();
        if (!node->IsDocument())
            continue;
        visit(node);
        const auto &children = node->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if ((*it)->IsDocument())
                pending.push_back(it->get());
    }
}

}  // namespace

ProblemCheckInput ProblemCheckInputOf(const ProjectTree &tree, const std::filesystem::path &siteRoot)
{
    ProblemCheckInput input;
    const TreeNode *root = tree.FirstTopLevel();
    if (!root || !IsFileDocument(*root))
        return input;
    input.page = root->Record()->SourceFile;
    input.siteRoot = siteRoot;
    std::unordered_set<const Document *> copied;
    ForEachDocument(tree, [&](const TreeNode *node) {
        if (IsFileDocument(*node) && copied.insert(node->Doc()).second)
            input.texts.push_back({node->Record()->SourceFile, node->Doc()->Text(), node->Encoding()});
    });
    return input;
}

std::uint64_t TextRevisions(const ProjectTree &tree)
{
    std::uint64_t sum = 0;
    std::unordered_set<const Document *> seen;
    ForEachDocument(tree, [&](const TreeNode *node) {
        if (node->Doc() && seen.insert(node->Doc()).second)
            sum += node->Doc()->Revision();
    });
    return sum;
}

namespace {

// `d`, found in `file`, as a problem of the list, counted.
void AddProblem(const analysis::SiteFile &file, const SiteRoot &site, vbs::Diagnostic d, ProblemCheck &check)
{
    Problem problem{file.key,
                    site.Relative(file.path),
                    {},
                    analysis::DiagnosticMessage(d, vbs::MessageLanguage::SimplifiedChinese),
                    analysis::DiagnosticCode(d)};
    (d.severity == vbs::Severity::Error ? check.errors : check.warnings) += 1;
    problem.diagnostic = std::move(d);
    check.problems.push_back(std::move(problem));
}

// Where byte `offset` of a file's bytes stands once its line breaks are all
// CR LF, as a document holds them.
uint32_t NormalisedOffset(std::string_view bytes, uint32_t offset)
{
    uint32_t shift = 0;
    for (size_t i = 0; i < offset && i < bytes.size(); ++i)
        if ((bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++shift;
    return offset + shift;
}

// The conflicts of the encodings the server reads the page and its
// includes by (an include in another encoding, a byte-order mark sent as
// text, ...), as `qasp encodings` finds them in the files on disk.
void AddEncodingFindings(const std::filesystem::path &page, const SiteRoot &site, ProblemCheck &check)
{
    analysis::EncodingAudit audit;
    audit.AddPage(page, site);
    for (vbs::Diagnostic &d : audit.Findings()) {
        const analysis::SiteFile &file = audit.Files()[d.file];
        d.offset = NormalisedOffset(file.bytes, d.offset);
        d.endOffset = NormalisedOffset(file.bytes, d.endOffset);
        AddProblem(file, site, std::move(d), check);
    }
}

}  // namespace

ProblemCheck CheckProblems(const ProblemCheckInput &input)
{
    ProblemCheck check;
    if (input.page.empty())
        return check;
    try {
        const SiteRoot site = input.siteRoot.empty() ? SiteRoot::Around(input.page)
                                                     : SiteRoot::ForPage(input.siteRoot, input.page);
        analysis::PageChecker checker;
        // Offsets then count in the documents' texts, whose lines end CR LF
        // whatever the files on disk do.
        for (const ProblemCheckInput::Text &text : input.texts)
            checker.UseText(text.file, text.bytes, text.encoding);
        for (vbs::Diagnostic &d : checker.Check(input.page, site)) {
            const analysis::SiteFile &file = checker.Files()[d.file];
            AddProblem(file, site, std::move(d), check);
        }
        AddEncodingFindings(input.page, site, check);
    } catch (const SiteRootError &e) {
        check.failure = e.what();
    } catch (const analysis::PageCheckError &e) {
        check.failure = e.what();
    }
    return check;
}

DocumentNodes DocumentNodesOf(const ProjectTree &tree)
{
    DocumentNodes nodes;
    ForEachDocument(tree, [&](TreeNode *node) {
        if (IsFileDocument(*node))
            nodes.try_emplace(analysis::RealPathKey(node->Record()->SourceFile), node);
    });
    return nodes;
}

ProblemPlace PlaceOf(const DocumentNodes &nodes, const Problem &problem)
{
    const auto it = nodes.find(problem.fileKey);
    if (it == nodes.end())
        return {};
    // The text may have changed since the check: the place stays inside it.
    const std::size_t size = it->second->Text().size();
    const std::size_t begin = std::min<std::size_t>(problem.diagnostic.offset, size);
    std::size_t end = std::clamp<std::size_t>(problem.diagnostic.endOffset, begin, size);
    // A problem at a line break (a word missing at the line's end) is a
    // place, not a span that would run into the next line.
    const std::string_view span = it->second->Text().substr(begin, end - begin);
    if (span.find_first_not_of("\r\n") == std::string_view::npos)
        end = begin;
    return {it->second, begin, end - begin};
}

}  // namespace qasp
