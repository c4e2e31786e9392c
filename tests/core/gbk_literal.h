#pragma once

#include "text/gbk_codec.h"

// Test texts are written in UTF-8; the program's texts are code page 936.
inline std::string Gbk(std::string_view utf8)
{
    return qasp::Utf8ToGbk(utf8);
}
