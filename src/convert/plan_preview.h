// A conversion plan as text for people: each file that changes with its
// declarations by line, then the warnings and the refusals, then the
// counts. The command line prints it; the window shows the same before it
// asks to go on.
#pragma once

#include "convert/site_conversion.h"

#include <string>

namespace qasp::convert {

std::string PlanPreview(const ConversionPlan &plan);

// "FILE:LINE: SEVERITY: MESSAGE" (no line for the file as a whole).
std::string PlanMessageLine(const PlanMessage &message, const char *severity);

}  // namespace qasp::convert
