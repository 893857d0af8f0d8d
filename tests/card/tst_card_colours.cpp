// The card reads on every desktop: its text keeps a contrast of 4.5:1 on
// the card's colours and in its fields, its focus frame 3:1, whether the
// desktop is light, dark or high-contrast.

#include "card_fixture.h"

#include "core/contrast.h"
#include "support/desktop_colours.h"

namespace {

TEST(Contrast, IsMeasuredAsTheGuidelinesMeasureIt)
{
    const struct {
        QColor a, b;
        double ratio;
    } pairs[] = {
        {Qt::black, Qt::white, 21.0},
        {Qt::white, Qt::white, 1.0},
        {QColor(0x76, 0x76, 0x76), Qt::white, 4.54},
        {Qt::blue, Qt::white, 8.59},
        {Qt::white, Qt::blue, 8.59},
        {QColor(224, 199, 112), Qt::black, 12.57},
    };
    for (const auto& pair : pairs)
        EXPECT_NEAR(tovren::contrastRatio(pair.a, pair.b), pair.ratio, 0.01)
            << pair.a.name().toStdString() << " on " << pair.b.name().toStdString();
}

using testing_support::DesktopColours;

class CardColours : public CardTest, public ::testing::WithParamInterface<DesktopColours> {
protected:
    // Text that does not read on its background, and a focus frame that does not show.
    static QStringList unreadable(const frmAddress& card)
    {
        QStringList faults;
        const QColor back = card.backColor();
        for (const QLabel* label : card.findChildren<QLabel*>()) {
            if (tovren::contrastRatio(label->palette().color(QPalette::WindowText), back) < 4.5)
                faults << label->objectName();
        }
        QList<const QWidget*> fields(card.txtFld.begin(), card.txtFld.end());
        fields << card.txtDt[0] << card.txtDt[1] << card.txtDt[2] << card.dbcFld[0]
               << card.dbcFld[1];
        for (const QWidget* field : fields) {
            const QPalette& colours = field->palette();
            if (tovren::contrastRatio(colours.color(QPalette::Text), colours.color(QPalette::Base))
                    < 4.5
                || colours.color(QPalette::Base)
                       != QApplication::palette().color(QPalette::ToolTipBase))
                faults << field->objectName() + " text";
            if (tovren::contrastRatio(colours.color(QPalette::Highlight), back) < 3)
                faults << field->objectName() + " focus";
        }
        return faults;
    }

    const testing_support::DesktopPalette m_desktop{GetParam()};
};

TEST_P(CardColours, TextAndFocusReadOnTheCardsColours)
{
    frmAddress& card = openCard({"Ada"});
    EXPECT_EQ(card.txtFld[0]->palette().color(QPalette::Text) == QColor(Qt::blue),
              GetParam().blueFields);
    EXPECT_EQ(unreadable(card), QStringList());
    trigger("mnuNew");
    ASSERT_EQ(card.backColor(), frmAddress::kAddingColor);
    EXPECT_EQ(unreadable(card), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Desktops, CardColours,
                         ::testing::Values(testing_support::kLightDesktop,
                                           testing_support::kDarkDesktop,
                                           testing_support::kHighContrastDesktop),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
