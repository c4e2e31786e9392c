// qasp includes ROOT.asp and qasp flatten ROOT.asp -o OUT: what the server
// does with a page's include directives.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "cli/project_load.h"
#include "project/asp_writer.h"
#include "project/save_targets.h"
#include "site/page_flattening.h"
#include "site/site_root.h"

#include <algorithm>
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
    const bool force = args.TakeFlag("--force");
    const LoadOptions options = TakeLoadOptions(args);
    const std::string usage = "qasp flatten ROOT.asp -o OUT [--force] " + std::string(kLoadOptionsUsage);
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
        // The page or one of its includes is no place for the assembled
        // page: it would be lost, and the site with it.
        const std::filesystem::path target = RealPathOf(*out, SystemFiles());
        const bool replacesRead = std::any_of(result.files.begin(), result.files.end(), [&](const auto &f) {
            return RealPathOf(f, SystemFiles()) == target;
        });
        if (replacesRead && !force)
            throw CommandError(
                "输出文件 " + target.string()
                + " 是页面读入的文件，未写入任何文件\n(--force writes it, keeping the old file as "
                  "NAME.bak, or NAME.bak.1, ... when taken)");
        for (const BackupMade &b :
             WriteAllOrNothing({{target, result.bytes, replacesRead}}, SystemFiles()).backups)
            std::cout << "原文件 " << b.original.string() << " 已保留为 " << b.backup.string() << '\n';
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
