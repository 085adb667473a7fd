#pragma once

namespace kestrin::app {

// Gives the memory that the process no longer uses back to the system; does
// nothing where the platform has no such call.
void trimWorkingSet();

} // namespace kestrin::app
