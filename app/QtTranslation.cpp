#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Texts Qt 6.4's Russian catalogue lacks: those of classes that Qt 6 renamed (the file dialog's
// "Folder" is now asked for under QAbstractFileIconProvider, which the catalogue does not know yet).
class MissingQtTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char*, int) const override
    {
        struct Text
        {
            const char* context;
            const char* source;
            const char* russian;
        };
        static const Text texts[] = {
            {"QAbstractFileIconProvider", "Folder", "Папка"},
            {"QAbstractFileIconProvider", "File Folder", "Папка"},
            {"QAbstractFileIconProvider", "Drive", "Диск"},
            {"QAbstractFileIconProvider", "File", "Файл"},
            {"QAbstractFileIconProvider", "%1 File", "Файл %1"},
            {"QShortcut", "Control", "Ctrl"},
        };
        for (const Text& text : texts) {
            if (qstrcmp(context, text.context) == 0 && qstrcmp(source, text.source) == 0)
                return QString::fromUtf8(text.russian);
        }
        return {};
    }
};

} // namespace

bool installQtTranslation(QCoreApplication& application)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    // Dates and sizes in the file dialog follow the same language as its words.
    QLocale::setDefault(russian);
    auto* translator = new QTranslator(&application);
    if (!translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Translators installed later are asked first; this one answers only what the catalogue lacks.
    return QCoreApplication::installTranslator(translator) &&
           QCoreApplication::installTranslator(new MissingQtTexts(&application));
}
