#include "site_tally.h"

#include <cstdio>
#include <sstream>

namespace qasp::sitecheck {
namespace {

std::string Percent(long part, long whole)
{
    if (whole == 0)
        return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%",
                  100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return text;
}

std::string Seconds(double s)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", s);
    return text;
}

// A missing file and one outside the site are the resolver's own answers;
// a cycle or a binary file is skipped after the file was found.
bool ResolverSaidNoFile(const std::string &reason)
{
    return reason == "missing" || reason == "outside-site-root" || reason == "is-a-folder"
           || reason == "not-a-file";
}

void List(std::ostream &out, const std::vector<std::string> &lines, std::size_t shown)
{
    for (std::size_t i = 0; i < lines.size() && i < shown; ++i)
        out << "    " << lines[i] << '\n';
    if (lines.size() > shown)
        out << "    ... and " << lines.size() - shown << " more\n";
}

constexpr std::size_t kPagesListed = 100;

}  // namespace

std::string SiteTally::Relative(const std::filesystem::path &page) const
{
    return page.lexically_relative(folder_).string();
}

void SiteTally::Add(const PageOutcome &page)
{
    ++pages_;
    const std::string name = Relative(page.page);
    load_ += page.loadSeconds;
    check_ += page.checkSeconds;
    flatten_ += page.flattenSeconds;
    expand_ += page.expandSeconds;
    if (page.loadSeconds > slowest_) {
        slowest_ = page.loadSeconds;
        slowestPage_ = name;
    }
    switch (page.flatten) {
    case FlattenCheck::Agree: ++agree_; break;
    case FlattenCheck::Disagree:
        ++disagree_;
        flattenExamples_.push_back(name + ": simple expansion vs FlattenPage differ at "
                                   + page.flattenDetail);
        break;
    case FlattenCheck::Failed:
        ++failed_;
        flattenFailures_.push_back(name + ": " + page.flattenDetail);
        break;
    }
    if (!page.opened) {
        notOpened_.push_back(name + ": " + page.loadError);
        return;
    }
    ++opened_;
    documents_ += page.documents;
    if (!page.rootDifference.empty())
        rootDifferences_.push_back(name + ": " + page.rootDifference);
    for (std::size_t i = 0; i < page.includes.size(); ++i) {
        const IncludeMet &met = page.includes[i];
        const bool followed = met.skipped.empty();
        const bool exists = page.targetExists[i];
        ++met_;
        distinct_.emplace(met.file, met.line, met.target);
        followed_ += followed;
        exists_ += exists;
        followedOfExisting_ += followed && exists;
        if (!followed)
            ++skipped_[met.skipped];
        const std::string directive = met.file + ":" + std::to_string(met.line) + " "
                                      + (met.kind == IncludeKind::File ? "file" : "virtual") + "=\""
                                      + met.target + "\"";
        if (followed && !exists)
            resolverDisagreements_.insert(directive + ": followed, the simple resolver finds no file");
        else if (!followed && exists && ResolverSaidNoFile(met.skipped))
            resolverDisagreements_.insert(directive + ": skipped (" + met.skipped
                                          + "), the simple resolver finds the file");
    }
    if (!page.noEditFaults.empty())
        noEditPages_.push_back(name + " (" + std::to_string(page.noEditFaults.size())
                               + " documents): " + page.noEditFaults.front());
    for (const auto &[file, kind] : page.documentKinds)
        kinds_.emplace(file, kind);
    procedures_ += page.proceduresEdited;
    if (page.edit == EditCheck::NoProcedure)
        ++noProcedure_;
    else
        ++edited_;
    if (page.edit == EditCheck::Faulty)
        editPages_.push_back(name + " [" + page.edited + "] (" + std::to_string(page.editFaults.size())
                             + " faults): " + page.editFaults.front());
}

void SiteTally::Print(std::ostream &out, std::size_t examples) const
{
    out << "site: " << name_ << " (" << folder_.string() << ")\n";
    out << "pages: " << pages_;
    if (metadata_)
        out << " (" << metadata_ << " more in FrontPage metadata folders, not counted)";
    out << '\n';
    out << "pages that open: " << opened_ << " of " << pages_ << ", " << documents_
        << " documents loaded in all\n";
    List(out, notOpened_, examples);
    std::map<std::string, int> kinds;
    for (const auto &[file, kind] : kinds_)
        ++kinds[kind];
    out << "distinct files loaded: " << kinds_.size() << " (";
    for (auto it = kinds.begin(); it != kinds.end(); ++it)
        out << (it == kinds.begin() ? "" : ", ") << it->first << ' ' << it->second;
    out << ")\n";
    out << "directives met: " << met_ << " (" << distinct_.size() << " distinct), followed: " << followed_
        << '\n';
    out << "target exists (simple resolver): " << exists_ << ", followed of those: " << followedOfExisting_
        << " = " << Percent(followedOfExisting_, exists_) << '\n';
    out << "skipped by reason:";
    if (skipped_.empty())
        out << " none";
    for (const auto &[reason, count] : skipped_)
        out << ' ' << reason << '=' << count;
    out << '\n';
    out << "directives where the loader and the simple resolver disagree: " << resolverDisagreements_.size()
        << '\n';
    List(out, {resolverDisagreements_.begin(), resolverDisagreements_.end()}, examples);
    out << "pages whose site root differs from the simple one: " << rootDifferences_.size() << '\n';
    List(out, rootDifferences_, examples);
    out << "pages where bytes differ with no edit: " << noEditPages_.size() << '\n';
    List(out, noEditPages_, kPagesListed);
    out << "pages edited (one line inserted after a procedure's first line): " << edited_
        << ", without a procedure: " << noProcedure_ << ", procedures edited: " << procedures_ << '\n';
    out << "pages where the edit changed other bytes: " << editPages_.size() << '\n';
    List(out, editPages_, kPagesListed);
    out << "flatten: agree " << agree_ << ", disagree " << disagree_ << ", failed " << failed_ << '\n';
    List(out, flattenExamples_, examples);
    List(out, flattenFailures_, examples);
    out << "time: " << Seconds(seconds_) << " (load " << Seconds(load_) << ", byte checks " << Seconds(check_)
        << ", FlattenPage " << Seconds(flatten_) << ", simple expansion " << Seconds(expand_)
        << "); slowest load " << Seconds(slowest_) << " (" << slowestPage_ << ")\n";
}

std::string SiteTally::RowHeader()
{
    return "columns\tsite\tpages\topen\tmet\tfollowed\texists\tshare\tskipped\tresolver-disagree\tno-edit-"
           "faults\t"
           "edited\tedit-faults\tflatten-agree\tflatten-disagree\tflatten-failed\tseconds";
}

std::string SiteTally::Row() const
{
    std::ostringstream row;
    std::string skipped;
    for (const auto &[reason, count] : skipped_)
        skipped += (skipped.empty() ? "" : ",") + reason + "=" + std::to_string(count);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", seconds_);
    row << "summary\t" << name_ << '\t' << pages_ << '\t' << opened_ << '\t' << met_ << '\t' << followed_
        << '\t' << exists_ << '\t' << Percent(followedOfExisting_, exists_) << '\t'
        << (skipped.empty() ? "-" : skipped) << '\t' << resolverDisagreements_.size() << '\t'
        << noEditPages_.size() << '\t' << edited_ << '\t' << editPages_.size() << '\t' << agree_ << '\t'
        << disagree_ << '\t' << failed_ << '\t' << seconds;
    return row.str();
}

}  // namespace qasp::sitecheck
