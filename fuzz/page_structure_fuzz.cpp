// Any bytes scanned as a GBK and as a UTF-8 page: the regions must be in
// order, cover the page without gaps and hold their code; every other range
// must lie in the page; VBScriptOnly must keep the size and every line break.
#include "site/page_structure.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckPage(std::string_view page, bool gbk)
{
    const qasp::PageStructure s = qasp::ScanPageStructure(page, gbk);
    size_t at = 0;
    for (const qasp::PageRegion &r : s.regions) {
        Check(r.begin == at && r.begin < r.end);
        Check(r.begin <= r.codeBegin && r.codeBegin <= r.codeEnd && r.codeEnd <= r.end);
        at = r.end;
    }
    Check(at == page.size());
    for (const qasp::IncludeDirective &d : s.includes)
        Check(d.begin < d.pathBegin && d.pathBegin < d.pathEnd && d.pathEnd < d.end && d.end <= page.size());
    size_t after = 0;
    for (const qasp::Procedure &p : s.procedures) {
        Check(after <= p.begin && p.begin < p.end && p.end <= page.size() && p.line >= 1);
        after = p.end;
    }
    for (const qasp::PageProblem &p : s.problems)
        Check(p.offset < page.size() && p.line >= 1);
    const std::string only = qasp::VBScriptOnly(page, s);
    Check(only.size() == page.size());
    for (size_t i = 0; i < page.size(); ++i)
        Check((page[i] == '\r' || page[i] == '\n') == (only[i] == '\r' || only[i] == '\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view page(reinterpret_cast<const char *>(data), size);
    CheckPage(page, true);
    CheckPage(page, false);
    return 0;
}
