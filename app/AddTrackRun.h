#pragma once

#include <QString>

class TForm1;

// Progress and outcome texts of the add command, shown in the first panel of RBar.
namespace addtext {
inline const QString Unpacking = QStringLiteral("Подождите. Происходит распаковка архива с трассой...");
inline const QString Searching = QStringLiteral("Подождите. Происходит поиск файла с описанием трассы...");
inline const QString Analysing = QStringLiteral("Подождите. Происходит анализ содержимого файла...");
inline const QString NotThisSlot =
    QStringLiteral("Трасса НЕ определена. Попробуйте определить её вручную...");
inline const QString Moving = QStringLiteral("Подождите. Происходит перемещение файла с трассой...");
inline const QString Filed = QStringLiteral("Трасса была определена. Теперь она должна быть доступна.");
inline const QString MoveFailed = QStringLiteral("Ошибка! Попробуйте перезагрузить компьютер...");
inline const QString Failed =
    QStringLiteral("Трасса определить НЕ удалось. Попробуйте сделать это её вручную...");
// The slot the user confirmed already holds a file of the archive's name (%2) in its folder (%1).
inline const QString NameTaken =
    QStringLiteral("В папке трассы %1 уже есть файл \"%2\": новый архив оставлен на месте.");
} // namespace addtext

// Identifies an unpacked track archive and files it into the library: reads the possible descriptions
// of the unpacking folder line by line, asks the user about every slot a line names, and on Yes moves
// the archive into that slot's library folder and rescans the library.
class AddTrackRun
{
public:
    AddTrackRun(TForm1& form, const QString& archive);

    // True once the user confirmed a slot and the archive lies in its library folder. Throws IoError
    // when a description cannot be read.
    bool identify(const QString& unpackFolder);

private:
    enum class Filing
    {
        NotYet,    // no slot confirmed, or the move failed: reading goes on
        Filed,     // the archive lies in the confirmed slot's folder
        NameTaken, // that folder has a file of its name: the archive stays, and the search ends
    };

    Filing readDescription(const QString& path);
    bool confirmSlot(const QString& slot);
    Filing fileInto(const QString& slot);
    void show(const QString& text, bool repaintNow = false);

    TForm1& m_form;
    QString m_archive;
};
