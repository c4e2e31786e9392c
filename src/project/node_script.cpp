#include "project/node_script.h"

#include "editor/declaration_scan.h"
#include "editor/keyword_store.h"
#include "project/document_assembly.h"
#include "site/page_structure.h"
#include "text/gbk_codec.h"

namespace qasp {

bool StartsInCode(const TreeNode &node)
{
    return !node.IsDocument() || (node.Record() && IsVBScriptFile(node.Record()->SourceFile));
}

std::string ScriptMaskOfNode(const TreeNode &node, std::string_view text)
{
    const bool gbk = node.Encoding() == TextEncoding::Gbk;
    if (!StartsInCode(node))
        return VBScriptOnly(text, ScanPageStructure(text, gbk));
    const std::string page = "<%" + std::string(text);
    return VBScriptOnly(page, ScanPageStructure(page, gbk)).substr(2);
}

std::string ScriptOfNode(const TreeNode &node, std::string_view text)
{
    std::string script = ScriptMaskOfNode(node, text);
    return node.Encoding() == TextEncoding::Gbk ? script : Utf8ToGbk(script);
}

std::string ScriptOfLine(std::string_view line, PageState start, TextEncoding encoding)
{
    std::string page;
    if (start.server)
        page = start.directive ? "<%@" : "<%";
    else if (start.mode == PageMode::ServerScript && !start.otherLanguage)
        page = "<script runat=\"server\">";
    // Anywhere else (HTML, a tag, client script) the line's own "<%" opens
    // server code, as in the page.
    const size_t opener = page.size();
    page += line;
    const bool gbk = encoding == TextEncoding::Gbk;
    std::string script = VBScriptOnly(page, ScanPageStructure(page, gbk)).substr(opener);
    return gbk ? script : Utf8ToGbk(script);
}

std::string PageLevelText(const TreeNode &document)
{
    std::string text(document.Text());
    for (const TreeNode *p : ProceduresInFileOrder(document)) {
        const TextRange r = document.Doc()->Ranges().At(p->Record()->Range);
        for (size_t i = r.begin; i < r.end && i < text.size(); ++i)
            if (text[i] != '\r' && text[i] != '\n')
                text[i] = ' ';
    }
    return text;
}

void ScanNodeDeclarations(KeywordStore &store, const TreeNode &node)
{
    if (node.IsDocument())
        ScanDeclarations(store, KeywordTable::Public, ScriptOfNode(node, PageLevelText(node)));
    else
        ScanDeclarations(store, KeywordTable::Other, ScriptOfNode(node, node.Text()));
}

}  // namespace qasp
