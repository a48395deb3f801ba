#include "DesignFont.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A container in the design font with one row of controls.
class DesignFontTest : public ::testing::Test
{
protected:
    DesignFontTest()
    {
        container.resize(400, 100);
        DesignFont::apply(container);
    }

    QLabel* label(const QString& text, int left, int width)
    {
        auto* label = new QLabel(text, &container);
        label->setGeometry(left, 10, width, 17);
        return label;
    }

    QWidget container;
};

TEST_F(DesignFontTest, AppliesTheDesignSizeToTheWindowsControls)
{
    EXPECT_EQ(label(QStringLiteral("x"), 0, 50)->font().pointSizeF(), DesignFont::PointSize);
}

TEST_F(DesignFontTest, CaptionGrowsUpToItsNeighbourButNoFurther)
{
    QLabel* caption = label(QStringLiteral("A caption far longer than its box"), 10, 20);
    QLabel* neighbour = label(QStringLiteral("next"), 120, 60);
    QLabel* below = label(QStringLiteral("x"), 40, 50);
    below->move(40, 60);

    DesignFont::widenToFit(container);
    EXPECT_GT(caption->width(), 20);
    EXPECT_LT(caption->geometry().right(), neighbour->x());
    EXPECT_EQ(neighbour->geometry(), QRect(120, 10, 60, 17)) << "a caption that fits stays";
}

TEST_F(DesignFontTest, CaptionWithRoomTakesWhatItNeeds)
{
    auto* box = new QCheckBox(QStringLiteral("Unterverzeichnis+Dateiname anhängen"), &container);
    box->setGeometry(10, 10, 40, 17);
    DesignFont::widenToFit(container);
    EXPECT_EQ(box->width(), box->sizeHint().width());
    EXPECT_EQ(box->font().pointSizeF(), DesignFont::PointSize);
}

TEST_F(DesignFontTest, CaptionWithoutRoomKeepsTheOneDesignFont)
{
    QLabel* tight = label(QStringLiteral("Standard"), 10, 40);
    label(QStringLiteral("neighbour"), 52, 100);
    QLabel* hopeless = label(QString(200, QLatin1Char('W')), 10, 20);
    hopeless->move(10, 50);

    DesignFont::widenToFit(container);
    for (const QLabel* caption : {tight, hopeless}) {
        EXPECT_EQ(caption->font().pointSizeF(), DesignFont::PointSize);
        EXPECT_EQ(caption->font().family(), DesignFont::font().family());
    }
    EXPECT_EQ(tight->width(), 40) << "no room beside it to grow into";
}

TEST_F(DesignFontTest, TakesTheFirstInstalledNarrowFamily)
{
    // The test machine installs what the package depends on.
    EXPECT_EQ(DesignFont::font().family(), DesignFont::families().first());
    EXPECT_EQ(QFontInfo(DesignFont::font()).family(), DesignFont::families().first());
}

TEST_F(DesignFontTest, WrappedTextIsLeftAlone)
{
    QLabel* text = label(QStringLiteral("A long text that wraps onto more lines"), 10, 30);
    text->setWordWrap(true);
    DesignFont::widenToFit(container);
    EXPECT_EQ(text->width(), 30);
    EXPECT_EQ(text->font().pointSizeF(), DesignFont::PointSize);
}

} // namespace
