// Profile files: sections read whole, keys written, every other byte kept.

#include "platform/profile_file.h"
#include "support/file_replacements.h"
#include "support/test_helpers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ProfileFile : public ::testing::Test {
protected:
    void write(const QByteArray& bytes) { ASSERT_TRUE(testing_support::writeBytes(m_path, bytes)); }
    QByteArray read() const { return testing_support::readBytes(m_path); }
    // The [DatabasePath] section, and the setting of its Data Source.
    QStringList section() const { return platform::readProfileSection(m_path, u"DatabasePath"_s); }
    bool setSource(const QString& value) const
    {
        return platform::writeProfileString(m_path, u"DatabasePath"_s, u"Data Source"_s, value);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(u"Address.ini"_s);
};

TEST_F(ProfileFile, SectionIsReadWholeInFileOrderWhateverTheLineEndsOrNothing)
{
    EXPECT_TRUE(section().isEmpty()); // no file yet
    // A long entry is not cut either.
    const QByteArray source = "Data Source=/" + QByteArray(3000, 'd') + "/TND.dbx";
    const QStringList expected = {u"Provider=Microsoft.Jet.OLEDB.4.0"_s,
                                  QString::fromLatin1(source), u"Persist Security Info=False"_s};
    for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\n")}) {
        for (const QByteArray& bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
            write(bom + "[Other]" + eol + "x=1" + eol + "[databasepath]" + eol
                  + "Provider=Microsoft.Jet.OLEDB.4.0" + eol + eol + "; a comment" + eol + "  "
                  + source + "  " + eol + "Persist Security Info=False" + eol + "[Next]" + eol
                  + "y=2");
            EXPECT_EQ(section(), expected);
        }
    }
    // An absent section, or garbage, give nothing.
    for (const QByteArray& bytes : {QByteArray(), QByteArray("[Else]\nk=v\n"),
                                    QByteArray("\x00\xff\xfe\x80[garb\x00age\x01\x02", 14)}) {
        write(bytes);
        EXPECT_TRUE(section().isEmpty());
    }
}

TEST_F(ProfileFile, WritingAKeyChangesOnlyItsLineOrFailsWhereNoFileCanBe)
{
    // A missing file is created, readable by its owner only; a file that
    // is there keeps its permissions.
    ASSERT_TRUE(setSource(u"/a b/TND.dbx"_s));
    EXPECT_EQ(read(), QByteArray("[DatabasePath]\nData Source=/a b/TND.dbx\n"));
    EXPECT_EQ(testing_support::modeOf(m_path), 0600);

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
        ASSERT_TRUE(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner
                                                      | QFile::ReadGroup | QFile::ReadOther));
        ASSERT_TRUE(setSource(u"/x"_s));
        EXPECT_EQ(read(), QByteArray(before).replace(line, replacement));
        EXPECT_EQ(testing_support::modeOf(m_path), 0644);
    }

    // A UTF-16 file stays UTF-16 and reads back.
    write(QByteArray("\xFF\xFE", 2)
          + QByteArray(reinterpret_cast<const char*>(u"[A]\r\nk=v\r\n"), 20));
    ASSERT_TRUE(setSource(u"/\u00e9"_s));
    EXPECT_TRUE(read().startsWith("\xFF\xFE[\0A\0]\0"));
    EXPECT_EQ(section(), QStringList{u"Data Source=/\u00e9"_s});

    // A folder in the way, or no folder at all, and nothing is written.
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath(u"folder.ini"_s)));
    for (const char* name : {"folder.ini", "no/such/dir/a.ini"}) {
        m_path = m_dir.filePath(QLatin1String(name));
        EXPECT_FALSE(setSource(u"/x"_s)) << name;
    }
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
    ASSERT_TRUE(setSource(u"/big"_s));
    EXPECT_EQ(read(), big + "\n[DatabasePath]\nData Source=/big\n");
    EXPECT_EQ(section(), QStringList{u"Data Source=/big"_s});
    ASSERT_TRUE(setSource(u"/bigger"_s));
    EXPECT_EQ(read(), big + "\n[DatabasePath]\nData Source=/bigger\n");
}

// Several keys at once read and replace the file once, and leave it as the
// same keys written one by one would, whatever stood there before.
TEST_F(ProfileFile, SeveralKeysAreWrittenInOneReplacementAsOneByOne)
{
    const platform::ProfileEntries entries = {
        {u"Data Source"_s, u"/\u00e9 x"_s}, {u"Provider"_s, QString(3000, u'p')}, {u"New"_s, {}}};
    const QByteArray rows[] = {
        {},
        "; only a comment, no line end",
        "[DatabasePath]\r\nprovider = old\r\nProvider=twice\r\n\r\n[Programs]\r\nx=1",
        QByteArray("\xFF\xFE", 2)
            + QByteArray(reinterpret_cast<const char*>(u"[A]\r\nk=v\r\n"), 20),
        QByteArray("\x00\xff\xfe\x80[garb\x00age\x01", 12),
    };
    for (const QByteArray& before : rows) {
        SCOPED_TRACE(before.toStdString());
        write(before);
        for (const auto& [key, value] : entries)
            ASSERT_TRUE(platform::writeProfileString(m_path, u"DatabasePath"_s, key, value));
        const QByteArray oneByOne = read();
        write(before);
        const testing_support::FileReplacements replaced(m_path);
        ASSERT_TRUE(platform::writeProfileStrings(m_path, u"DatabasePath"_s, entries));
        EXPECT_EQ(read(), oneByOne);
        EXPECT_EQ(replaced.count(), 1);
    }
    m_path = m_dir.filePath(u"no/such/dir/a.ini"_s);
    EXPECT_FALSE(platform::writeProfileStrings(m_path, u"DatabasePath"_s, entries));
}

} // namespace
