// qasp: the editor's core on files, for scripts and tests.
#include "version.h"
#include "cli/commands.h"

#include <iostream>
#include <map>
#include <string>

namespace {

struct Command {
    int (*run)(qasp::cli::Arguments);
    const char *usage;
    const char *summary;
};

const std::map<std::string, Command> &Commands()
{
    static const std::map<std::string, Command> commands = {
        {"keywords",
         {qasp::cli::KeywordsCommand, "qasp keywords PREFIX [--db PATH]",
          "list the keywords that begin with PREFIX: name<TAB>hint<TAB>type"}},
        {"colour",
         {qasp::cli::ColourCommand, "qasp colour FILE [--html] [--db PATH]",
          "colour a VBScript file: one JSON array of runs per line, or an HTML page"}},
        {"scan",
         {qasp::cli::ScanCommand, "qasp scan FILE [--table Key_Public|Key_Other]",
          "scan a file's declarations into a fresh store and print that table's rows"}},
        {"tree",
         {qasp::cli::TreeCommand, "qasp tree ROOT.asp",
          "load a project and print its tree: depth, D or F, name<TAB>status line"}},
        {"save",
         {qasp::cli::SaveCommand, "qasp save ROOT.asp --to DIR [--option-explicit] [--force]",
          "load a project and write it into DIR as a set of files joined by include lines;\n"
          "      --force also replaces files whose content outside the script block would be lost"}},
        {"skin",
         {qasp::cli::SkinCommand, "qasp skin pack DIR -o FILE | qasp skin info FILE",
          "pack a folder of pictures and one description into a skin file, or list a skin's\n"
          "      entries, name and the elements its model holds"}},
        {"merge",
         {qasp::cli::MergeCommand, "qasp merge ROOT.asp -o OUT.asp [--option-explicit] [--force]",
          "load a project and write it as one single document"}},
    };
    return commands;
}

void PrintHelp(std::ostream &out)
{
    out << "usage: qasp COMMAND [ARGS]\n\ncommands:\n";
    for (const auto &[name, command] : Commands())
        out << "  " << command.usage << "\n      " << command.summary << '\n';
    out << "\nWithout --db a fresh in-memory keyword store with the built-in vocabulary is used.\n"
           "Texts are read as code page 936 (GBK) and printed as UTF-8.\n";
}

}  // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        PrintHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::cout << "qasp " QASP_VERSION "\n";
        return 0;
    }
    const auto it = Commands().find(args[0]);
    if (it == Commands().end()) {
        std::cerr << "qasp: unknown command '" << args[0] << "'\n";
        PrintHelp(std::cerr);
        return 2;
    }
    args.erase(args.begin());
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "usage: " << it->second.usage << '\n' << it->second.summary << '\n';
        return 0;
    }
    try {
        return it->second.run(qasp::cli::Arguments(std::move(args)));
    } catch (const qasp::cli::CommandError &e) {
        std::cerr << "qasp " << it->first << ": " << e.what() << '\n';
        return 1;
    } catch (const std::exception &e) {
        std::cerr << "qasp " << it->first << ": " << e.what() << '\n';
        return 1;
    }
}
