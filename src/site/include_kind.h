// The two ways an include directive names its file: file="..." from the
// folder of the file holding the directive, virtual="..." from the site root.
#pragma once

namespace qasp {

enum class IncludeKind { File, Virtual };

}  // namespace qasp
