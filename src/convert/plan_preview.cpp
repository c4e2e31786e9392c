#include "convert/plan_preview.h"

namespace qasp::convert {

std::string PlanMessageLine(const PlanMessage &m, const char *severity)
{
    std::string line = m.file.empty() ? "qasp convert" : m.file;
    if (m.line > 0)
        line += ':' + std::to_string(m.line);
    return line + ": " + severity + ": " + m.message + '\n';
}

std::string PlanPreview(const ConversionPlan &plan)
{
    std::string text;
    for (const PlannedFile &f : plan.files) {
        if (!f.Changes())
            continue;
        text += f.shown + ": "
                + (f.from ? std::string(TextEncodingName(*f.from)) + " -> " + TextEncodingName(plan.target)
                          : std::string("ASCII"));
        if (!f.changes.empty())
            text +=
                ", " + std::to_string(f.changes.size()) + " declaration" + (f.changes.size() > 1 ? "s" : "");
        text += '\n';
        for (const DeclarationChange &c : f.changes) {
            text += "  line " + std::to_string(c.line) + ": " + DeclarationKindName(c.kind) + ' ';
            text += c.before.empty() ? c.after + " added\n" : c.before + " -> " + c.after + '\n';
        }
    }
    for (const PlanMessage &m : plan.warnings)
        text += PlanMessageLine(m, "warning");
    for (const PlanMessage &m : plan.refusals)
        text += PlanMessageLine(m, "error");
    const size_t declarations = plan.DeclarationChanges();
    text += std::to_string(plan.ChangedFiles()) + " of " + std::to_string(plan.files.size())
            + " files change to " + TextEncodingName(plan.target) + ", " + std::to_string(declarations)
            + " declaration" + (declarations == 1 ? "" : "s") + " rewritten\n";
    return text;
}

}  // namespace qasp::convert
