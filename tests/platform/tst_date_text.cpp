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
    const QDate august15(1947, 8, 15);
    const QDate march4(2001, 3, 4);
    const std::tuple<const char*, QDate, std::vector<const char*>> rows[] = {
        {"C", august15, {"1947-08-15", "15 Aug 1947", "Aug 15, 1947", "15th August 1947"}},
        {"C", august15, {"august 15 1947", "1947 Aug 15", "Friday, 15 August 1947"}},
        {"C", QDate(1947, 9, 15), {"15 Sept 1947"}},
        {"en_GB", august15, {"15/08/1947"}},
        {"en_GB", march4, {"4/3/01", "4.3.2001"}},
        {"en_US", march4, {"3/4/2001", "Sunday, March 4, 2001"}},
        {"de_DE", march4, {"04.03.2001", "4. März 2001"}},
        {"de_DE", august15, {"15 Aug 1947"}},
        {"fr_FR", march4, {"4 mars 2001"}},
        // Refused: impossible or incomplete dates, and other text.
        {"en_GB", QDate(), {"31/02/2001"}},
        {"C", QDate(), {"2001-02-31", "31 Feb 2001", "Aug 1947", "15 Ma 1947"}},
        {"C", QDate(), {"15 Aug 1947 and more", "15 Aug 1947 Aug", "abc", ""}},
    };
    for (const auto& [locale, date, texts] : rows) {
        QLocale::setDefault(QLocale(QLatin1String(locale)));
        for (const char* text : texts) {
            const std::optional<QDate> read = platform::parseDate(QString::fromUtf8(text));
            EXPECT_EQ(read.value_or(QDate()), date) << locale << " " << text;
        }
    }
}

} // namespace
