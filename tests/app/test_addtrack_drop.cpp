#include "app/StatusBar.h"
#include "app/main_window.h"
#include "platform/Process.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"
#include "tools/archiver/ZipWriter.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <cstdio>
#include <unistd.h>

// Archives dropped on the window are filed by the add command, as if picked in its dialog.
class TestAddTrackDrop : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void droppedArchiveIsFiledWithoutTheDialog_data();
    void droppedArchiveIsFiledWithoutTheDialog();
    void onlyLocalFilesAreTaken_data();
    void onlyLocalFilesAreTaken();
    void severalArchivesAreFiledInTurnAndTheMissedOnesNamed();
    void folderIsRefusedWithAWord();
    void dropWithoutLibraryAsksForPathsFirst();
    void noDropIsTakenWhileAnArchiveIsBeingFiled();

private:
    QString download(const QString& name, const QByteArray& description) const;
    // Drags `urls` over the window and drops them; true when the window took the drag.
    bool drop(const QList<QUrl>& urls);
    // Drags `data` into the window; true when the window would take it.
    bool enter(const QMimeData& data);
    QList<QUrl> localUrls(const QStringList& paths) const;

    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_form;
    QString m_library;
    qsizetype m_messagesBefore = 0;
};

void TestAddTrackDrop::init()
{
    m_home = std::make_unique<HomeFolder>(QStringLiteral(ROVEX_TOOL_ARCHIVER));
    QVERIFY(m_home->isValid());
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_library = m_home->makeFolder("library");
    for (const char* slot : {"Coastal", "Hills", "UK"})
        m_home->makeFolder(QStringLiteral("library/") + QLatin1String(slot));
    m_home->writeOptions({m_library, m_home->makeFolder("game"), "1"});
    m_form = std::make_unique<TForm1>();
    QVERIFY(m_form->FormCreate());
    m_form->show();
    m_messagesBefore = m_dialogs->messages.size();
}

void TestAddTrackDrop::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_home.reset();
}

QString TestAddTrackDrop::download(const QString& name, const QByteArray& description) const
{
    const QString path = m_home->makeFolder("downloads") + name;
    if (!writeZip(path, {ZipEntry::file("Tr.frd", "track"), ZipEntry::file("readme.txt", description)}))
        qFatal("cannot write the archive");
    return path;
}

QList<QUrl> TestAddTrackDrop::localUrls(const QStringList& paths) const
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    return urls;
}

bool TestAddTrackDrop::enter(const QMimeData& data)
{
    QDragEnterEvent enter(m_form->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_form.get(), &enter);
    return enter.isAccepted();
}

bool TestAddTrackDrop::drop(const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    if (!enter(data))
        return false;
    const QPoint middle = m_form->rect().center();
    QDropEvent dropped(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_form.get(), &dropped);
    // The filing starts once the drop has ended.
    QCoreApplication::processEvents();
    return dropped.isAccepted();
}

void TestAddTrackDrop::droppedArchiveIsFiledWithoutTheDialog_data()
{
    QTest::addColumn<QByteArray>("name");    // the archive's name on disk, as bytes
    QTest::addColumn<QString>("slotFolder"); // Coastal's folder, as the library spells it
    QTest::newRow("plain name") << QByteArray("cove.zip") << "Coastal";
    // "Бухта.zip" in Windows-1251, as a file manager hands it over: "%C1%F3%F5%F2%E0.zip".
    QTest::newRow("Windows-1251 name") << QByteArray("\xC1\xF3\xF5\xF2\xE0.zip") << "Coastal";
    QTest::newRow("lower-case slot folder") << QByteArray("cove.zip") << "coastal";
}

void TestAddTrackDrop::droppedArchiveIsFiledWithoutTheDialog()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, slotFolder);
    QVERIFY(slotFolder == "Coastal" || QDir().rename(m_library + "Coastal", m_library + slotFolder));
    const QByteArray downloaded = QFile::encodeName(download("cove.zip", "Coastal remake"));
    const QByteArray archive = downloaded.left(downloaded.lastIndexOf('/') + 1) + name;
    QVERIFY(::rename(downloaded.constData(), archive.constData()) == 0);
    m_dialogs->yesNoAnswers = {true};
    QVERIFY(drop({QUrl::fromEncoded("file://" + archive.toPercentEncoding("/"))}));
    QVERIFY(m_dialogs->fileDialogTitles.isEmpty());
    QCOMPARE(m_dialogs->questions.size(), 1);
    QVERIFY(::access((QFile::encodeName(m_library + slotFolder + "/") + name).constData(), F_OK) == 0);
    QCOMPARE(QDir(m_library).entryList({"?oastal"}), QStringList{slotFolder});
    QVERIFY(::access(archive.constData(), F_OK) != 0);
    QCOMPARE(m_form->RBar->text(),
             QStringLiteral("Трасса была определена. Теперь она должна быть доступна."));
    QVERIFY(m_form->chosenButton("Coastal"));
    // One archive tells its outcome in RBar only, as when it is picked.
    QCOMPARE(m_dialogs->messages.size(), m_messagesBefore);
}

void TestAddTrackDrop::onlyLocalFilesAreTaken_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::newRow("web address") << QList<QUrl>{QUrl("https://example.org/track.zip")};
    QTest::newRow("local and web") << QList<QUrl>{QUrl::fromLocalFile("/tmp/a.zip"),
                                                  QUrl("https://example.org/track.zip")};
    QTest::newRow("no addresses") << QList<QUrl>{};
}

void TestAddTrackDrop::onlyLocalFilesAreTaken()
{
    QFETCH(QList<QUrl>, urls);
    QVERIFY(!drop(urls));
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_form->RBar->text(), QString());
}

void TestAddTrackDrop::severalArchivesAreFiledInTurnAndTheMissedOnesNamed()
{
    const QString hills = download("celtic.zip", "for Hills");
    const QString plain = download("plain.zip", "no track named here");
    const QString uk = download("durham.zip", "UK");
    m_dialogs->yesNoAnswers = {true, true};
    QVERIFY(drop(localUrls({hills, plain, uk})));
    QVERIFY(QFileInfo::exists(m_library + "Hills/celtic.zip"));
    QVERIFY(QFileInfo::exists(m_library + "UK/durham.zip"));
    QVERIFY(QFileInfo::exists(plain));
    QCOMPARE(m_dialogs->messages.mid(m_messagesBefore),
             QStringList{"Не добавлены в библиотеку: \"plain.zip\". Положите их в папки трасс вручную."});
}

void TestAddTrackDrop::folderIsRefusedWithAWord()
{
    const QString folder = m_home->makeFolder("downloads/unpacked track");
    QVERIFY(drop(localUrls({folder})));
    QVERIFY(m_dialogs->questions.isEmpty());
    QVERIFY(QFileInfo::exists(folder));
    QCOMPARE(m_dialogs->messages.mid(m_messagesBefore),
             QStringList{"Папки в библиотеку не добавляются: \"unpacked track\". Перетащите на окно сами "
                         "архивы с трассами (файлы .zip)."});
}

void TestAddTrackDrop::dropWithoutLibraryAsksForPathsFirst()
{
    m_form->PaTr->setText(QStringLiteral("не выбран"));
    const QString archive = download("cove.zip", "Coastal");
    QVERIFY(drop(localUrls({archive})));
    QCOMPARE(m_dialogs->messages.mid(m_messagesBefore), QStringList{"Сначала укажите пути в настройках!"});
    QVERIFY(m_dialogs->questions.isEmpty());
    QVERIFY(QFileInfo::exists(archive));
}

void TestAddTrackDrop::noDropIsTakenWhileAnArchiveIsBeingFiled()
{
    // The add's question comes while the first archive is being filed: a second drag then is refused.
    QMimeData second;
    second.setUrls(localUrls({download("second.zip", "UK")}));
    QList<bool> taken;
    m_dialogs->atQuestion = [&] {
        taken.append(enter(second));
    };
    m_dialogs->yesNoAnswers = {true};
    QVERIFY(drop(localUrls({download("first.zip", "Hills")})));
    QCOMPARE(taken, QList<bool>{false});
    QVERIFY(QFileInfo::exists(m_library + "Hills/first.zip"));
    // Once it is filed, the window takes drops again.
    QVERIFY(enter(second));
}

QTEST_MAIN(TestAddTrackDrop)
#include "test_addtrack_drop.moc"
