// qasp convert PATH... --to utf-8|gbk: every text file the site's pages use
// moved to one encoding, its declarations rewritten to say so. The plan is
// printed first; nothing is written when anything is refused, with
// --dry-run, or when a file changed on disk since it was read.
#include "cli/commands.h"

#include "cli/command_line.h"
#include "convert/plan_preview.h"
#include "convert/site_conversion.h"
#include "project/write_error.h"

#include <chrono>
#include <iostream>
#include <map>

namespace qasp::cli {
namespace {

namespace fs = std::filesystem;
using convert::ConversionPlan;

constexpr const char *kUsage = "qasp convert PATH... --to utf-8|gbk [--site-root DIR] [--dry-run] [--all] "
                               "[--encoding-of FILE=gbk|utf-8]...";

TextEncoding EncodingNamed(const std::string &name, const std::string &option)
{
    if (name == "gbk" || name == "GBK")
        return TextEncoding::Gbk;
    if (name == "utf-8" || name == "utf8" || name == "UTF-8")
        return TextEncoding::Utf8;
    throw CommandError(option + " takes gbk or utf-8, not '" + name + "'");
}

// The encoding most of the changed files came from: what --to gives them back.
TextEncoding FormerEncoding(const ConversionPlan &plan)
{
    std::map<TextEncoding, size_t> counts;
    for (const convert::PlannedFile &f : plan.files)
        if (f.Changes() && f.from)
            ++counts[*f.from];
    const TextEncoding other = plan.target == TextEncoding::Utf8 ? TextEncoding::Gbk : TextEncoding::Utf8;
    return counts[plan.target] > counts[other] ? plan.target : other;
}

int Run(Arguments &args)
{
    convert::ConversionOptions options;
    const std::optional<std::string> to = args.TakeOption("--to");
    if (!to)
        throw CommandError("--to utf-8 or --to gbk is required\nusage: " + std::string(kUsage));
    options.target = EncodingNamed(*to, "--to");
    if (const std::optional<std::string> root = args.TakeOption("--site-root"))
        options.siteRoot = *root;
    const bool dryRun = args.TakeFlag("--dry-run");
    options.allText = args.TakeFlag("--all");
    while (const std::optional<std::string> pair = args.TakeOption("--encoding-of")) {
        const size_t equals = pair->rfind('=');
        if (equals == std::string::npos || equals == 0)
            throw CommandError("--encoding-of takes FILE=gbk or FILE=utf-8, not '" + *pair + "'");
        const fs::path file = pair->substr(0, equals);
        if (!fs::is_regular_file(file))
            throw CommandError("--encoding-of: " + file.string() + ": no such file");
        options.encodingOf[file] = EncodingNamed(pair->substr(equals + 1), "--encoding-of");
    }
    std::vector<fs::path> paths;
    std::string spelled;
    for (const std::string &a : args.AllPositional(kUsage)) {
        paths.emplace_back(a);
        spelled += ' ' + a;
    }

    const auto start = std::chrono::steady_clock::now();
    const ConversionPlan plan = convert::PlanConversion(paths, options);
    std::cout << convert::PlanPreview(plan);
    if (!plan.CanRun()) {
        std::cerr << "qasp convert: refused, nothing was written: " << plan.refusals.size() << " problem"
                  << (plan.refusals.size() > 1 ? "s" : "") << '\n';
        return 1;
    }
    if (dryRun) {
        std::cout << "dry run: nothing was written\n";
        return 0;
    }
    if (plan.ChangedFiles() == 0) {
        std::cout << "nothing to convert\n";
        return 0;
    }
    const WriteReport report = convert::RunConversion(plan);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const std::string &notice : report.notices)
        std::cerr << "qasp convert: " << notice << '\n';
    std::cout << "converted " << plan.ChangedFiles() << (plan.ChangedFiles() == 1 ? " file" : " files")
              << " in " << seconds << " s\n";
    const TextEncoding former = FormerEncoding(plan);
    std::cout << "to undo: qasp convert" << spelled << " --to "
              << (former == TextEncoding::Gbk ? "gbk" : "utf-8")
              << (options.siteRoot ? " --site-root " + options.siteRoot->string() : std::string())
              << (options.allText ? " --all" : "") << '\n';
    for (const convert::PlannedFile &f : plan.files)
        if (f.Changes() && !f.comesBack)
            std::cout << "  " << f.shown << " would not come back byte for byte\n";
    return 0;
}

}  // namespace

int ConvertCommand(Arguments args)
{
    try {
        return Run(args);
    } catch (const CommandError &e) {
        std::cerr << "qasp convert: " << e.what() << '\n';
        return 2;
    } catch (const WriteError &e) {
        std::cerr << "qasp convert: " << e.what() << '\n';
        return 1;
    } catch (const fs::filesystem_error &e) {
        std::cerr << "qasp convert: " << e.what() << '\n';
        return 2;
    }
}

}  // namespace qasp::cli
