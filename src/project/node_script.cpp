#include "project/node_script.h"

#include "editor/declaration_scan.h"
#include "editor/keyword_store.h"
#include "site/page_structure.h"
#include "text/gbk_codec.h"

namespace qasp {

std::string ScriptOfNode(const TreeNode &node, std::string_view text)
{
    const TTreeRec *record = node.Record();
    const TextEncoding encoding = record ? record->Encoding : TextEncoding::Gbk;
    const bool gbk = encoding == TextEncoding::Gbk;
    std::string script;
    if (node.IsDocument()) {
        script = VBScriptOnly(text, ScanPageStructure(text, gbk));
    } else {
        // A procedure starts inside a server block.
        const std::string page = "<%" + std::string(text);
        script = VBScriptOnly(page, ScanPageStructure(page, gbk)).substr(2);
    }
    return gbk ? script : Utf8ToGbk(script);
}

void ScanNodeDeclarations(KeywordStore &store, const TreeNode &node, std::string_view text)
{
    ScanDeclarations(store, node.IsDocument() ? KeywordTable::Public : KeywordTable::Other,
                     ScriptOfNode(node, text));
}

}  // namespace qasp
