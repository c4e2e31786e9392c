// qasp save ROOT.asp [--to DIR] [--layout] and qasp merge ROOT.asp -o
// OUT.asp: a project loaded and written back as the files it was read from,
// in the project layout, or as one document.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "cli/project_load.h"
#include "project/asp_writer.h"
#include "project/prompter.h"
#include "project/site_save.h"
#include "project/stale_temporaries.h"
#include "project/tree_walk.h"
#include "text/gbk_codec.h"

#include <functional>
#include <iostream>

namespace qasp::cli {
namespace {

// Without a user to ask: messages go to stderr; questions are never asked,
// the overwrite policy decides instead.
class StderrPrompter : public Prompter {
public:
    explicit StderrPrompter(const char *command) : command_(command) {}
    void Information(std::string_view text) override
    {
        std::cerr << "qasp " << command_ << ": " << text << '\n';
    }
    Answer Question(std::string_view, std::string_view, QuestionButtons) override { return Answer::No; }
    std::string InputBox(std::string_view, std::string_view, std::string_view value) override
    {
        return std::string(value);
    }

private:
    const char *command_;
};

// The layout keeps only part of some files: those are named before a
// layout save.
void ReportLayoutLosses(const LoadedProject &project, const char *command)
{
    VisitInPreOrder(project.tree, [command](const TreeNode &n, int) {
        if (!n.IsRepeat() && n.Record() && n.Record()->LayoutLoses)
            std::cerr << "qasp " << command << ": " << GbkToUtf8(n.DisplayText())
                      << ": 以工程格式保存会改变此文件（含有工程格式无法保留的内容）\n";
    });
}

int Run(const char *command,
        const std::function<SaveResult(LoadedProject &, Prompter &, OverwritePolicy)> &write,
        const std::string &root, bool force, const LoadOptions &options, bool layout)
{
    LoadedProject project;
    LoadProject(root, project, command, options);
    if (layout)
        ReportLayoutLosses(project, command);
    StderrPrompter prompter(command);
    try {
        const SaveResult result =
            write(project, prompter, force ? OverwritePolicy::Force : OverwritePolicy::Refuse);
        for (const BackupMade &b : result.backups)
            std::cout << "原文件 " << b.original.string() << " 已保留为 " << b.backup.string() << '\n';
        for (const std::string &notice : result.notices)
            std::cerr << "qasp " << command << ": " << notice << '\n';
        if (const std::string stale = StaleFilesNotice(result.staleRemoved); !stale.empty())
            std::cerr << "qasp " << command << ": " << stale << '\n';
        return result.outcome == SaveOutcome::Saved ? 0 : 1;
    } catch (const OverwriteRefused &e) {
        throw CommandError(
            std::string(e.what())
            + "\n(--force writes them, keeping each old file as NAME.bak, or NAME.bak.1, ... when taken)");
    } catch (const WriteError &e) {
        throw CommandError(e.what());
    }
}

}  // namespace

int SaveCommand(Arguments args)
{
    const std::optional<std::string> to = args.TakeOption("--to");
    const bool layout = args.TakeFlag("--layout");
    const bool header = args.TakeFlag("--option-explicit");
    const bool force = args.TakeFlag("--force");
    const LoadOptions options = TakeLoadOptions(args);
    const std::string usage = "qasp save ROOT.asp [--to DIR] [--layout [--option-explicit]] [--force] "
                              + std::string(kLoadOptionsUsage);
    const std::string root = args.Positional(1, usage)[0];
    if (to && to->empty())
        throw CommandError("usage: " + usage);
    if (layout && !to)
        throw CommandError("--layout writes into a folder of its own: give it --to DIR\nusage: " + usage);
    if (layout)
        return Run(
            "save",
            [&](LoadedProject &p, Prompter &prompter, OverwritePolicy policy) {
                return SaveAspDocument(p.tree.FirstTopLevel(), *to, header || p.optionExplicit, prompter,
                                       policy);
            },
            root, force, options, true);
    return Run(
        "save",
        [&](LoadedProject &p, Prompter &prompter, OverwritePolicy policy) {
            std::optional<std::filesystem::path> dir;
            if (to)
                dir = std::filesystem::absolute(*to);
            return SaveSite(p.tree, p.siteRoot, prompter, policy, SystemFiles(), dir);
        },
        root, force, options, false);
}

int MergeCommand(Arguments args)
{
    const std::optional<std::string> out = args.TakeOption("-o");
    const bool flag = args.TakeFlag("--option-explicit");
    const bool force = args.TakeFlag("--force");
    const LoadOptions options = TakeLoadOptions(args);
    const std::string usage =
        "qasp merge ROOT.asp -o OUT.asp [--option-explicit] [--force] " + std::string(kLoadOptionsUsage);
    const std::string root = args.Positional(1, usage)[0];
    if (!out || out->empty())
        throw CommandError("usage: " + usage);
    return Run(
        "merge",
        [&](LoadedProject &p, Prompter &prompter, OverwritePolicy policy) {
            return SaveSingleDocument(p.tree, *out, flag, prompter, policy);
        },
        root, force, options, true);
}

}  // namespace qasp::cli
