#pragma once

class QTranslator;

// Installs `translator` when a translation for the user's language lies in
// "translations" beside the executable, and sets the version. `translator`
// must live as long as the application, which may be a QCoreApplication.
void setUpTranslation(QTranslator &translator);

// What start-up does between creating the QApplication and the main window:
// the translation as above, the desktop entry's name, the application icon
// and the Fusion style.
void setUpApplication(QTranslator &translator);

// Process-wide settings of the memory allocator for large documents; called
// before anything else is made.
void tuneMemoryAllocator();
