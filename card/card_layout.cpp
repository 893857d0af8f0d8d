#include "card_layout.h"

#include <QFontInfo>

#include <algorithm>

namespace tovren {

using K = CardControl;
// A date box takes a date written out in words too ("Wednesday, September
// 30, 2026"); what it shows is the ten-character short form.
constexpr int kDateLength = 32;

const CardField kCardFields[] = {
    {K::Combo, 0, "SalutationId", "Salutation", "Salutation", 0, 1815, 570, 1080},
    {K::Text, 0, "Name", "Name", "Name", 40, 4710, 570, 4230},
    {K::Text, 1, "Company", "Company", "Company", 50, 1815, 990, 7125},
    {K::Combo, 1, "ReligionId", "Religion", "Religion", 0, 1815, 1425, 2550},
    {K::Date, 0, "DtBirth", "Birth Date", "Date of Birth", kDateLength, 1815, 1875, 1095},
    {K::CalendarButton, 0, "", "", "", 0, 2940, 1875, 195},
    {K::Date, 1, "DtMarriage", "Marriage Date", "Marriage Anniversary", kDateLength, 4905, 1875,
     1095},
    {K::CalendarButton, 1, "", "", "", 0, 6030, 1875, 195},
    {K::Date, 2, "DtJoining", "Joining Date", "Date of Joining", kDateLength, 8025, 1875, 1095},
    {K::CalendarButton, 2, "", "", "", 0, 9150, 1875, 195},
    {K::Text, 2, "Address1", "Address1", "Address1", 35, 1815, 2325, 4110},
    {K::Text, 3, "Address2", "Address2", "Address2", 35, 1815, 2760, 4110},
    {K::Text, 4, "Address3", "Address3", "Address3", 35, 1815, 3210, 4110},
    {K::Text, 5, "City", "City", "City", 20, 1815, 3660, 2745},
    {K::Text, 6, "Pincode", "Pincode", "Pincode", 7, 6405, 3660, 855},
    {K::Text, 7, "State", "State", "State", 20, 1815, 4095, 2745},
    {K::Text, 8, "Country", "Country", "Country", 40, 1815, 4530, 2745},
    {K::Text, 9, "PhOff1", "Phone (Off)", "Phone (Off) 1", 15, 1815, 4965, 2040},
    {K::Text, 10, "PhOff2", "Phone (Off)", "Phone (Off) 2", 15, 5655, 4965, 2040},
    {K::Text, 11, "PhExt", "Extn", "Office Extension", 5, 9510, 4965, 855},
    {K::Text, 12, "PhFax", "Phone (Fax)", "Fax", 15, 1815, 5400, 2040},
    {K::Text, 13, "PhRes1", "Phone (Res)", "Phone (Res) 1", 15, 5655, 5415, 2040},
    {K::Text, 14, "PhRes2", "Phone (Res)", "Phone (Res) 2", 15, 9510, 5415, 2040},
    {K::Text, 15, "PhCell", "Phone (Cell)", "Cell", 15, 1815, 5850, 2040},
    {K::Text, 16, "PhPager", "Phone (Pager)", "Pager", 15, 5655, 5850, 2040},
    {K::Text, 17, "EmlAddr", "Email Address", "Email Address", 150, 1815, 6285, 5880},
};

const int kCardFieldCount = int(sizeof(kCardFields) / sizeof(kCardFields[0]));

// The largest desktop text at which the card keeps the size it was drawn at.
constexpr qreal kDrawnForPoints = 12;

Twips::Twips(const QFont& desktopFont)
    : m_factor(std::max(1.0, QFontInfo(desktopFont).pointSizeF() / kDrawnForPoints))
{}

QFont Twips::font(QFont font) const
{
    if (m_factor > 1)
        font.setPointSizeF(font.pointSizeF() * m_factor);
    return font;
}

} // namespace tovren
