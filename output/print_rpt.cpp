#include "print_rpt.h"

#include "label_progress.h"
#include "label_text.h"
#include "odt_labels.h"
#include "pdf_labels.h"

#include "core/program.h"
#include "core/traced.h"
#include "data/recordset.h"
#include "platform/desktop.h"
#include "platform/error_numbers.h"
#include "platform/prompts.h"
#include "platform/runtime_error.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>

namespace modGenProcedures {
namespace {

const QString kTitle = QStringLiteral("Print");

QString homeFile(const QString& name)
{
    return QDir(QDir::homePath()).filePath(name);
}

// LibreOffice keeps a lock file beside each document it has open.
bool openInWordProcessor(const QString& path)
{
    const QFileInfo document(path);
    return QFileInfo::exists(document.dir().filePath(QStringLiteral(".~lock.") + document.fileName()
                                                     + QLatin1Char('#')));
}

output::Labels readLabels(const QString& filter)
{
    data::Recordset rs;
    rs.setActiveConnection(tovren::connectionString());
    rs.Open(QStringLiteral("qryLabel"));
    rs.disconnect();
    rs.setFilter(filter);
    output::Labels labels;
    labels.reserve(size_t(std::max(0, rs.RecordCount())));
    for (; !rs.isEOF(); rs.MoveNext())
        labels.push_back(output::labelText(rs));
    return labels;
}

// Replaces the file whole or not at all: a document the person kept is
// never left half written.
void save(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        platform::raise(platform::err::PathFileAccess,
                        QStringLiteral("The labels could not be saved as '%1': %2")
                            .arg(path, file.errorString()));
}

// Where no program opens the .odt, the same sheet as a PDF, which Qt
// writes itself.
void offerPdf(const QString& odt, const output::Labels& labels)
{
    const QString pdf = homeFile(QStringLiteral("TNLabels.pdf"));
    {
        output::LabelProgress progress(int(labels.size()));
        save(pdf, output::pdfLabels(labels, progress.callback()));
    }
    platform::DesktopService& desktop = platform::desktop();
    if (!desktop.opensType(QLatin1String(output::kPdfType))) {
        platform::MsgBox(QStringLiteral("No program on this computer opens OpenDocument text "
                                        "(.odt) or PDF documents. The labels are saved as '%1' "
                                        "and '%2'.")
                             .arg(odt, pdf),
                         platform::Buttons::OK, platform::Icon::Exclamation, kTitle);
        return;
    }
    platform::MsgBox(QStringLiteral("No program on this computer opens OpenDocument text (.odt) "
                                    "documents, so the labels are also saved as '%1', which "
                                    "opens now.")
                         .arg(pdf),
                     platform::Buttons::OK, platform::Icon::Information, kTitle);
    if (!desktop.openUrl(QUrl::fromLocalFile(pdf)))
        platform::raise(platform::err::FileNotFound,
                        QStringLiteral("The desktop could not open '%1'.").arg(pdf));
}

void printLabels(const QString& filter)
{
    const QString odt = homeFile(QStringLiteral("TNLabels.odt"));
    if (openInWordProcessor(odt))
        platform::raise(platform::err::DocumentOpen,
                        QStringLiteral("'%1' is open in the word processor.").arg(odt));
    const output::Labels labels = readLabels(filter);
    // A table needs a row: like a word processor asked for none, refuse,
    // and leave the document kept from the last run as it was.
    if (labels.empty())
        platform::raise(platform::err::InvalidCall,
                        QStringLiteral("No contact passes the filter, so there are no labels "
                                       "to print."));
    {
        output::LabelProgress progress(int(labels.size()));
        save(odt, output::odtLabels(labels, progress.callback()));
    }
    platform::DesktopService& desktop = platform::desktop();
    if (!desktop.opensType(QLatin1String(output::kOdtType))
        || !desktop.openUrl(QUrl::fromLocalFile(odt)))
        offerPdf(odt, labels);
}

} // namespace

void PrintRpt(QString& filter)
{
    // The labels are not traced: a failure is told here, in one of two
    // messages, and never reaches the error handler.
    const auto tell = [](const platform::RunTimeError& error) {
        if (error.number() == platform::err::DocumentOpen)
            platform::MsgBox(QStringLiteral("Report is already open. Close the report first."),
                             platform::Buttons::OK, platform::Icon::Critical, kTitle);
        else
            platform::MsgBox(QStringLiteral("Mod Gen PrintRpt ") + QString::number(error.number())
                             + QStringLiteral(" :") + error.description());
    };
    try {
        printLabels(filter);
    } catch (const platform::RunTimeError& error) {
        tell(error);
    } catch (const std::exception& error) {
        tell(tovren::asRunTimeError(error));
    }
}

} // namespace modGenProcedures
