#include "project/project_commands.h"

#include "editor/editor_surface.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/prompter.h"
#include "project/window_surface.h"
#include "project/workspace.h"

namespace qasp {

std::vector<std::string> OpenProject(ProjectWorkspace &ws, const std::filesystem::path &file,
                                     const std::filesystem::path &siteRoot)
{
    WindowSurface &window = ws.Window();
    ws.ProjectDir = file.parent_path().string();
    ws.Tree().Clear();
    window.Memo().SetLive(false);  // until a node of the new project is selected
    window.Memo().Clear();
    window.SetActionChecked(ActionId::VarNeed, false);
    LoadContext context;
    context.siteRoot = siteRoot;
    context.encoding = ws.Encoding;
    context.fileEncodings = ws.FileEncodings;
    try {
        if (LoadAspDocument(ws.Tree(), nullptr, file, ws.Store(), context))
            window.SetActionChecked(ActionId::VarNeed, true);
    } catch (...) {
        // Nothing of a half-loaded project may ever be saved over a file:
        // the window is left without a project.
        ws.Tree().Clear();
        ws.ProjectDir.clear();
        ws.SiteRoot.clear();
        ws.Store().ClearProjectNames();
        ws.Store().RefreshKeywords();
        ws.Modified = false;
        throw;
    }
    ws.SiteRoot = context.siteRoot;
    ws.Store().RefreshKeywords();
    // The page is shown at once: the editor never waits blank for a click.
    ws.SelectNode(ws.Tree().FirstTopLevel());
    ws.Modified = false;
    return context.warnings;
}

}  // namespace qasp
