// The four tables of the keyword store, as callers name them.
#pragma once

#include <string_view>

namespace qasp {

enum class KeywordTable {
    Main,      // key_main: statements and keywords, shared by every editor
    Function,  // key_function: built-in functions and ASP methods, shared
    Public,    // key_public: the open project's globals and functions, this process's
    Other,     // key_other: the locals of the function in hand, this process's
};

// The table's name in the store ("key_public").
std::string_view KeywordTableName(KeywordTable table);

}  // namespace qasp
