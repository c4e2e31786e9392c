// What the running program costs, from the kernel's own records: for the
// start-up report and the soak test.
#pragma once

namespace qasp::app {

// Resident memory of this process in KiB.
long ResidentKiB();
// Milliseconds since this process started (10 ms resolution).
double ProcessAgeMs();

}  // namespace qasp::app
