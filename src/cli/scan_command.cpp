// qasp scan FILE [--table Key_Public|Key_Other]: the declarations of a text
// as they land in one table of the keyword store.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "editor/declaration_scan.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "text/byte_string.h"
#include "text/gbk_codec.h"

#include <iostream>

namespace qasp::cli {

int ScanCommand(Arguments args)
{
    const std::string table = args.TakeOption("--table").value_or("Key_Public");
    if (!EqualsNoCase(table, "key_public") && !EqualsNoCase(table, "key_other"))
        throw CommandError("--table takes Key_Public or Key_Other, not " + table);
    const std::string path = args.Positional(1, "qasp scan FILE [--table Key_Public|Key_Other]")[0];
    const std::string text = ReadFileBytes(path, kMaxDocumentBytes);
    const KeywordTable into = EqualsNoCase(table, "key_public") ? KeywordTable::Public : KeywordTable::Other;
    KeywordStore store(":memory:");
    ScanDeclarations(store, into, text);
    for (const KeywordRow &row : store.TableRows(into))
        std::cout << GbkToUtf8(row.name) << '\t' << GbkToUtf8(row.hint) << '\t' << row.type << '\n';
    return 0;
}

}  // namespace qasp::cli
