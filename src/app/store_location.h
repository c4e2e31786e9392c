#pragma once

#include <QString>

namespace qasp::app {

// main.db beside the executable when that file exists and can be written
// (with its directory, where SQLite keeps its journal); otherwise in the
// user's data directory, created when missing.
QString KeywordStorePath();

}  // namespace qasp::app
