// A run that ends by itself (--screenshot, --startup-time) has nobody to
// close a modal box: what a box would say goes to stderr instead, and an
// error ends the run with a failure status.
#pragma once

#include <QString>

namespace qasp::app {

void SetUnattendedRun(bool on);
bool IsUnattendedRun();

// The text of a box that is not shown, as "quillmere-asp: TEXT" on stderr.
void WriteBoxToStderr(const QString &text);

// An error in an unattended run: written to stderr, and the run is ended
// (at once when its event loop runs, else by main on seeing the failure).
void FailUnattendedRun(const QString &text);
bool UnattendedRunFailed();

}  // namespace qasp::app
