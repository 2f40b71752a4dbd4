#pragma once

class QTranslator;

// What start-up does between creating the application and the main window:
// installs `translator` when a translation for the user's language lies in
// "translations" beside the executable, then sets the version, the desktop
// entry's name, the application icon and the Fusion style. `translator` must
// live as long as the application.
void setUpApplication(QTranslator &translator);

// Process-wide settings of the memory allocator for large documents; called
// before anything else is made.
void tuneMemoryAllocator();
