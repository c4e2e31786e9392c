// The attributes of an HTML start tag, as the server reads them from a
// page's bytes: name="value", name='value', name=value or a bare name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp::analysis {

struct TagAttribute {
    std::string name;   // lower-cased
    std::string value;  // as written, without quotes or surrounding blanks
};

// The attributes from `from` (just after the tag's name) to the tag's '>'
// (or a '<' or the end of `text`, which ends a broken tag). `gbk`: a
// multi-byte character is stepped over whole, never read as a quote.
std::vector<TagAttribute> ReadTagAttributes(std::string_view text, size_t from, bool gbk);

// The value of attribute `name` (lower-case), empty when it is not there.
std::string AttributeValue(const std::vector<TagAttribute> &attributes, std::string_view name);

}  // namespace qasp::analysis
