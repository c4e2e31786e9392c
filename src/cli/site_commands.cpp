// qasp includes ROOT.asp and qasp flatten ROOT.asp -o OUT: what the server
// does with a page's include directives.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "cli/project_load.h"
#include "project/asp_writer.h"
#include "site/page_flattening.h"
#include "site/site_root.h"

#include <iostream>

namespace qasp::cli {

int IncludesCommand(Arguments args)
{
    const LoadOptions options = TakeLoadOptions(args);
    LoadedProject project;
    LoadProject(args.Positional(1, "qasp includes ROOT.asp " + std::string(kLoadOptionsUsage))[0], project,
                "includes", options, true);
    for (const IncludeMet &met : project.includes)
        std::cout << met.file << '\t' << met.line << '\t'
                  << (met.kind == IncludeKind::File ? "file" : "virtual") << '\t' << met.target << '\t'
                  << (met.skipped.empty() ? "followed" : "skipped: " + met.skipped) << '\n';
    return 0;
}

int FlattenCommand(Arguments args)
{
    const std::optional<std::string> out = args.TakeOption("-o");
    const LoadOptions options = TakeLoadOptions(args);
    const std::string usage = "qasp flatten ROOT.asp -o OUT " + std::string(kLoadOptionsUsage);
    const std::filesystem::path page = std::filesystem::absolute(args.Positional(1, usage)[0]);
    if (!out || out->empty())
        throw CommandError("usage: " + usage);
    std::optional<TextEncoding> encoding;
    if (options.encoding == EncodingChoice::Gbk)
        encoding = TextEncoding::Gbk;
    else if (options.encoding == EncodingChoice::Utf8)
        encoding = TextEncoding::Utf8;
    try {
        const SiteRoot site =
            options.siteRoot.empty() ? SiteRoot::Around(page) : SiteRoot::ForPage(options.siteRoot, page);
        const FlattenResult result = FlattenPage(page, site, encoding);
        for (const std::string &w : result.warnings)
            std::cerr << "qasp flatten: " << w << '\n';
        WriteFileAtomically(*out, result.bytes);
    } catch (const FlattenError &e) {
        throw CommandError(e.what());
    } catch (const SiteRootError &e) {
        throw CommandError(e.what());
    } catch (const WriteError &e) {
        throw CommandError(e.what());
    }
    return 0;
}

}  // namespace qasp::cli
