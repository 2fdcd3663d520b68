#pragma once

class QApplication;

namespace app {

// Gives the application its name, version and desktop identity, and prepares the runtime.
void setupApplication(QApplication &application);

} // namespace app
