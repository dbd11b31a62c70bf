#pragma once

class QCoreApplication;

// Qt's own texts (the buttons of message boxes, the file and folder dialogs) speak the program's
// language, Russian, whatever the system's language is. Returns false when Qt's Russian translation is
// not installed; Qt's texts then stay English.
bool installQtTranslation(QCoreApplication& application);
