// Profile files: sections read whole, one key written, every other byte kept.

#include "platform/profile_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProfileFile : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes)
    {
        QFile file(m_path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return m_path;
    }
    QByteArray read() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("Address.ini"));
};

TEST_F(ProfileFile, SectionIsReadWholeInFileOrderWhateverTheLineEnds)
{
    const QStringList expected = {QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0"),
                                  QStringLiteral("Data Source=/srv/book/TND.dbx"),
                                  QStringLiteral("Persist Security Info=False")};
    for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\n")}) {
        for (const QByteArray& bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
            write(bom + "[Other]" + eol + "x=1" + eol + "[databasepath]" + eol
                  + "Provider=Microsoft.Jet.OLEDB.4.0" + eol + eol + "; a comment" + eol
                  + "  Data Source=/srv/book/TND.dbx  " + eol + "Persist Security Info=False" + eol
                  + "[Next]" + eol + "y=2");
            EXPECT_EQ(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")),
                      expected);
        }
    }
}

TEST_F(ProfileFile, LongSectionsAreNotCut)
{
    const QString longPath =
        QStringLiteral("/") + QString(3000, QLatin1Char('d')) + QStringLiteral("/TND.dbx");
    write("[DatabasePath]\nData Source=" + longPath.toUtf8() + "\n");
    EXPECT_EQ(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")),
              QStringList{QStringLiteral("Data Source=") + longPath});
}

TEST_F(ProfileFile, AbsentFileSectionOrGarbageGiveNothing)
{
    EXPECT_TRUE(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")).isEmpty());
    write("");
    EXPECT_TRUE(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")).isEmpty());
    write("[Else]\nk=v\n");
    EXPECT_TRUE(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")).isEmpty());
    write(QByteArray("\x00\xff\xfe\x80[garb\x00age\x01\x02", 14));
    EXPECT_TRUE(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")).isEmpty());
}

TEST_F(ProfileFile, WritingAKeyReplacesOnlyItsLine)
{
    const QByteArray before =
        "; settings\r\n[DatabasePath]\r\nProvider=X\r\ndata source = /old\r\n"
        "Persist Security Info=False\r\n\r\n[Programs]\r\nCalculator=kcalc\r\n";
    write(before);
    ASSERT_TRUE(platform::writeProfileString(m_path, QStringLiteral("DatabasePath"),
                                             QStringLiteral("Data Source"),
                                             QStringLiteral("/new/TND.dbx")));
    QByteArray expected = before;
    expected.replace("data source = /old", "Data Source=/new/TND.dbx");
    EXPECT_EQ(read(), expected);
}

TEST_F(ProfileFile, WritingAddsTheKeyOrSectionAndKeepsEveryOtherByte)
{
    // A missing file is created.
    ASSERT_TRUE(platform::writeProfileString(m_path, QStringLiteral("DatabasePath"),
                                             QStringLiteral("Data Source"),
                                             QStringLiteral("/a b/TND.dbx")));
    EXPECT_EQ(read(), QByteArray("[DatabasePath]\nData Source=/a b/TND.dbx\n"));

    // A section without the key gets it after its last entry.
    write(
        "[DatabasePath]\r\nProvider=Microsoft.Jet.OLEDB.4.0\r\n\r\n[Programs]\r\nTextEditor=kate");
    ASSERT_TRUE(platform::writeProfileString(m_path, QStringLiteral("DatabasePath"),
                                             QStringLiteral("Data Source"), QStringLiteral("/x")));
    EXPECT_EQ(read(),
              QByteArray("[DatabasePath]\r\nProvider=Microsoft.Jet.OLEDB.4.0\r\nData Source=/x\r\n"
                         "\r\n[Programs]\r\nTextEditor=kate"));

    // Binary content is kept byte for byte; the section is appended.
    const QByteArray binary("\x00\x01\xff\xfe\x80junk\r\x00", 11);
    write(binary);
    ASSERT_TRUE(platform::writeProfileString(m_path, QStringLiteral("DatabasePath"),
                                             QStringLiteral("Data Source"), QStringLiteral("/y")));
    EXPECT_EQ(read(), binary + "\n[DatabasePath]\nData Source=/y\n");

    // A UTF-16 file stays UTF-16 and reads back.
    write(QByteArray("\xFF\xFE", 2)
          + QByteArray(reinterpret_cast<const char*>(u"[A]\r\nk=v\r\n"), 20));
    ASSERT_TRUE(platform::writeProfileString(m_path, QStringLiteral("DatabasePath"),
                                             QStringLiteral("Data Source"),
                                             QStringLiteral("/\u00e9")));
    EXPECT_TRUE(read().startsWith("\xFF\xFE[\0A\0]\0"));
    EXPECT_EQ(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")),
              QStringList{QStringLiteral("Data Source=/\u00e9")});
}

TEST_F(ProfileFile, UnwritablePlaceReportsFailureAndLeavesNothing)
{
    const QString folderInTheWay = m_dir.filePath(QStringLiteral("ini-is-a-folder"));
    ASSERT_TRUE(QDir().mkpath(folderInTheWay));
    EXPECT_FALSE(platform::writeProfileString(folderInTheWay, QStringLiteral("S"),
                                              QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(platform::writeProfileString(m_dir.filePath(QStringLiteral("no/such/dir/a.ini")),
                                              QStringLiteral("S"), QStringLiteral("k"),
                                              QStringLiteral("v")));
}

TEST_F(ProfileFile, HugeFilesAreHandled)
{
    QByteArray big;
    big.reserve(8 << 20);
    while (big.size() < (8 << 20))
        big += "filler=0123456789012345678901234567890123456789\n";
    write(big + "[DatabasePath]\nData Source=/big\n");
    EXPECT_EQ(platform::readProfileSection(m_path, QStringLiteral("DatabasePath")),
              QStringList{QStringLiteral("Data Source=/big")});
    ASSERT_TRUE(platform::writeProfileString(m_path, QStringLiteral("DatabasePath"),
                                             QStringLiteral("Data Source"),
                                             QStringLiteral("/bigger")));
    EXPECT_EQ(read(), big + "[DatabasePath]\nData Source=/bigger\n");
}

} // namespace
