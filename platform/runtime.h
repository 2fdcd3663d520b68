#pragma once

class QApplication;

namespace platform {

// Prepares the application for the program's Japanese user interface: the runtime's own texts
// (dialog buttons) in Japanese, and the program's font faces mapped to installed ones.
void initRuntime(QApplication &app);

} // namespace platform
