// The figures of one site: every page's outcome added up, the faults kept
// for the report with their pages.
#pragma once

#include "page_check.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace qasp::sitecheck {

class SiteTally {
public:
    SiteTally(std::string name, std::filesystem::path folder)
        : name_(std::move(name)),
          folder_(std::move(folder))
    {
    }

    void Add(const PageOutcome &page);
    void SkipMetadata() { ++metadata_; }
    void SetSeconds(double seconds) { seconds_ = seconds; }

    // Faults that must not happen: bytes changed without an edit, or an edit
    // that reached bytes it should not.
    bool SaveFaults() const { return !noEditPages_.empty() || !editPages_.empty(); }

    // The report; `examples` disagreements of each kind are shown.
    void Print(std::ostream &out, std::size_t examples) const;
    // One line for a table: "summary", then the figures, tab-separated;
    // RowHeader names them in a line starting "columns".
    std::string Row() const;
    static std::string RowHeader();

private:
    std::string Relative(const std::filesystem::path &page) const;

    std::string name_;
    std::filesystem::path folder_;
    int pages_ = 0, metadata_ = 0, opened_ = 0, documents_ = 0;
    std::vector<std::string> notOpened_;
    long met_ = 0, followed_ = 0, exists_ = 0, followedOfExisting_ = 0;
    std::set<std::tuple<std::string, int, std::string>> distinct_;
    std::map<std::string, long> skipped_;
    std::set<std::string> resolverDisagreements_;
    std::vector<std::string> noEditPages_, editPages_;
    int edited_ = 0, noProcedure_ = 0, procedures_ = 0;
    std::map<std::string, std::string> kinds_;  // file -> "GBK CRLF"
    int agree_ = 0, disagree_ = 0, failed_ = 0;
    std::vector<std::string> flattenExamples_, flattenFailures_;
    std::vector<std::string> rootDifferences_;
    double seconds_ = 0, load_ = 0, check_ = 0, flatten_ = 0, expand_ = 0, slowest_ = 0;
    std::string slowestPage_;
};

}  // namespace qasp::sitecheck
