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
         {qasp::cli::TreeCommand, "qasp tree ROOT.asp [--site-root DIR] [--encoding auto|gbk|utf-8]",
          "load a page with everything it includes and print the tree: depth, D or F,\n"
          "      name<TAB>status line (a document's ends with its encoding and line ends)"}},
        {"save",
         {qasp::cli::SaveCommand,
          "qasp save ROOT.asp [--to DIR] [--layout [--option-explicit]] [--force] [--site-root DIR] "
          "[--encoding E]",
          "load a page and write back every file it was read from (only the changed ones), or all of\n"
          "      them into DIR at their paths below the site root; --layout writes the project layout\n"
          "      into DIR instead; --force also replaces files changed on disk or that the layout cannot "
          "keep"}},
        {"flatten",
         {qasp::cli::FlattenCommand, "qasp flatten ROOT.asp -o OUT [--site-root DIR] [--encoding E]",
          "write the page as the server assembles it: every include directive replaced by its file"}},
        {"includes",
         {qasp::cli::IncludesCommand, "qasp includes ROOT.asp [--site-root DIR] [--encoding E]",
          "list every include directive met: FILE<TAB>LINE<TAB>file|virtual<TAB>TARGET<TAB>followed\n"
          "      or skipped: REASON (paths relative to the site root)"}},
        {"skin",
         {qasp::cli::SkinCommand, "qasp skin pack DIR -o FILE | qasp skin info FILE",
          "pack a folder of pictures and one description into a skin file, or list a skin's\n"
          "      entries, name and the elements its model holds"}},
        {"check",
         {qasp::cli::CheckCommand,
          "qasp check PATH... [--site-root DIR] [--encoding auto|gbk|utf-8] [--format text|json|sarif]",
          "check pages as the server compiles them, includes followed (a folder: every .asp page in\n"
          "      it): FILE:LINE:COLUMN: error|warning: MESSAGE [CODE] a line, or JSON, or SARIF 2.1.0;\n"
          "      Chinese when the locale is zh; exit 0 no error, 1 errors found, 2 the run failed"}},
        {"encodings",
         {qasp::cli::EncodingsCommand, "qasp encodings PATH... [--site-root DIR] [--format text|json]",
          "list each file's encoding as its bytes show it and what it declares, for every page with its\n"
          "      includes (a folder: every .asp page in it), then every conflict as check lists problems;\n"
          "      exit 0 no conflict, 1 conflicts found, 2 the run failed"}},
        {"convert",
         {qasp::cli::ConvertCommand,
          "qasp convert PATH... --to utf-8|gbk [--site-root DIR] [--dry-run] [--all] [--encoding-of FILE=E]",
          "move every file the pages use (with --all also .htm .html .js .css .txt .inc) to one encoding,\n"
          "      declarations rewritten; refuses before writing anything it cannot convert faithfully;\n"
          "      writes all files or none; exit 0 done, 1 refused or failed, 2 bad use"}},
        {"merge",
         {qasp::cli::MergeCommand, "qasp merge ROOT.asp -o OUT.asp [--option-explicit] [--force]",
          "load a page and write the project as one single document"}},
    };
    return commands;
}

void PrintHelp(std::ostream &out)
{
    out << "usage: qasp COMMAND [ARGS]\n\ncommands:\n";
    for (const auto &[name, command] : Commands())
        out << "  " << command.usage << "\n      " << command.summary << '\n';
    out << "\nWithout --db a fresh in-memory keyword store with the built-in vocabulary is used.\n"
           "Each file is read in its own encoding (a byte-order mark, the code page or charset the page\n"
           "declares, else UTF-8 when its bytes are valid UTF-8, else GBK); texts are printed as UTF-8.\n"
           "The site root (where virtual= includes start) is the nearest folder upward holding\n"
           "global.asa, else the page's own folder.\n";
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
