// The key_type column of the keyword store, plus the three categories the
// colouring adds. The value is also the icon index of a completion entry.
#pragma once

namespace qasp {

enum KeyType : int {
    kNoEntry = -1,
    kKeyword = 0,
    kBuiltinFunction = 1,
    kGlobalVariable = 2,
    kGlobalConstant = 3,
    kLocalVariable = 4,
    kLocalConstant = 5,
    kProjectFunction = 6,
    kComment = 7,
    kString = 8,
};

}  // namespace qasp
