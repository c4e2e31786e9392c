#include "analysis/application_file.h"

#include "text/byte_string.h"
#include "vbscript/names.h"

namespace qasp::analysis {

ApplicationNames ReadApplicationNames(const std::filesystem::path &siteRoot, SiteFiles &files)
{
    ApplicationNames names;
    std::error_code ec;
    for (std::filesystem::directory_iterator entry(siteRoot, ec), end; !ec && entry != end;
         entry.increment(ec)) {
        std::error_code typeError;
        if (!EqualsNoCase(entry->path().filename().native(), "global.asa")
            || !entry->is_regular_file(typeError))
            continue;
        const std::optional<uint32_t> id = files.Open(entry->path(), RealPathKey(entry->path()), nullptr);
        if (!id)
            break;
        const SiteFile &file = files[*id];
        names.typeLibrary = file.importsTypeLibrary;
        for (const ServerObject &o : file.serverObjects)
            if (o.scope == "application" || o.scope == "session")
                names.objects.push_back(vbs::FoldName(o.id, file.encoding));
        break;
    }
    return names;
}

}  // namespace qasp::analysis
