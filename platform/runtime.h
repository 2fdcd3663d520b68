#pragma once

class QApplication;

namespace platform {

// Settings that Qt reads when the application object is made; call before making it.
void prepareRuntime();

// Prepares the application for the program's Japanese user interface: the runtime's own texts
// (dialog buttons) in Japanese, and the program's font faces mapped to installed ones.
void initRuntime(QApplication &app);

} // namespace platform
