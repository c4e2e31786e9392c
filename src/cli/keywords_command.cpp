// qasp keywords PREFIX: the completion list the editor would offer.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "editor/keyword_store.h"
#include "text/gbk_codec.h"

#include <iostream>

namespace qasp::cli {

int KeywordsCommand(Arguments args)
{
    const auto store = OpenStoreFor(args);
    const std::string prefix = Utf8ToGbk(args.Positional(1, "qasp keywords PREFIX [--db PATH]")[0]);
    for (const KeywordRow *row : store->ListKeywords(prefix))
        std::cout << GbkToUtf8(row->name) << '\t' << GbkToUtf8(row->hint) << '\t' << row->type << '\n';
    return 0;
}

}  // namespace qasp::cli
