#pragma once

class QTranslator;

// Everything start-up does between creating the application and the main
// window: installs `translator` when a translation for the user's language
// lies in "translations" beside the executable, then sets the application
// icon and the Fusion style. The translator must outlive the application's use
// of it.
void setUpApplication(QTranslator &translator);
