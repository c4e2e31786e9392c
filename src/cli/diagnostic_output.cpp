#include "cli/diagnostic_output.h"

#include "analysis/check_messages.h"
#include "version.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <map>

namespace qasp::cli {
namespace {

using analysis::CheckMessageText;
using analysis::DiagnosticCode;
using analysis::DiagnosticMessage;
using nlohmann::json;

const char *SeverityWord(vbs::Severity s)
{
    return s == vbs::Severity::Error ? "error" : "warning";
}

std::string RelatedMessage(const vbs::RelatedPlace &r, vbs::MessageLanguage language)
{
    const char *text = CheckMessageText(r.messageKey, language);
    return text ? text : r.messageKey;
}

json Region(uint32_t line, uint32_t column)
{
    return {{"startLine", line}, {"startColumn", column}};
}

json Location(const std::string &file, json region)
{
    return {{"physicalLocation",
             {{"artifactLocation", {{"uri", UriOfPath(file)}}}, {"region", std::move(region)}}}};
}

}  // namespace

std::string UriOfPath(const std::string &path)
{
    std::string uri;
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || c == '-' || c == '.'
            || c == '_' || c == '~' || c == '/') {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", b);
            uri += escaped;
        }
    }
    return uri;
}

void WriteText(std::ostream &out, const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language)
{
    for (const ShownDiagnostic &s : list) {
        const vbs::Diagnostic &d = s.diagnostic;
        out << s.file << ':' << d.line << ':' << d.column << ": " << SeverityWord(d.severity) << ": "
            << DiagnosticMessage(d, language) << " [" << DiagnosticCode(d) << "]\n";
        for (size_t i = 0; i < d.related.size(); ++i)
            out << s.relatedFiles[i] << ':' << d.related[i].line << ':' << d.related[i].column
                << ": note: " << RelatedMessage(d.related[i], language) << '\n';
    }
}

json DiagnosticArray(const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language)
{
    json array = json::array();
    for (const ShownDiagnostic &s : list) {
        const vbs::Diagnostic &d = s.diagnostic;
        json related = json::array();
        for (size_t i = 0; i < d.related.size(); ++i)
            related.push_back({{"file", s.relatedFiles[i]},
                               {"line", d.related[i].line},
                               {"column", d.related[i].column},
                               {"message", RelatedMessage(d.related[i], language)}});
        array.push_back({{"file", s.file},
                         {"line", d.line},
                         {"column", d.column},
                         {"endLine", d.endLine},
                         {"endColumn", d.endColumn},
                         {"severity", SeverityWord(d.severity)},
                         {"code", DiagnosticCode(d)},
                         {"message", DiagnosticMessage(d, language)},
                         {"related", std::move(related)}});
    }
    return array;
}

void WriteJson(std::ostream &out, const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language)
{
    out << DiagnosticArray(list, language).dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

void WriteSarif(std::ostream &out, const std::vector<ShownDiagnostic> &list, vbs::MessageLanguage language)
{
    // One rule per code met, described by its message without argument.
    std::map<std::string, size_t> ruleIndex;
    json rules = json::array();
    json results = json::array();
    for (const ShownDiagnostic &s : list) {
        const vbs::Diagnostic &d = s.diagnostic;
        const std::string code = DiagnosticCode(d);
        if (!ruleIndex.contains(code)) {
            ruleIndex.emplace(code, rules.size());
            const char *text = CheckMessageText(d.messageKey, language);
            rules.push_back({{"id", code}, {"shortDescription", {{"text", text ? text : code}}}});
        }
        json region = Region(d.line, d.column);
        if (d.endLine > d.line || (d.endLine == d.line && d.endColumn > d.column)) {
            region["endLine"] = d.endLine;
            region["endColumn"] = d.endColumn;
        }
        json result = {{"ruleId", code},
                       {"ruleIndex", ruleIndex.at(code)},
                       {"level", SeverityWord(d.severity)},
                       {"message", {{"text", DiagnosticMessage(d, language)}}},
                       {"locations", json::array({Location(s.file, std::move(region))})}};
        if (!d.related.empty()) {
            json related = json::array();
            for (size_t i = 0; i < d.related.size(); ++i) {
                json place = Location(s.relatedFiles[i], Region(d.related[i].line, d.related[i].column));
                place["id"] = i;
                place["message"] = {{"text", RelatedMessage(d.related[i], language)}};
                related.push_back(std::move(place));
            }
            result["relatedLocations"] = std::move(related);
        }
        results.push_back(std::move(result));
    }
    const json log = {
        {"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
        {"version", "2.1.0"},
        {"runs",
         json::array(
             {{{"tool", {{"driver", {{"name", "qasp"}, {"version", QASP_VERSION}, {"rules", rules}}}}},
               // Columns count characters, as the listing's do.
               {"columnKind", "unicodeCodePoints"},
               {"results", std::move(results)}}})},
    };
    out << log.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

}  // namespace qasp::cli
