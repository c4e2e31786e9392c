#pragma once

#include "cli/command_line.h"

namespace qasp::cli {

int KeywordsCommand(Arguments args);
int ColourCommand(Arguments args);
int ScanCommand(Arguments args);
int TreeCommand(Arguments args);
int SaveCommand(Arguments args);
int MergeCommand(Arguments args);
int IncludesCommand(Arguments args);
int FlattenCommand(Arguments args);
int SkinCommand(Arguments args);
int CheckCommand(Arguments args);
int EncodingsCommand(Arguments args);
int ConvertCommand(Arguments args);

}  // namespace qasp::cli
