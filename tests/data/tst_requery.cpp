// Reading the rows again: whatever was written since they were read shows,
// whoever wrote it, and when nothing was, the rows are as a read would give.

#include "recordset_fixture.h"

namespace {

class Requery : public BackendTest {
protected:
    void SetUp() override
    {
        BackendTest::SetUp();
        if (!IsSkipped())
            insertNames({QStringLiteral("Ada"), QStringLiteral("Bo")});
    }
};
INSTANTIATE_TEST_SUITE_P(Backends, Requery, bothBackends(), backendName);

TEST_P(Requery, ShowsEveryWriteMadeSinceTheRowsWereRead)
{
    enum class Writer {
        OtherProgram,
        OtherRecordset,
        OtherProgramAfterOwnSave,
        OtherProgramBeforeOwnSave,
        WriteAheadLog
    };
    for (const Writer writer :
         {Writer::OtherProgram, Writer::OtherRecordset, Writer::OtherProgramAfterOwnSave,
          Writer::OtherProgramBeforeOwnSave, Writer::WriteAheadLog}) {
        SCOPED_TRACE(int(writer));
        if (writer == Writer::WriteAheadLog && GetParam() != Backend::Sqlite)
            continue; // a mode of the embedded file
        if (writer == Writer::WriteAheadLog)
            exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        auto rs = open();
        const auto ownSave = [&] {
            rs->MoveFirst();
            rs->setValue(u"City", QString::number(int(writer)));
            connected(*rs, &data::Recordset::UpdateBatch);
        };
        if (writer == Writer::OtherProgramAfterOwnSave)
            ownSave();
        if (writer == Writer::OtherRecordset) {
            auto other = open();
            other->MoveLast();
            other->setValue(u"Name", QStringLiteral("Cy"));
            connected(*other, &data::Recordset::UpdateBatch);
        } else {
            exec(QStringLiteral(R"(UPDATE "Address" SET "Name" = 'Cy' WHERE "Name" = 'Bo')"));
        }
        if (writer == Writer::OtherProgramBeforeOwnSave)
            ownSave();
        connected(*rs, &data::Recordset::Requery);
        EXPECT_EQ(names(*rs).last(), QStringLiteral("Cy"));
        exec(QStringLiteral(R"(UPDATE "Address" SET "Name" = 'Bo' WHERE "Name" = 'Cy')"));
    }
}

TEST_P(Requery, WithNothingWrittenDropsWhatWasNotSentAndFiltersAgain)
{
    exec(QStringLiteral(R"(UPDATE "Address" SET "City" = 'Pune')"));
    auto rs = open();
    rs->setFilter(QStringLiteral("City = 'Pune'"));
    rs->setValue(u"City", QStringLiteral("Goa"));
    rs->Update();
    rs->MoveNext();
    rs->AddNew();
    rs->setValue(u"Name", QStringLiteral("Cy"));
    rs->Update();
    connected(*rs, &data::Recordset::Requery);
    EXPECT_FALSE(rs->hasPendingChanges());
    EXPECT_EQ(names(*rs), QStringList({"Ada", "Bo"}));
    EXPECT_EQ(names(*rs, u"City"), QStringList({"Pune", "Pune"}));

    // A change sent stays in sight until the rows are read again, and then
    // the filter holds it out, as it does for the rows read.
    rs->MoveFirst();
    rs->setValue(u"City", QStringLiteral("Goa"));
    connected(*rs, &data::Recordset::UpdateBatch);
    EXPECT_EQ(names(*rs), QStringList({"Ada", "Bo"}));
    connected(*rs, &data::Recordset::Requery);
    EXPECT_EQ(names(*rs), QStringList({"Bo"}));
    EXPECT_EQ(stored({"City"}), QStringLiteral("Goa|Pune"));
}

} // namespace
