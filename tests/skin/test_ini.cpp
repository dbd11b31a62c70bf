#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QByteArray& bytes)
    {
        static int counter = 0;
        const QString path = m_dir.filePath(QStringLiteral("file%1.ini").arg(++counter));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return path;
    }

private slots:
    void readsValuesByTheWindowsRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QString none = QStringLiteral("<default>");
        QTest::newRow("plain") << QByteArray("[A]\r\nk=v\r\n") << "A"
                               << "k"
                               << "v";
        QTest::newRow("section letter case") << QByteArray("[Version]\nVer=210\n") << "VERSION"
                                             << "ver"
                                             << "210";
        QTest::newRow("blanks around names and value")
            << QByteArray("[ Version ]\n \tVer \t=  210 \t\n") << "Version"
            << "Ver"
            << "210";
        QTest::newRow("names asked for are trimmed") << QByteArray("[A]\nk=v\n") << " A "
                                                     << " k\t"
                                                     << "v";
        QTest::newRow("text after ] ignored") << QByteArray("[A] trailing\nk=v\n") << "A"
                                              << "k"
                                              << "v";
        QTest::newRow("blank before [") << QByteArray("  [A]\nk=v\n") << "A"
                                        << "k"
                                        << "v";
        QTest::newRow("value keeps later =") << QByteArray("[A]\nk=a=b\n") << "A"
                                             << "k"
                                             << "a=b";
        QTest::newRow("double quotes stripped") << QByteArray("[A]\nk=\" x \"\n") << "A"
                                                << "k"
                                                << " x ";
        QTest::newRow("single quotes stripped") << QByteArray("[A]\nk='x'\n") << "A"
                                                << "k"
                                                << "x";
        QTest::newRow("mixed quotes kept") << QByteArray("[A]\nk='x\"\n") << "A"
                                           << "k"
                                           << "'x\"";
        QTest::newRow("lone quote kept") << QByteArray("[A]\nk=\"\n") << "A"
                                         << "k"
                                         << "\"";
        QTest::newRow("two quotes give empty") << QByteArray("[A]\nk=\"\"\n") << "A"
                                               << "k"
                                               << "";
        QTest::newRow("empty value is not the default") << QByteArray("[A]\nk=\n") << "A"
                                                        << "k"
                                                        << "";
        QTest::newRow("missing key") << QByteArray("[A]\nk=v\n") << "A"
                                     << "other" << none;
        QTest::newRow("missing section") << QByteArray("[A]\nk=v\n") << "B"
                                         << "k" << none;
        QTest::newRow("first section wins") << QByteArray("[A]\nk=1\n[B]\n[a]\nk=2\nz=3\n") << "A"
                                            << "k"
                                            << "1";
        QTest::newRow("repeated section adds nothing") << QByteArray("[A]\nk=1\n[B]\n[a]\nz=3\n") << "A"
                                                       << "z" << none;
        QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                        << "k"
                                        << "1";
        QTest::newRow("keys before a header") << QByteArray("k=top\n[A]\nk=v\n") << ""
                                              << "k"
                                              << "top";
        QTest::newRow("[ without ] is no header") << QByteArray("[A]\n[B\nk=v\n") << "A"
                                                  << "k"
                                                  << "v";
        QTest::newRow("semicolon is part of the key") << QByteArray("[A]\n;k=v\n") << "A"
                                                      << ";k"
                                                      << "v";
        QTest::newRow("commented key is not the key") << QByteArray("[A]\n;k=v\n") << "A"
                                                      << "k" << none;
        QTest::newRow("hash is part of the key") << QByteArray("[A]\n#k=v\n") << "A"
                                                 << "#k"
                                                 << "v";
        QTest::newRow("line without = ignored") << QByteArray("[A]\njunk\nk=v\n") << "A"
                                                << "k"
                                                << "v";
        QTest::newRow("CR-only lines") << QByteArray("[A]\rk=v\rj=w\r") << "A"
                                       << "j"
                                       << "w";
        QTest::newRow("CR LF lines") << QByteArray("[A]\r\nk=v\r\nj=w") << "A"
                                     << "j"
                                     << "w";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[A]\nk=v\n") << "A"
                                         << "k"
                                         << "v";
        QTest::newRow("UTF-16 little-endian with byte-order mark")
            << QByteArray("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\x1F\x04\x43\x04\x41\x04\x3A\x04\r\0\n\0", 28)
            << "A"
            << "k" << QStringLiteral("Пуск");
        QTest::newRow("UTF-16 big-endian with byte-order mark")
            << QByteArray("\xFE\xFF\0[\0A\0]\0\n\0k\0=\0v", 16) << "A"
            << "k"
            << "v";
        QTest::newRow("UTF-8 value") << QByteArray("[A]\nk=\xD0\x9F\xD1\x83\xD1\x81\xD0\xBA\n") << "A"
                                     << "k" << QStringLiteral("Пуск");
        QTest::newRow("Windows-1251 value") << QByteArray("[A]\nk=\xCF\xF3\xF1\xEA\n") << "A"
                                            << "k" << QStringLiteral("Пуск");
        QTest::newRow("Cyrillic names compare exactly")
            << QByteArray("[\xD0\x9F]\nk=v\n") << QStringLiteral("п") << "k" << none;
    }

    void readsValuesByTheWindowsRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const platform::IniFile ini(write(content));
        QCOMPARE(ini.status(), platform::IniFile::Status::Read);
        QCOMPARE(ini.value(section, key, QStringLiteral("<default>")), expected);
    }

    void capsValuesAt2047Characters()
    {
        const QByteArray longValue(3000, 'x');
        const platform::IniFile ini(write("[A]\nk=" + longValue + "\nshort=" + QByteArray(2047, 'y') + "\n"));
        QCOMPARE(ini.value("A", "k"), QString(2047, u'x'));
        QCOMPARE(ini.value("A", "short"), QString(2047, u'y'));
    }

    void capsAfterStrippingQuotes()
    {
        const platform::IniFile ini(write("[A]\nk=\"" + QByteArray(2048, 'x') + "\"\n"));
        QCOMPARE(ini.value("A", "k"), QString(2047, u'x'));
    }

    void missingFileGivesDefaults()
    {
        const platform::IniFile ini(m_dir.filePath(QStringLiteral("absent.ini")));
        QCOMPARE(ini.status(), platform::IniFile::Status::Missing);
        QCOMPARE(ini.value("A", "k", "fallback"), QStringLiteral("fallback"));
        QCOMPARE(ini.value("A", "k"), QString());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_ini.moc"
