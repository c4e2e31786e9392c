#include "project/project_problems.h"

#include "analysis/check_messages.h"
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
    for (const TreeNode *node = root; node; node = tree.NextInPreOrder(node)) {
        if (!IsFileDocument(*node) || !copied.insert(node->Doc()).second)
            continue;
        input.texts.push_back({node->Record()->SourceFile, node->Doc()->Text(), node->Encoding()});
    }
    return input;
}

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
            Problem problem{file.key,
                            site.Relative(file.path),
                            {},
                            analysis::DiagnosticMessage(d, vbs::MessageLanguage::SimplifiedChinese),
                            analysis::DiagnosticCode(d)};
            (d.severity == vbs::Severity::Error ? check.errors : check.warnings) += 1;
            problem.diagnostic = std::move(d);
            check.problems.push_back(std::move(problem));
        }
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
    for (TreeNode *node = tree.FirstTopLevel(); node; node = tree.NextInPreOrder(node))
        if (IsFileDocument(*node))
            nodes.try_emplace(analysis::RealPathKey(node->Record()->SourceFile), node);
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
