// A save that failed or was refused; the message (UTF-8) says why and names
// the files. Whatever the reason, the files are as they were before.
#pragma once

#include <stdexcept>

namespace qasp {

struct WriteError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace qasp
