#include "text/gbk.h"

namespace qasp {

size_t GbkPreviousCharStart(std::string_view s, size_t from, size_t end)
{
    size_t prev = from;
    for (size_t i = from; i < end; i += GbkCharLength(s, i))
        prev = i;
    return prev;
}

}  // namespace qasp
