// The editor's live flag switched off while the program writes the editor
// itself, and put back as it was when the scope ends, by an exception too:
// a flag left off would drop every later edit of the user's.
#pragma once

#include "editor/editor_surface.h"

namespace qasp {

class PausedLiveEdits {
public:
    explicit PausedLiveEdits(EditorSurface &editor) : editor_(editor), was_(editor.IsLive())
    {
        editor_.SetLive(false);
    }
    ~PausedLiveEdits() { editor_.SetLive(was_); }
    PausedLiveEdits(const PausedLiveEdits &) = delete;
    PausedLiveEdits &operator=(const PausedLiveEdits &) = delete;

private:
    EditorSurface &editor_;
    bool was_;
};

}  // namespace qasp
