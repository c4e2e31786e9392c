#include "app/editor_options.h"

#include "app/app_settings.h"
#include "app/interface_font.h"

#include <algorithm>

namespace qasp::app {

EditorOptions LoadEditorOptions()
{
    AppSettings settings;
    settings.beginGroup("editor");
    EditorOptions options;
    options.font = InterfaceFont();
    const QString family = settings.value("font").toString();
    if (!family.isEmpty())
        options.font.setFamily(family);
    // Sizes in pixels, as the interface font is set.
    const int size = settings.value("fontSize").toInt();
    if (size >= kSmallestFontSize && size <= kLargestFontSize)
        options.font.setPixelSize(size);
    options.tabCharacters = std::clamp(settings.value("tabWidth", 2).toInt(), 1, 16);
    options.newPageEncoding =
        settings.value("newPageEncoding").toString() == "utf-8" ? TextEncoding::Utf8 : TextEncoding::Gbk;
    options.saveWritesLayout = settings.value("save").toString() == "layout";
    options.completeOnWordEnd = settings.value("completeOnWordEnd", false).toBool();
    return options;
}

void SaveEditorOptions(const EditorOptions &options)
{
    AppSettings settings;
    settings.beginGroup("editor");
    settings.setValue("font", options.font.family());
    settings.setValue("fontSize", options.font.pixelSize());
    settings.setValue("tabWidth", options.tabCharacters);
    settings.setValue("newPageEncoding", options.newPageEncoding == TextEncoding::Utf8 ? "utf-8" : "gbk");
    settings.setValue("save", options.saveWritesLayout ? "layout" : "as-read");
    settings.setValue("completeOnWordEnd", options.completeOnWordEnd);
}

}  // namespace qasp::app
