#pragma once

// Settings the process needs before its QApplication exists, shared by the
// editor and the benchmark so that the benchmark measures what users run.
namespace ProcessSetup {

// Widget painting without sibling clipping, the C library's allocator tuned for
// bursts of cell buttons, Qt's own event loop instead of GLib's, and no
// OpenGL stack.
void beforeApplication();

} // namespace ProcessSetup
