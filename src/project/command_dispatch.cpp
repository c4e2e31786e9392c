#include "project/command_dispatch.h"

#include "editor/editor_surface.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/include_path.h"
#include "project/outside_changes.h"
#include "project/project_commands.h"
#include "project/project_memory.h"
#include "project/project_search.h"
#include "project/prompter.h"
#include "project/site_editing.h"
#include "project/site_save.h"
#include "project/stale_temporaries.h"
#include "project/tree_editing.h"
#include "project/window_surface.h"
#include "project/workspace.h"
#include "text/gbk_codec.h"
#include "version.h"

#include <filesystem>

namespace qasp {

namespace fs = std::filesystem;

CommandDispatcher::CommandDispatcher(ProjectWorkspace &ws, Prompter &prompter, CommandDialogs &dialogs)
    : ws_(ws),
      prompter_(prompter),
      dialogs_(dialogs)
{
}

void CommandDispatcher::Action_Do(ActionId sender)
{
    WindowSurface &window = ws_.Window();
    switch (sender) {
    case ActionId::GetColor: dialogs_.SetColourPicking(window.ActionChecked(ActionId::GetColor)); break;
    case ActionId::Exit: dialogs_.CloseWindow(); break;
    case ActionId::Help: dialogs_.ShowHelp(); break;
    case ActionId::Copy: dialogs_.CopyEditorSelection(); break;
    case ActionId::Cut:
        if (dialogs_.CutEditorSelection())
            break;
        ws_.CutNode = ws_.Tree().Selected();
        window.SetActionEnabled(ActionId::Paste, false);
        break;
    case ActionId::Paste: Paste(); break;
    case ActionId::About:
        prompter_.Information("QuillmereASP编辑器 V" QASP_VERSION_SHORT " (For VBScript)\n\n"
                              "经典 ASP 网站的 VBScript 编辑器: 按包含关系把网站拆成文档和函数, "
                              "逐个编辑, 再保存为原来的一组文件或合并成一个文档。");
        break;
    case ActionId::Search: dialogs_.ShowFindReplace(false); break;
    case ActionId::Replace: dialogs_.ShowFindReplace(true); break;
    case ActionId::NewDOC: NewDocumentProject(); break;
    case ActionId::OPEN: Open(); break;
    case ActionId::AddAsp: AddAsp(); break;
    case ActionId::Del:
        // Nothing selected: nothing to ask about.
        if (ws_.Tree().Selected()
            && prompter_.Question("删除提示", "你确定要删除这个结点吗?", QuestionButtons::YesNo)
                   == Answer::Yes)
            DeleteSelectedNode(ws_, prompter_);
        break;
    case ActionId::New:
        switch (prompter_.Question("操作提示",
                                   "你想添加一个新的ASP文档还是一个函数模块?\r  选[是]添加ASP文档\r"
                                   "  选[否]添加函数模块\r  按[取消]退出操作",
                                   QuestionButtons::YesNoCancel)) {
        case Answer::Yes: AddAspDocument(ws_, prompter_); break;
        case Answer::No: AddFunction(ws_, prompter_); break;
        default: break;
        }
        break;
    case ActionId::Save: Save(); break;
    case ActionId::SaveSingle: SaveSingle(); break;
    case ActionId::SaveAS: SaveAs(); break;
    case ActionId::SaveSelect: SaveSelect(); break;
    case ActionId::SiteRoot: ChooseSiteRoot(); break;
    case ActionId::ReopenGbk: ReopenSelected(TextEncoding::Gbk); break;
    case ActionId::ReopenUtf8: ReopenSelected(TextEncoding::Utf8); break;
    case ActionId::Undo: ws_.Undo(); break;
    case ActionId::Redo: ws_.Redo(); break;
    case ActionId::Plus:
    case ActionId::VarNeed: break;  // the switch has flipped its check mark; nothing more
    }
}

void CommandDispatcher::Panel2DoubleClick()
{
    if (!ws_.Tree().Selected())  // the editor shows no node to write into
        return;
    ws_.Window().Memo().ReplaceSelection(dialogs_.PickerCaption());
}

bool CommandDispatcher::MayDiscardChanges()
{
    if (!ws_.Modified || !ws_.Tree().FirstTopLevel())
        return true;
    switch (prompter_.Question("保存提示", "工程已经修改，要保存吗?", QuestionButtons::YesNoCancel)) {
    case Answer::Yes: Save(); return !ws_.Modified;  // a save that did not happen keeps the window
    case Answer::No: return true;
    default: return false;
    }
}

void CommandDispatcher::Paste()
{
    TreeNode *target = ws_.Tree().Selected();
    TreeNode *cut = ws_.CutNode;  // forgotten by the workspace when its node goes
    if (!cut || !target || !target->IsDocument())
        return;
    if (MoveNodeWithText(ws_.Tree(), cut, target))
        dialogs_.ExpandNode(target);
}

// The project is opened again with the chosen folder as its site root.
void CommandDispatcher::ChooseSiteRoot()
{
    TreeNode *root = ws_.Tree().FirstTopLevel();
    if (!root || !root->Record() || root->Record()->SourceFile.empty() || !MayDiscardChanges())
        return;
    const std::optional<std::string> dir = dialogs_.ChooseDirectory();
    if (!dir || dir->empty())
        return;
    const fs::path rootFile = root->Record()->SourceFile;
    const fs::path previous = ws_.SiteRoot;
    try {
        const std::vector<std::string> skipped = OpenProject(ws_, rootFile, fs::path(*dir));
        siteRootChosen_ = true;
        RememberProject();
        if (!skipped.empty())
            prompter_.Information(ListedMessage("打开工程时跳过了:", skipped));
    } catch (const LoadError &e) {
        // A folder the page is not in: the project is opened as it was.
        prompter_.Information(e.what());
        OpenProject(ws_, rootFile, previous);
    }
}

void CommandDispatcher::RememberProject()
{
    const TreeNode *root = ws_.Tree().FirstTopLevel();
    if (!memory_ || !root || !root->Record() || root->Record()->SourceFile.empty())
        return;
    memory_->Remember(root->Record()->SourceFile,
                      {siteRootChosen_ ? ws_.SiteRoot : fs::path(), ws_.FileEncodings});
}

void CommandDispatcher::ReopenSelected(TextEncoding encoding)
{
    TreeNode *node = ws_.Tree().Selected();
    while (node && !node->IsDocument())
        node = node->Parent();
    if (!node || !node->Record() || node->Record()->SourceFile.empty()) {
        prompter_.Information("请先选择一个从文件读入的文档。");
        return;
    }
    if (DocumentEdited(*node)
        && prompter_.Question("重新打开", "这个文档已经修改，重新打开会丢失修改。继续吗?",
                              QuestionButtons::YesNo)
               != Answer::Yes)
        return;
    ws_.FileEncodings[FileKey(node->Record()->SourceFile)] = encoding;
    ReloadDocument(ws_, node);
    RememberProject();
}

void CommandDispatcher::NewDocumentProject()
{
    if (!MayDiscardChanges())
        return;
    const std::optional<std::string> chosen = dialogs_.ChooseFileToSave();
    if (!chosen)
        return;
    // The dialogs hand over the file system's bytes in a std::string; from
    // here on the file is a path.
    const fs::path file(*chosen);
    WindowSurface &window = ws_.Window();
    ws_.ProjectDir = file.parent_path().string();
    ProjectTree &tree = ws_.Tree();
    tree.Clear();
    // A display text is GBK; the chosen path is the file system's UTF-8.
    TreeNode *root = tree.AddTopLevel(Utf8ToGbk(file.filename().string()));
    const bool header = window.ActionChecked(ActionId::VarNeed);
    if (ws_.NewPageEncoding == TextEncoding::Utf8) {
        // The layout declares code page 936; a new UTF-8 page declares its own.
        std::string bytes = AspDocumentBytes(*root, header);
        const std::string gbk = "<%@codepage=936%>";
        if (bytes.starts_with(gbk))
            bytes.replace(0, gbk.size(), "<%@codepage=65001%>");
        WriteFileAtomically(file, bytes);
    } else if (!Saved(SaveAspDocument(root, ws_.ProjectDir, header, prompter_))) {
        return;
    }
    tree.Clear();
    window.SetActionChecked(ActionId::VarNeed, false);
    // The new page holds only ASCII so far: it is read, and written from
    // now on, in the encoding the options give new pages.
    ws_.FileEncodings[FileKey(file)] = ws_.NewPageEncoding;
    LoadContext context;
    context.encoding = ws_.Encoding;
    context.fileEncodings = ws_.FileEncodings;
    try {
        LoadAspDocument(tree, nullptr, file, ws_.Store(), context);
    } catch (...) {
        tree.Clear();  // nothing half-loaded stays to be saved
        ws_.Modified = false;
        throw;
    }
    ws_.Store().RefreshKeywords();
    ws_.SelectNode(tree.FirstTopLevel());
    ws_.Modified = false;
}

void CommandDispatcher::Open()
{
    if (!MayDiscardChanges())
        return;
    if (const std::optional<std::string> file = dialogs_.ChooseFileToOpen())
        OpenProjectFile(*file);
}

void CommandDispatcher::OpenProjectFile(const std::string &file)
{
    // The window hands over the file system's bytes in a std::string; they
    // become a path here.
    // The choices made when this page was last open, none for a new one
    // (those made for the files of another project go).
    const fs::path path(file);
    const std::optional<ProjectChoices> recalled = memory_ ? memory_->Recall(path) : std::nullopt;
    ws_.FileEncodings = recalled ? recalled->fileEncodings : std::map<std::string, TextEncoding>();
    siteRootChosen_ = recalled && !recalled->siteRoot.empty();
    std::vector<std::string> skipped;
    try {
        skipped = OpenProject(ws_, path, siteRootChosen_ ? recalled->siteRoot : fs::path());
    } catch (const LoadError &) {
        if (!siteRootChosen_)
            throw;
        // The remembered root no longer holds the page: found again.
        siteRootChosen_ = false;
        skipped = OpenProject(ws_, path);
    }
    RememberProject();
    if (!skipped.empty())
        prompter_.Information(ListedMessage("打开工程时跳过了:", skipped));
    ReportStaleFiles(RemoveStaleSaveFiles(ws_.Tree()));
}

void CommandDispatcher::OpenProjectFileAskingFirst(const std::string &file)
{
    if (MayDiscardChanges())
        OpenProjectFile(file);
}

void CommandDispatcher::AddAsp()
{
    const std::optional<std::string> chosen = dialogs_.ChooseFileToOpen();
    if (!chosen)
        return;
    const fs::path file(*chosen);  // the file system's bytes, as the dialog gives them
    LoadContext context;
    context.siteRoot = ws_.SiteRoot;
    context.encoding = ws_.Encoding;
    context.fileEncodings = ws_.FileEncodings;
    TreeNode *parent = ws_.Tree().Selected();
    const size_t before = parent ? parent->Children().size() : ws_.Tree().TopLevel().size();
    try {
        LoadAspDocument(ws_.Tree(), parent, file, ws_.Store(), context);
    } catch (...) {
        // The half-loaded document goes again: it must never be saved.
        const auto &siblings = parent ? parent->Children() : ws_.Tree().TopLevel();
        if (siblings.size() > before)
            ws_.Tree().Delete(siblings.back().get());
        ws_.Store().RefreshKeywords();
        throw;
    }
    ws_.Store().RefreshKeywords();
    ws_.Modified = true;
    if (!context.warnings.empty())
        prompter_.Information(ListedMessage("加载时跳过了:", context.warnings));
}

std::optional<std::string> CommandDispatcher::ProjectDirectory()
{
    if (!ws_.ProjectDir.empty() || !ws_.Tree().FirstTopLevel())
        return ws_.ProjectDir;
    prompter_.Information("工程还没有目录，请选择保存工程的目录。");
    const std::optional<std::string> dir = dialogs_.ChooseDirectory();
    if (!dir || dir->empty())
        return std::nullopt;
    ws_.ProjectDir = *dir;
    return ws_.ProjectDir;
}

void CommandDispatcher::Save()
{
    if (ws_.SaveWritesLayout && ws_.Tree().FirstTopLevel()) {
        const std::optional<std::string> dir = ProjectDirectory();
        if (dir
            && Saved(SaveAspDocument(ws_.Tree().FirstTopLevel(), *dir,
                                     ws_.Window().ActionChecked(ActionId::VarNeed), prompter_)))
            ws_.Modified = false;
        return;
    }
    // A project made in the editor has no site yet: its folder is asked for.
    if (ws_.SiteRoot.empty()) {
        const std::optional<std::string> dir = ProjectDirectory();
        if (!dir)
            return;
        ws_.SiteRoot = *dir;
    }
    if (Saved(SaveSite(ws_.Tree(), ws_.SiteRoot, prompter_)))
        ws_.Modified = false;
}

void CommandDispatcher::SaveAs()
{
    const std::optional<std::string> chosen = dialogs_.ChooseDirectory();
    if (!chosen)
        return;
    std::string dir = *chosen;
    if (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    if (dir.empty())  // an empty path never reaches the writer
        return;
    if (Saved(SaveAspDocument(ws_.Tree().FirstTopLevel(), dir, ws_.Window().ActionChecked(ActionId::VarNeed),
                              prompter_)))
        ws_.Modified = false;
}

void CommandDispatcher::SaveSelect()
{
    TreeNode *node = ws_.Tree().Selected();
    if (!node || !node->IsDocument()) {
        prompter_.Information("只能保存ASP文档!");
        return;
    }
    if (node->IsRepeat() && !(node = FirstInclusionOf(ws_.Tree(), node)))
        return;
    if (ws_.SiteRoot.empty()) {
        const std::optional<std::string> dir = ProjectDirectory();
        if (!dir)
            return;
        ws_.SiteRoot = *dir;
    }
    Saved(SaveSite(ws_.Tree(), ws_.SiteRoot, prompter_, OverwritePolicy::Ask, SystemFiles(), std::nullopt,
                   node));
}

void CommandDispatcher::SaveSingle()
{
    const std::optional<std::string> file = dialogs_.ChooseFileToSave();
    if (file)
        Saved(
            SaveSingleDocument(ws_.Tree(), *file, ws_.Window().ActionChecked(ActionId::VarNeed), prompter_));
}

void CommandDispatcher::ReportStaleFiles(const std::vector<std::filesystem::path> &removed)
{
    if (const std::string notice = StaleFilesNotice(removed); !notice.empty())
        prompter_.Information(notice);
}

bool CommandDispatcher::Saved(const SaveResult &result)
{
    ReportStaleFiles(result.staleRemoved);
    std::vector<std::string> lines;
    switch (result.outcome) {
    case SaveOutcome::Saved:
        for (const BackupMade &b : result.backups)
            lines.push_back(b.original.string() + " -> " + b.backup.string());
        if (!lines.empty())
            prompter_.Information(ListedMessage("已保存。下列原文件保留为备份:", lines));
        if (!result.notices.empty())
            prompter_.Information(ListedMessage("已保存，但:", result.notices));
        return true;
    case SaveOutcome::ReloadRequested:
        // Nothing was written: the changed files are read again, each
        // replacing its part of the project; the rest keeps its edits.
        for (const std::filesystem::path &f : result.reload) {
            for (TreeNode *n = ws_.Tree().FirstTopLevel(); n; n = ws_.Tree().NextInPreOrder(n))
                if (n->IsDocument() && n->Record() && n->Record()->SourceFile == f) {
                    ReloadDocument(ws_, n);
                    break;
                }
        }
        return false;
    case SaveOutcome::Cancelled: break;
    }
    return false;
}

}  // namespace qasp
