#include "convert/site_conversion.h"

#include "analysis/encoding_audit.h"
#include "convert/code_page_sensitive_code.h"
#include "project/write_error.h"
#include "text/byte_string.h"
#include "text/file_read.h"

#include <algorithm>
#include <set>

namespace qasp::convert {
namespace {

namespace fs = std::filesystem;
using analysis::EncodingAudit;

constexpr size_t kUsesNamed = 5;
const std::vector<const analysis::PageEncoding *> kNoReaders;

bool HasExtension(const fs::path &file, std::initializer_list<std::string_view> extensions)
{
    const std::string ext = LowerAscii(file.extension().string());
    return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
}

bool IsPage(const fs::path &file)
{
    return HasExtension(file, {".asp"});
}

bool IsOtherText(const fs::path &file)
{
    return HasExtension(file, {".htm", ".html", ".js", ".css", ".txt", ".inc"});
}

struct Gathered {
    std::vector<fs::path> pages;
    std::vector<fs::path> others;  // global.asa and, with allText, the site's other text files
};

void Gather(const fs::path &path, bool allText, Gathered &out, std::vector<PlanMessage> &refusals)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        refusals.push_back({path.string(), 0, "no such file or folder"});
        return;
    }
    if (!fs::is_directory(status)) {
        (IsPage(path) ? out.pages : out.others).push_back(path);
        return;
    }
    std::vector<fs::path> found;
    for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file())
            found.push_back(it->path());
    if (ec)
        refusals.push_back({path.string(), 0, ec.message()});
    std::sort(found.begin(), found.end());
    for (fs::path &f : found) {
        if (IsPage(f))
            out.pages.push_back(std::move(f));
        else if (HasExtension(f, {".asa"}) || (allText && IsOtherText(f)))
            out.others.push_back(std::move(f));
    }
}

FileKind KindOf(const fs::path &file)
{
    if (IsStyleSheet(file))
        return FileKind::StyleSheet;
    return IsVBScriptFile(file) ? FileKind::ScriptFile : FileKind::Page;
}

// Whether a file reads as one encoding in one way only: its bytes, else
// its own declaration or the directive of every page that includes it,
// agreeing with how its text reads.
std::optional<TextEncoding> SourceEncoding(const analysis::FileEncodingFacts &facts,
                                           const std::vector<const analysis::PageEncoding *> &readers,
                                           std::string *why)
{
    if (const std::optional<TextEncoding> settled = facts.bytes.Settled())
        return settled;
    const TextEncoding reads = *facts.bytes.Encoding();
    std::optional<TextEncoding> declared;
    for (const EncodingDeclaration &d : facts.declarations)
        if (d.encoding) {
            declared = d.encoding;
            break;
        }
    if (!declared) {
        std::set<TextEncoding> codePages;
        for (const analysis::PageEncoding *page : readers)
            if (page->source == analysis::CodePageSource::Directive)
                codePages.insert(*page->codePage);
        if (codePages.size() == 1)
            declared = *codePages.begin();
    }
    if (declared == reads)
        return reads;
    *why =
        std::string(facts.bytes.validInBoth ? "its bytes are valid GBK and valid UTF-8 alike; they read as "
                                            : "its bytes are GBK only in rare characters (perhaps a Western "
                                              "code page's accented letters); they read as ")
        + TextEncodingName(reads)
        + (declared ? std::string(", the file or its pages declare ") + TextEncodingName(*declared)
                    : std::string(" and nothing declares which"))
        + ": say which with --encoding-of";
    return std::nullopt;
}

std::string UsesText(const std::vector<SensitiveUse> &uses)
{
    std::string text;
    for (size_t i = 0; i < uses.size() && i < kUsesNamed; ++i)
        text += (i ? ", " : "") + uses[i].word + " on line " + std::to_string(uses[i].line);
    if (uses.size() > kUsesNamed)
        text += " and " + std::to_string(uses.size() - kUsesNamed) + " more";
    return text + ": byte strings depend on the code page; review them after the conversion";
}

}  // namespace

size_t ConversionPlan::ChangedFiles() const
{
    return static_cast<size_t>(
        std::count_if(files.begin(), files.end(), [](const PlannedFile &f) { return f.Changes(); }));
}

size_t ConversionPlan::DeclarationChanges() const
{
    size_t n = 0;
    for (const PlannedFile &f : files)
        n += f.changes.size();
    return n;
}

ConversionPlan PlanConversion(const std::vector<fs::path> &paths, const ConversionOptions &options)
{
    ConversionPlan plan;
    plan.target = options.target;
    Gathered gathered;
    for (const fs::path &p : paths)
        Gather(p, options.allText, gathered, plan.refusals);

    EncodingAudit audit;
    // The root depends on the folder alone; finding it lists folders upward,
    // once per folder rather than once per file.
    std::map<fs::path, SiteRoot> roots;
    auto siteOf = [&](const fs::path &file) -> const SiteRoot & {
        const fs::path folder = fs::absolute(file).parent_path();
        if (const auto it = roots.find(folder); it != roots.end())
            return it->second;
        return roots
            .emplace(folder, options.siteRoot ? SiteRoot::ForPage(fs::absolute(*options.siteRoot), file)
                                              : SiteRoot::Around(file))
            .first->second;
    };
    // A page that another page includes is converted as an include.
    std::set<uint32_t> included;
    for (const fs::path &page : gathered.pages) {
        try {
            for (const uint32_t f : audit.IncludedFiles(page, siteOf(page)))
                included.insert(f);
        } catch (const SiteRootError &) {
            // refused below
        }
    }
    for (const fs::path &page : gathered.pages) {
        try {
            if (const std::optional<uint32_t> id = audit.FileId(page); id && included.contains(*id))
                continue;
            audit.AddPage(page, siteOf(page));
        } catch (const std::exception &e) {  // the page cannot be read, or lies outside the site root
            plan.refusals.push_back({page.string(), 0, e.what()});
        }
    }
    // Pages that only include each other are no page's include: converted alone.
    const std::set<uint32_t> met(audit.FilesMet().begin(), audit.FilesMet().end());
    for (const fs::path &page : gathered.pages)
        if (const std::optional<uint32_t> id = audit.FileId(page); id && !met.contains(*id))
            gathered.others.push_back(page);
    for (const fs::path &file : gathered.others) {
        try {
            if (!audit.AddFile(file, siteOf(file))) {
                const FileRead read = ReadFileWithin(file, analysis::kMaxFileBytes);
                plan.refusals.push_back(
                    {file.string(), 0, FileReadProblem(read, file.string(), analysis::kMaxFileBytes)});
            }
        } catch (const SiteRootError &e) {
            plan.refusals.push_back({file.string(), 0, e.what()});
        }
    }

    std::map<std::string, TextEncoding> encodingOf;  // by real path
    for (const auto &[path, encoding] : options.encodingOf)
        encodingOf.emplace(analysis::RealPathKey(path), encoding);
    std::map<uint32_t, std::vector<const analysis::PageEncoding *>> readers;  // include -> pages
    std::set<uint32_t> pageNeedsDirective;
    for (const analysis::PageEncoding &page : audit.Pages()) {
        for (size_t i = 1; i < page.files.size(); ++i)
            readers[page.files[i]].push_back(&page);
        if (std::any_of(page.files.begin(), page.files.end(),
                        [&](uint32_t f) { return audit.Facts(f).bytes.Encoding().has_value(); }))
            pageNeedsDirective.insert(page.page);
    }

    for (const uint32_t id : audit.FilesMet()) {
        const analysis::SiteFile &file = audit.Files()[id];
        const analysis::FileEncodingFacts &facts = audit.Facts(id);
        PlannedFile planned;
        planned.path = file.key;
        planned.shown = audit.Shown(id);
        planned.before = file.bytes;
        planned.read = FingerprintOf(planned.path, file.bytes);
        auto refuse = [&](int line, std::string message) {
            plan.refusals.push_back({planned.shown, line, std::move(message)});
        };
        if (facts.bytes.form == ByteForm::Binary) {
            plan.warnings.push_back({planned.shown, 0, "holds NUL bytes: no text, left as it is"});
            continue;
        }
        if (const auto it = encodingOf.find(file.key); it != encodingOf.end()) {
            planned.from = it->second;
        } else if (facts.bytes.form == ByteForm::Invalid) {
            size_t count = 0;
            const TextEncoding nearer = facts.bytes.Nearer();
            const std::vector<size_t> at = InvalidByteOffsets(file.bytes, nearer, 1, &count);
            refuse(0, "its bytes are valid neither as UTF-8 nor as GBK (" + std::to_string(count)
                          + " not valid in " + TextEncodingName(nearer) + ", the first at byte "
                          + std::to_string(at.front()) + ")");
            continue;
        } else if (facts.bytes.form != ByteForm::Ascii) {
            std::string why;
            const auto pages = readers.find(id);
            planned.from = SourceEncoding(facts, pages == readers.end() ? kNoReaders : pages->second, &why);
            if (!planned.from) {
                refuse(0, why);
                continue;
            }
        }
        const FileKind kind = KindOf(file.path);
        const bool needsDirective =
            pageNeedsDirective.contains(id) && !readers.contains(id) && IsPage(file.path);
        FileConversion converted = ConvertFileText(
            {file.bytes, planned.from.value_or(options.target), options.target, kind, needsDirective});
        for (FileProblem &p : converted.refusals)
            refuse(p.line, std::move(p.message));
        for (FileProblem &p : converted.notes)
            plan.warnings.push_back({planned.shown, p.line, std::move(p.message)});
        if (kind != FileKind::StyleSheet) {
            const bool gbk = file.encoding == TextEncoding::Gbk;
            const PageStructure structure = kind == FileKind::ScriptFile
                                                ? ScanScriptFileStructure(file.bytes, gbk)
                                                : ScanPageStructure(file.bytes, gbk);
            const std::vector<SensitiveUse> uses = FindCodePageSensitiveCode(file.bytes, structure);
            if (!uses.empty())
                plan.warnings.push_back({planned.shown, uses.front().line, UsesText(uses)});
        }
        if (!converted.refusals.empty())
            continue;
        planned.after = std::move(converted.bytes);
        planned.changes = std::move(converted.changes);
        if (planned.Changes()) {
            // What `--to` the old encoding would make of the new bytes.
            TextEncoding back = planned.from.value_or(options.target);
            if (!planned.from && !planned.changes.empty() && !planned.changes.front().before.empty()) {
                const DeclarationChange &c = planned.changes.front();
                back = CodePageEncoding(c.before).value_or(CharsetEncoding(c.before).value_or(back));
            }
            const FileConversion reverse =
                ConvertFileText({planned.after, options.target, back, kind, false});
            planned.comesBack = reverse.refusals.empty() && reverse.bytes == planned.before;
        }
        plan.files.push_back(std::move(planned));
    }
    std::stable_sort(plan.refusals.begin(), plan.refusals.end(),
                     [](const PlanMessage &a, const PlanMessage &b) {
                         return std::tie(a.file, a.line) < std::tie(b.file, b.line);
                     });
    return plan;
}

WriteReport RunConversion(const ConversionPlan &plan, FileOperations &files)
{
    if (!plan.CanRun())
        throw WriteError("the conversion was refused (" + std::to_string(plan.refusals.size())
                         + " problems): nothing was written");
    std::vector<FileWrite> writes;
    std::string changedOnDisk;
    for (const PlannedFile &f : plan.files) {
        if (!f.Changes())
            continue;
        if (CurrentFingerprint(f.path) != f.read)
            changedOnDisk += (changedOnDisk.empty() ? "" : ", ") + f.shown;
        writes.push_back({f.path, f.after, false});
    }
    if (!changedOnDisk.empty())
        throw WriteError("changed on disk since they were read: " + changedOnDisk + "; nothing was written");
    return WriteAllOrNothing(writes, files);
}

}  // namespace qasp::convert
