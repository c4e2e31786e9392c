#pragma once

#include "cli/command_line.h"

namespace qasp::cli {

int KeywordsCommand(Arguments args);
int ColourCommand(Arguments args);

}  // namespace qasp::cli
