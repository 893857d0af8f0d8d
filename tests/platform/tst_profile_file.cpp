// Profile files: sections read whole, one key written, every other byte kept.

#include "platform/profile_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProfileFile : public ::testing::Test {
protected:
    void write(const QByteArray& bytes)
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The [DatabasePath] section, and the setting of its Data Source.
    QStringList section() const
    {
        return platform::readProfileSection(m_path, QStringLiteral("DatabasePath"));
    }
    bool setSource(const QString& value) const
    {
        return platform::writeProfileString(m_path, QStringLiteral("DatabasePath"),
                                            QStringLiteral("Data Source"), value);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("Address.ini"));
};

TEST_F(ProfileFile, SectionIsReadWholeInFileOrderWhateverTheLineEnds)
{
    // A long entry is not cut either.
    const QByteArray source = "Data Source=/" + QByteArray(3000, 'd') + "/TND.dbx";
    const QStringList expected = {QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0"),
                                  QString::fromLatin1(source),
                                  QStringLiteral("Persist Security Info=False")};
    for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\n")}) {
        for (const QByteArray& bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
            write(bom + "[Other]" + eol + "x=1" + eol + "[databasepath]" + eol
                  + "Provider=Microsoft.Jet.OLEDB.4.0" + eol + eol + "; a comment" + eol + "  "
                  + source + "  " + eol + "Persist Security Info=False" + eol + "[Next]" + eol
                  + "y=2");
            EXPECT_EQ(section(), expected);
        }
    }
}

TEST_F(ProfileFile, AbsentFileSectionOrGarbageGiveNothing)
{
    EXPECT_TRUE(section().isEmpty());
    for (const QByteArray& bytes : {QByteArray(), QByteArray("[Else]\nk=v\n"),
                                    QByteArray("\x00\xff\xfe\x80[garb\x00age\x01\x02", 14)}) {
        write(bytes);
        EXPECT_TRUE(section().isEmpty());
    }
}

TEST_F(ProfileFile, WritingAKeyChangesOnlyItsLineAndKeepsEveryOtherByte)
{
    // A missing file is created.
    ASSERT_TRUE(setSource(QStringLiteral("/a b/TND.dbx")));
    EXPECT_EQ(read(), QByteArray("[DatabasePath]\nData Source=/a b/TND.dbx\n"));

    // The key's line is replaced, whatever the case and spaces of its key; a
    // section without the key gets it after its last entry.
    const std::tuple<QByteArray, QByteArray, QByteArray> rows[] = {
        {"; settings\r\n[DatabasePath]\r\nProvider=X\r\ndata source = /old\r\n"
         "Persist Security Info=False\r\n\r\n[Programs]\r\nCalculator=kcalc\r\n",
         "data source = /old", "Data Source=/x"},
        {"[DatabasePath]\r\nProvider=Microsoft.Jet.OLEDB.4.0\r\n\r\n[Programs]\r\nTextEditor=kate",
         "4.0\r\n", "4.0\r\nData Source=/x\r\n"},
    };
    for (const auto& [before, line, replacement] : rows) {
        write(before);
        ASSERT_TRUE(setSource(QStringLiteral("/x")));
        EXPECT_EQ(read(), QByteArray(before).replace(line, replacement));
    }

    // A UTF-16 file stays UTF-16 and reads back.
    write(QByteArray("\xFF\xFE", 2)
          + QByteArray(reinterpret_cast<const char*>(u"[A]\r\nk=v\r\n"), 20));
    ASSERT_TRUE(setSource(QStringLiteral("/\u00e9")));
    EXPECT_TRUE(read().startsWith("\xFF\xFE[\0A\0]\0"));
    EXPECT_EQ(section(), QStringList{QStringLiteral("Data Source=/\u00e9")});
}

TEST_F(ProfileFile, UnwritablePlaceReportsFailure)
{
    ASSERT_TRUE(QDir().mkpath(m_path)); // a folder in the way
    EXPECT_FALSE(setSource(QStringLiteral("/x")));
    m_path = m_dir.filePath(QStringLiteral("no/such/dir/a.ini"));
    EXPECT_FALSE(setSource(QStringLiteral("/x")));
}

// Binary content is kept byte for byte, however much of it: the section is
// appended, and then its key is changed in place.
TEST_F(ProfileFile, HugeBinaryFilesKeepEveryByte)
{
    const QByteArray junk("\x00\x01\xff\xfe\x80junk\r\x00", 11);
    QByteArray big;
    while (big.size() < (8 << 20))
        big += junk;
    write(big);
    ASSERT_TRUE(setSource(QStringLiteral("/big")));
    EXPECT_EQ(read(), big + "\n[DatabasePath]\nData Source=/big\n");
    EXPECT_EQ(section(), QStringList{QStringLiteral("Data Source=/big")});
    ASSERT_TRUE(setSource(QStringLiteral("/bigger")));
    EXPECT_EQ(read(), big + "\n[DatabasePath]\nData Source=/bigger\n");
}

} // namespace
