// The label document read by LibreOffice itself, converted to plain text
// headless: every label's lines in order, the awkward characters intact.

#include "labels_fixture.h"

#include <QProcess>
#include <QUrl>
#include <QStandardPaths>

namespace {

TEST_F(LabelsTest, LibreOfficeReadsEveryLabel)
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed (Debian's libreoffice-writer-nogui); "
                        "the document is not checked by LibreOffice.";
    const QVariant null;
    add("SalutationId, Name, Company, City, PinCode, State, Country",
        {{1, "O'Hara & <Sons>", "Zoë  Müller", "Pune", "411001", "MH", "India"},
         {null, "", "रवि Traders", null, "560001", null, null},
         {2, "Di", null, "Goa", null, null, null}});
    print();

    // A private profile, so that a LibreOffice the person runs is not disturbed.
    QProcess convert;
    convert.start(soffice, {"-env:UserInstallation="
                                + QUrl::fromLocalFile(m_folder.filePath("profile")).toString(),
                            "--headless", "--convert-to", "txt:Text", "--outdir",
                            m_folder.filePath("text"), home("TNLabels.odt")});
    ASSERT_TRUE(convert.waitForFinished(100000)) << "soffice did not finish";
    QFile text(m_folder.filePath("text/TNLabels.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << convert.readAllStandardError().toStdString();
    QString read = QString::fromUtf8(text.readAll());
    read.remove(QChar(0xFEFF));
    // Each paragraph on a line of its own, cells row by row; the word
    // processor ends the document with an empty paragraph of its own.
    EXPECT_EQ(read, "Mr. O'Hara & <Sons>\nZoë  Müller\nPune - 411001\nMH India\n"
                    "रवि Traders\nPin 560001\n\n"
                    "Mrs. Di\n\nGoa\n\n"
                    "\n"
                    "\n");
}

} // namespace
