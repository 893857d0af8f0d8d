#include "import_summary.h"

namespace transfer {
namespace {

using Fate = PlannedContact::Fate;

void section(QString& text, const QString& heading, const QStringList& items)
{
    if (items.isEmpty())
        return;
    text += heading + QLatin1Char('\n');
    for (const QString& item : items)
        text += QStringLiteral("  ") + item + QLatin1Char('\n');
}

QString who(const PlannedContact& planned)
{
    const QString& email = planned.contact[interchange::Column::EmlAddr];
    QString text = planned.contact.label();
    if (!email.isEmpty() && email != text)
        text += QStringLiteral(" <") + email + QLatin1Char('>');
    return text + QStringLiteral(" (") + planned.file + QLatin1Char(')');
}

} // namespace

QString importSummary(const ImportPlan& plan)
{
    QString text = QStringLiteral("To add: %1\nAlready present: %2\nRefused: %3\n")
                       .arg(plan.count(Fate::Add))
                       .arg(plan.count(Fate::AlreadyPresent))
                       .arg(plan.count(Fate::Refused));
    QStringList present, refused, notKept;
    for (const PlannedContact& planned : plan.contacts) {
        if (planned.fate == Fate::AlreadyPresent)
            present << who(planned);
        if (planned.fate == Fate::Refused)
            refused << who(planned) + QStringLiteral(": ") + planned.refusal;
        if (planned.fate == Fate::Add) {
            for (const QString& note : planned.contact.notes)
                notKept << who(planned) + QStringLiteral(": ") + note;
        }
    }
    section(text, QStringLiteral("New salutations:"), plan.newSalutations);
    section(text, QStringLiteral("New religions:"), plan.newReligions);
    section(text, QStringLiteral("File problems:"), plan.problems);
    section(text, QStringLiteral("Already present, skipped:"), present);
    section(text, QStringLiteral("Refused:"), refused);
    section(text, QStringLiteral("Not kept:"), notKept);
    return text;
}

} // namespace transfer
