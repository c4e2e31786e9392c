#include "project/project_commands.h"

#include "editor/editor_surface.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/prompter.h"
#include "project/window_surface.h"
#include "project/workspace.h"
#include "text/file_path.h"

namespace qasp {

std::vector<std::string> OpenProject(ProjectWorkspace &ws, const std::string &file)
{
    WindowSurface &window = ws.Window();
    ws.ProjectDir = ExtractFileDirNoSlash(file);
    ws.Tree().Clear();
    window.Memo().SetTag(0);
    window.Memo().Clear();
    window.SetActionChecked(ActionId::VarNeed, false);
    LoadContext context;
    context.baseDir = ws.ProjectDir;
    if (LoadAspDocument(ws.Tree(), nullptr, file, ws.Store(), context))
        window.SetActionChecked(ActionId::VarNeed, true);
    ws.Store().RefreshKeywords();
    return context.warnings;
}

void SaveProject(ProjectWorkspace &ws, Prompter &prompter)
{
    // With no project opened yet there is no directory to write into.
    if (ws.ProjectDir.empty() && ws.Tree().FirstTopLevel()) {
        prompter.Information("还没有打开或新建工程，不知道保存到哪个目录。请用\"别存为\"选择目录。");
        return;
    }
    SaveAspDocument(ws.Tree().FirstTopLevel(), ws.ProjectDir,
                    ws.Window().ActionChecked(ActionId::VarNeed), prompter);
}

}  // namespace qasp
