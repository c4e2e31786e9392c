#include "project/asp_writer.h"

#include "project/document_assembly.h"

#include "project/file_fingerprint.h"
#include "project/layout_page_text.h"
#include "text/gbk_codec.h"
#include "project/prompter.h"
#include "project/save_targets.h"
#include "project/stale_temporaries.h"

#include <algorithm>
#include <optional>

namespace qasp {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCrLf = "\r\n";

// The files of a save that documents were read from, and what the user
// must be asked about them.
struct ReadFiles {
    std::vector<fs::path> changed;  // real paths, for the question
    std::vector<fs::path> reload;   // as the records name them
    std::vector<fs::path> losing;   // the layout cannot give them back

    void Check(const TTreeRec &record, const fs::path &file)
    {
        if (record.Loaded && CurrentFingerprint(record.SourceFile) != record.Loaded) {
            AddOnce(changed, file);
            AddOnce(reload, record.SourceFile);
        }
        if (record.LayoutLoses)
            AddOnce(losing, file);
    }

    // Asks what has to be asked; an outcome when the save ends here.
    std::optional<SaveResult> Ask(Prompter &prompter, OverwritePolicy policy) const
    {
        switch (AskAboutChangedFiles(changed, prompter, policy)) {
        case ChangedFilesAnswer::Reload: {
            SaveResult result;
            result.outcome = SaveOutcome::ReloadRequested;
            result.reload = reload;
            return result;
        }
        case ChangedFilesAnswer::Cancel: return SaveResult{};
        case ChangedFilesAnswer::Overwrite: break;
        }
        if (!MayLoseLayout(losing, prompter, policy))
            return SaveResult{};
        return std::nullopt;
    }

    // A file replaced after a question keeps its old content.
    bool NeedsBackup(const fs::path &file) const { return Has(changed, file) || Has(losing, file); }

    static bool Has(const std::vector<fs::path> &list, const fs::path &file)
    {
        return std::find(list.begin(), list.end(), file) != list.end();
    }
    static void AddOnce(std::vector<fs::path> &list, const fs::path &file)
    {
        if (!Has(list, file))
            list.push_back(file);
    }
};

}  // namespace

namespace {

// The layout is written in code page 936: a document read as UTF-8 gives
// its text converted.
std::string LayoutBytesOf(const TreeNode &node, std::string_view text)
{
    if (node.Encoding() == TextEncoding::Utf8)
        return Utf8ToGbk(text);
    return std::string(text);
}

}  // namespace

std::string AspDocumentBytes(const TreeNode &node, bool header)
{
    std::string out;
    if (header)
        out += "<%@codepage=936%>\r\n<%Option Explicit%>\r\n";
    for (const auto &child : node.Children())
        if (child->IsDocument())
            out += "<!--#include file=\"" + child->DisplayText() + "\"-->\r\n";
    out += "<%\r\n";
    out += LayoutBytesOf(node, LayoutPageText(TextOutsideProcedures(node)));
    out += kCrLf;
    for (const auto &child : node.Children())
        if (!child->IsDocument()) {
            out += LayoutBytesOf(node, WithoutFinalLineBreak(child->Text()));
            out += "\r\n\r\n";
        }
    out += "%>\r\n";
    return out;
}

std::string SingleDocumentBytes(const ProjectTree &tree, bool optionExplicit)
{
    std::string documents, functions;
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        const TreeNode *document = n->IsDocument() ? n : n->Parent();
        std::string &part = n->IsDocument() ? documents : functions;
        part += kCrLf;
        part += LayoutBytesOf(*document, n->IsDocument() ? LayoutPageText(TextOutsideProcedures(*n))
                                                         : std::string(WithoutFinalLineBreak(n->Text())));
    }
    return std::string(optionExplicit ? "<%Option Explicit\r\n" : "<%\r\n") + documents + "\r\n" + functions
           + "\r\n%>\r\n";
}

SaveResult SaveAspDocument(TreeNode *node, const fs::path &dir, bool header, Prompter &prompter,
                           OverwritePolicy policy, FileOperations &files)
{
    if (!node) {
        prompter.Information("文档为空,无法保存!");
        return {};
    }
    const TreeNode *top = node;
    while (top->Parent())
        top = top->Parent();
    std::vector<fs::path> stale = RemoveStaleSaveFiles(*top, files);
    const std::vector<DocumentTarget> targets = PlanProjectSave(*node, dir, files);
    ReadFiles read;
    for (const DocumentTarget &t : targets)
        if (t.writesBack)
            read.Check(*t.node->Record(), t.file);
    if (std::optional<SaveResult> stop = read.Ask(prompter, policy)) {
        stop->staleRemoved = std::move(stale);
        return std::move(*stop);
    }

    std::vector<FileWrite> writes;
    writes.reserve(targets.size());
    for (const DocumentTarget &t : targets)
        writes.push_back(
            {t.file, AspDocumentBytes(*t.node, header && t.node == node), read.NeedsBackup(t.file)});
    SaveResult result = SaveResult::Written(WriteAllOrNothing(writes, files), std::move(stale));
    // The files now hold the layout: what was loaded is what was written.
    for (size_t i = 0; i < targets.size(); ++i)
        if (targets[i].writesBack) {
            TTreeRec &record = *targets[i].node->Record();
            record.Loaded = FingerprintOf(record.SourceFile, writes[i].bytes);
            record.LayoutLoses = false;
        }
    return result;
}

SaveResult SaveSingleDocument(ProjectTree &tree, const fs::path &file, bool optionExplicit,
                              Prompter &prompter, OverwritePolicy policy, FileOperations &files)
{
    if (!tree.FirstTopLevel()) {
        prompter.Information("工程文档为空,无法保存!");
        return {};
    }
    const fs::path real = RealPathOf(file, files);
    std::vector<fs::path> stale = RemoveStaleSaveFiles(tree, files);
    std::vector<TTreeRec *> readFrom;
    ReadFiles read;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        TTreeRec *record = n->Record();
        if (n->IsDocument() && !n->IsRepeat() && record && !record->SourceFile.empty()
            && RealPathOf(record->SourceFile, files) == real) {
            readFrom.push_back(record);
            read.Check(*record, real);
        }
    }
    // The merged page would take the place of a page of the project: one
    // question says so, whatever of that page the layout could keep.
    const std::vector<fs::path> replaced = readFrom.empty() ? std::vector<fs::path>() : std::vector{real};
    read.losing.clear();
    std::optional<SaveResult> stop = read.Ask(prompter, policy);
    if (!stop && !MayReplaceReadFiles(replaced, prompter, policy))
        stop = SaveResult{};
    if (stop) {
        stop->staleRemoved = std::move(stale);
        return std::move(*stop);
    }

    const std::string bytes = SingleDocumentBytes(tree, optionExplicit);
    SaveResult result =
        SaveResult::Written(WriteAllOrNothing({{real, bytes, !readFrom.empty()}}, files), std::move(stale));
    for (TTreeRec *record : readFrom)
        record->Loaded = FingerprintOf(record->SourceFile, bytes);
    return result;
}

SaveResult SaveResult::Written(WriteReport report, std::vector<fs::path> stale)
{
    SaveResult result;
    result.outcome = SaveOutcome::Saved;
    result.backups = std::move(report.backups);
    result.notices = std::move(report.notices);
    result.staleRemoved = std::move(stale);
    for (fs::path &file : report.staleRemoved)
        if (std::find(result.staleRemoved.begin(), result.staleRemoved.end(), file)
            == result.staleRemoved.end())
            result.staleRemoved.push_back(std::move(file));
    return result;
}

void WriteFileAtomically(const fs::path &path, std::string_view bytes, FileOperations &files)
{
    WriteAllOrNothing({{RealPathOf(path, files), std::string(bytes), false}}, files);
}

}  // namespace qasp
