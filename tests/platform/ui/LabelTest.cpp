#include "platform/ui/Label.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/RecordedOperation.h"
#include "tests/support/RecordedDrawing.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;
using testing_support::RecordedDrawing;

TEST(LabelDrawing, ShrinksToFitButNotBelowTheMinimum) {
    auto label = Label::create(Rect(0, 0, 60, 30));
    label->setText("A rather long title for a label");
    label->setFont(graphics::Font::systemFont(17.5f));
    EXPECT_EQ(label->fittedFont().pointSize(), 17.5f) << "only when asked to";
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(10);
    EXPECT_EQ(label->fittedFont().pointSize(), 10);
    label->setMinimumFontSize(0);
    label->setFrame(Rect(0, 0, 2, 30));
    EXPECT_GE(label->fittedFont().pointSize(), 1) << "a zero minimum still keeps a legible font";
    label->setNumberOfLines(2);
    EXPECT_EQ(label->fittedFont().pointSize(), 17.5f) << "multi-line labels wrap instead";
    label->setNumberOfLines(1);
    label->setFrame(Rect(0, 0, 200, 30));
    label->setText("Shaken");
    EXPECT_EQ(label->fittedFont().pointSize(), 17.5f) << "text that fits keeps its font";
}

TEST(LabelDrawing, CentresItsLinesVertically) {
    auto label = Label::create(Rect(0, 0, 200, 60));
    EXPECT_TRUE(RecordedDrawing::of(*label, Kind::DrawText).empty()) << "no text, nothing drawn";
    label->setText("Count");
    label->setLineBreakMode(graphics::LineBreakMode::WordWrap);
    auto texts = RecordedDrawing::of(*label, Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    const float oneLine = label->font().sizeOfText("Count").height;
    EXPECT_EQ(texts[0].rect, Rect(0, 30 - oneLine / 2, 200, oneLine));
    EXPECT_EQ(texts[0].lineBreakMode, graphics::LineBreakMode::Clip)
        << "a single line does not wrap";

    label->setFrame(Rect(0, 0, 100, 200));
    label->setNumberOfLines(2);
    label->setText("one two three four five six seven eight nine ten eleven twelve");
    texts = RecordedDrawing::of(*label, Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_GT(texts[0].rect.height(), oneLine);
    EXPECT_LE(texts[0].rect.height(), 2 * label->font().lineHeight() + 1) << "two lines at most";
    EXPECT_FLOAT_EQ(texts[0].rect.midY(), 100);

    label->setNumberOfLines(0);
    label->setFrame(Rect(0, 0, 100, 30)); // more text than room: clipped to the bounds
    EXPECT_LE(RecordedDrawing::of(*label, Kind::DrawText).at(0).rect.height(), 30);
}

TEST(LabelDrawing, RedrawsWithWhateverChangedSinceItWasLastDrawn) {
    auto label = Label::create(Rect(0, 0, 100, 200));
    label->setNumberOfLines(0);
    label->setText("one");
    const auto drawn = [&] { return RecordedDrawing::of(*label, Kind::DrawText).at(0); };
    const float oneLine = drawn().rect.height();
    label->setText("one two three four five six seven");
    EXPECT_EQ(drawn().text, "one two three four five six seven");
    EXPECT_GT(drawn().rect.height(), oneLine) << "the longer text wraps";
    label->setFont(graphics::Font::systemFont(8));
    EXPECT_EQ(drawn().font->pointSize(), 8);
    EXPECT_LT(drawn().rect.height(), 2 * oneLine) << "measured in the new font";
    label->setFrame(Rect(0, 0, 300, 200));
    EXPECT_LT(drawn().rect.height(), oneLine) << "measured in the new width";
    label->setNumberOfLines(1);
    label->setFont(graphics::Font::systemFont(17));
    label->setAdjustsFontSizeToFitWidth(true);
    label->setFrame(Rect(0, 0, 100, 200));
    const float shrunk = drawn().font->pointSize();
    EXPECT_LT(shrunk, 17);
    label->setMinimumFontSize(shrunk + 2);
    EXPECT_EQ(drawn().font->pointSize(), shrunk + 2);
    label->setAdjustsFontSizeToFitWidth(false);
    EXPECT_EQ(drawn().font->pointSize(), 17);
}
