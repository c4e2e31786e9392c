#include "project/include_path.h"

#include "text/gbk_codec.h"

namespace qasp {
namespace fs = std::filesystem;

std::string DocumentDisplayName(std::string_view includePath)
{
    // The include line's path as written ("inc\\conn.asp", "/inc/conn.asp"):
    // cutting it to the bare file name made the writer write the include
    // line anew pointing at another file, and the file itself beside the
    // page, over whatever file of that name was there.
    return std::string(includePath);
}

std::string RootDisplayName(const fs::path &file)
{
    const std::string name = file.filename().string();
    bool lossy = false;
    std::string gbk = Utf8ToGbk(name, &lossy);
    return lossy ? name : gbk;
}

}  // namespace qasp
