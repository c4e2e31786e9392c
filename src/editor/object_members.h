// The methods and properties of the built-in ASP objects and of the COM
// objects pages make with Server.CreateObject, for the member list after a
// dot. Data only: the table lives in object_members.cpp.
#pragma once

#include <span>
#include <string_view>

namespace qasp {

struct ObjectMember {
    std::string_view object;  // "Response", "ADODB.Recordset"
    std::string_view name;
    std::string_view hint;  // UTF-8
    bool method;
};

std::span<const ObjectMember> ObjectMembers();

}  // namespace qasp
