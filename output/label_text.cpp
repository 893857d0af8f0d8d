#include "label_text.h"

#include "label_sheet.h"

#include "data/recordset.h"

namespace output {
namespace {

// A field's value as a label may show it: Null reads as empty; a line
// break inside the value stays a line break within its paragraph, so the
// paragraphs are only the label's own lines; other control characters,
// which no document can hold, are left out.
QString printable(const QVariant& value)
{
    const QString text = value.toString();
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            shown += c;
            shown += text[++i];
        } else if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            shown += u'\n';
        } else if (c == u'\n' || c == u'\t'
                   || (c.unicode() >= 0x20 && !c.isSurrogate() && !c.isNonCharacter())) {
            shown += c;
        }
    }
    return shown;
}

} // namespace

QString labelText(const data::Recordset& rs)
{
    const auto field = [&rs](QStringView name) { return printable(rs.value(name)); };
    const QChar cr = kParagraphMark;
    const QString name = field(u"Name");
    const QVariant salutation = rs.value(u"Salutation");

    QString label;
    // Without a name the company takes the first line.
    if (name.isEmpty())
        label = field(u"Company") + cr;
    else
        label = (salutation.isNull() ? name : printable(salutation) + u' ' + name) + cr
                + field(u"Company") + cr;
    for (const char16_t* line : {u"Address1", u"Address2", u"Address3"}) {
        const QString text = field(line);
        if (!text.isEmpty())
            label += text + cr;
    }
    // "City - Pincode" on one line, or "Pin Pincode" without a city.
    const QString city = field(u"City");
    const QString pincode = field(u"Pincode");
    if (!city.isEmpty())
        label += city + (pincode.isEmpty() ? QString(cr) : QStringLiteral(" - "));
    else if (!pincode.isEmpty())
        label += QStringLiteral("Pin ");
    if (!pincode.isEmpty())
        label += pincode + cr;
    // State and country close the label on one line, without a break.
    const QString state = field(u"State");
    if (!state.isEmpty())
        label += state + u' ';
    return label + field(u"Country");
}

} // namespace output
