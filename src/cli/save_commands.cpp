// qasp save ROOT.asp --to DIR and qasp merge ROOT.asp -o OUT.asp: a project
// loaded and written back as a set of files or as one document.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "cli/project_load.h"
#include "project/asp_writer.h"
#include "project/prompter.h"

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

int Run(const char *command,
        const std::function<SaveResult(LoadedProject &, Prompter &, OverwritePolicy)> &write,
        const std::string &root, bool force)
{
    LoadedProject project;
    LoadProject(root, project, command);
    StderrPrompter prompter(command);
    try {
        const SaveResult result =
            write(project, prompter, force ? OverwritePolicy::Force : OverwritePolicy::Refuse);
        for (const BackupMade &b : result.backups)
            std::cout << "原文件 " << b.original.string() << " 已保留为 " << b.backup.string() << '\n';
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
    const bool header = args.TakeFlag("--option-explicit");
    const bool force = args.TakeFlag("--force");
    const std::string usage = "qasp save ROOT.asp --to DIR [--option-explicit] [--force]";
    const std::string root = args.Positional(1, usage)[0];
    if (!to || to->empty())
        throw CommandError("usage: " + usage);
    return Run(
        "save",
        [&](LoadedProject &p, Prompter &prompter, OverwritePolicy policy) {
            return SaveAspDocument(p.tree.FirstTopLevel(), *to, header || p.optionExplicit, prompter, policy);
        },
        root, force);
}

int MergeCommand(Arguments args)
{
    const std::optional<std::string> out = args.TakeOption("-o");
    const bool flag = args.TakeFlag("--option-explicit");
    const bool force = args.TakeFlag("--force");
    const std::string usage = "qasp merge ROOT.asp -o OUT.asp [--option-explicit] [--force]";
    const std::string root = args.Positional(1, usage)[0];
    if (!out || out->empty())
        throw CommandError("usage: " + usage);
    return Run(
        "merge",
        [&](LoadedProject &p, Prompter &prompter, OverwritePolicy policy) {
            return SaveSingleDocument(p.tree, *out, flag, prompter, policy);
        },
        root, force);
}

}  // namespace qasp::cli
