// Dates as people write them, read in the program's locale.

#include "platform/date_text.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

class DateText : public ::testing::Test {
protected:
    ~DateText() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(DateText, EverydayFormsAreReadInTheLocalesOrder)
{
    struct Row {
        const char* locale;
        const char* text;
        QDate date; // invalid: refused
    };
    const QDate august15(1947, 8, 15);
    const QDate march4(2001, 3, 4);
    const Row rows[] = {
        {"C", "1947-08-15", august15},
        {"C", "15 Aug 1947", august15},
        {"C", "Aug 15, 1947", august15},
        {"C", "15th August 1947", august15},
        {"C", "august 15 1947", august15},
        {"C", "1947 Aug 15", august15},
        {"C", "Friday, 15 August 1947", august15},
        {"C", "15 Sept 1947", QDate(1947, 9, 15)},
        {"en_GB", "15/08/1947", august15},
        {"en_GB", "4/3/01", march4},
        {"en_GB", "4.3.2001", march4},
        {"en_US", "3/4/2001", march4},
        {"en_US", "Sunday, March 4, 2001", march4},
        {"de_DE", "04.03.2001", march4},
        {"de_DE", "4. März 2001", march4},
        {"de_DE", "15 Aug 1947", august15},
        {"fr_FR", "4 mars 2001", march4},
        // Impossible or incomplete dates, and other text.
        {"C", "2001-02-31", QDate()},
        {"en_GB", "31/02/2001", QDate()},
        {"C", "31 Feb 2001", QDate()},
        {"C", "Aug 1947", QDate()},
        {"C", "15 Ma 1947", QDate()},
        {"C", "15 Aug 1947 and more", QDate()},
        {"C", "15 Aug 1947 Aug", QDate()},
        {"C", "abc", QDate()},
        {"C", "", QDate()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.locale) + " " + row.text);
        QLocale::setDefault(QLocale(QLatin1String(row.locale)));
        const std::optional<QDate> read = platform::parseDate(QString::fromUtf8(row.text));
        EXPECT_EQ(read.value_or(QDate()), row.date);
    }
}

} // namespace
