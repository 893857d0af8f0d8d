#include "dts_lookup.h"

#include "core/generate_err.h"
#include "core/program.h"
#include "core/traced.h"
#include "platform/prompts.h"

namespace records {

DtsLookUp::DtsLookUp() : RecordsetWrapper("DtsLookUp") {}

void DtsLookUp::batchStep(const char* what, const std::function<void()>& step)
{
    // Not traced: failures go to the classifier, not straight to the handler.
    for (;;) {
        try {
            step();
            return;
        } catch (const platform::RunTimeError& error) {
            platform::MsgBox(QStringLiteral("DataSource Class %1 %2 : %3")
                                 .arg(QLatin1String(what), QString::number(error.number()),
                                      error.description()));
            switch (modGenProcedures::GenerateErr(error)) {
            case modGenProcedures::kErrRetry:
                continue;
            case modGenProcedures::kErrEnd:
                // Unexpected, but ending the program would lose every
                // pending change: report it and let the user go on.
                tovren::handleError(error);
                return;
            default:
                return;
            }
        }
    }
}

void DtsLookUp::Update()
{
    batchStep("Update", [this] { recs().Update(); });
}

void DtsLookUp::CancelUpdate()
{
    batchStep("CancelUpdate", [this] { recs().CancelUpdate(); });
}

void DtsLookUp::Save()
{
    batchStep("Save", [this] {
        data::Recordset& rs = recs();
        try {
            rs.setActiveConnection(tovren::connectionString());
            rs.UpdateBatch();
            rs.disconnect();
        } catch (const platform::RunTimeError&) {
            // Disconnected before anything is shown: the rows stay in memory.
            rs.disconnect();
            throw;
        }
    });
}

void DtsLookUp::Cancel()
{
    tovren::traced("DtsLookUp.Cancel", [&] { recs().CancelBatch(); });
}

void DtsLookUp::Del()
{
    tovren::traced("DtsLookUp.Del", [&] {
        if (!confirmDelete())
            return;
        data::Recordset& rs = recs();
        rs.Delete();
        rs.Update();
        MovePrevious();
    });
}

} // namespace records
