#include "interchange/dates.h"
#include "interchange/phones.h"

#include <gtest/gtest.h>

using namespace interchange;

struct DateCase {
    const char* text;
    const char* iso; // "" when refused
    const char* why; // a word of the reason
};

class DateForms : public testing::TestWithParam<DateCase> {};

TEST_P(DateForms, ReadWholeOrRefusedWithAReason)
{
    const DateRead read = readDate(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(read.iso, QLatin1String(GetParam().iso));
    EXPECT_TRUE(read.problem.contains(QLatin1String(GetParam().why))) << qPrintable(read.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Interchange, DateForms,
    testing::Values(DateCase{"1947-08-15", "1947-08-15", ""},
                    DateCase{"19470815", "1947-08-15", ""},
                    DateCase{"1947-08-15T00:00:00Z", "1947-08-15", ""},
                    DateCase{"19470815T103000+0530", "1947-08-15", ""},
                    DateCase{"15 Aug 1947", "1947-08-15", ""}, DateCase{"--0415", "", "no year"},
                    DateCase{"--04-15", "", "no year"}, DateCase{"1947-08", "", "no day"},
                    DateCase{"1947", "", "no day"}, DateCase{"1947-02-30", "", "calendar"},
                    DateCase{"next Tuesday", "", "not a date"}));

struct PhoneCase {
    QStringList types;
    std::vector<Column> fills; // the columns three such phones take
};

class PhoneMapping : public testing::TestWithParam<PhoneCase> {};

TEST_P(PhoneMapping, TypesFillTheirColumnsInOrderThenAreNoted)
{
    Contact contact;
    const PhoneKind kind = phoneKind(GetParam().types);
    const QStringList numbers{QStringLiteral("111"), QStringLiteral("222"), QStringLiteral("333"),
                              QStringLiteral("444"), QStringLiteral("555")};
    for (const QString& number : numbers)
        placePhone(contact, kind, number);
    const std::vector<Column>& fills = GetParam().fills;
    for (size_t i = 0; i < fills.size(); ++i)
        EXPECT_EQ(contact[fills[i]], numbers[qsizetype(i)]);
    EXPECT_EQ(contact.notes.size(), numbers.size() - qsizetype(fills.size()));
}

using C = Column;
INSTANTIATE_TEST_SUITE_P(
    Interchange, PhoneMapping,
    testing::Values(PhoneCase{{"WORK", "VOICE"}, {C::PhOff1, C::PhOff2}},
                    PhoneCase{{"HOME"}, {C::PhRes1, C::PhRes2}}, PhoneCase{{"CELL"}, {C::PhCell}},
                    PhoneCase{{"MOBILE"}, {C::PhCell}}, PhoneCase{{"WORK", "CELL"}, {C::PhCell}},
                    PhoneCase{{"WORK", "FAX"}, {C::PhFax}}, PhoneCase{{"HOME", "FAX"}, {C::PhFax}},
                    PhoneCase{{"PAGER"}, {C::PhPager}},
                    PhoneCase{{}, {C::PhRes1, C::PhRes2, C::PhOff1, C::PhOff2}},
                    PhoneCase{{"VOICE", "MSG"}, {C::PhRes1, C::PhRes2, C::PhOff1, C::PhOff2}}));

TEST(PhoneMapping, WhatTovrenWritesReadsBackToTheSameColumn)
{
    for (Column column : {C::PhOff1, C::PhRes1, C::PhFax, C::PhCell, C::PhPager}) {
        Contact contact;
        placePhone(contact, phoneKind(phoneTypes(column)), QStringLiteral("123"));
        EXPECT_EQ(contact[column], QLatin1String("123")) << qPrintable(columnName(column));
    }
}
