// Qt's own texts (the Yes/No/Cancel buttons, the file dialog, the editor's
// context menu) in Simplified Chinese, as the rest of the program.
#pragma once

class QCoreApplication;

namespace qasp::app {

// Loads Qt's zh_CN translations where Qt keeps them; false when they are
// not installed (the English texts stay).
bool InstallQtTranslations(QCoreApplication &app);

}  // namespace qasp::app
