// The objects a page's HTML creates on the server: <object runat="server"
// id="Name" progid="..."> makes Name a variable of the page's script, and in
// global.asa, with scope="Application" or "Session", of every page of the
// application.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp::analysis {

struct ServerObject {
    std::string id;     // as written
    std::string scope;  // lower-cased; empty when not given (a page's own)
};

// Every <object> start tag with runat="server" and an id in `html` (the
// text between server blocks). `gbk`: a multi-byte character is stepped
// over whole, never read as a quote or '>'.
std::vector<ServerObject> ServerObjectsIn(std::string_view html, bool gbk);

}  // namespace qasp::analysis
