// The main window with its messages and questions recorded instead of
// shown, for tests that drive it.
#pragma once

#include "app/main_window.h"
#include "recording_prompter.h"

namespace qasp::testing {

class PromptedWindow : public app::MainWindow {
public:
    PromptedWindow() { usePrompter(&prompter); }
    ~PromptedWindow() override { usePrompter(nullptr); }
    RecordingPrompter prompter;
};

}  // namespace qasp::testing
