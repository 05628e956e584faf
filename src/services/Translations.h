#pragma once

class QCoreApplication;

// Loads Qt's own Chinese translations, so the standard buttons and dialogs
// ("OK", "Cancel", the file dialog) speak the program's language. False when
// the system has none installed; the program then runs with Qt's English.
bool InstallChineseTranslations(QCoreApplication& app);
