#include "platform/graphics/Font.h"

#include <gtest/gtest.h>

using namespace graphics;

namespace {
const char* const sentence = "The quick brown fox jumps over the lazy dog";
}

TEST(Font, NamesResolveToInstalledFamiliesOrNothing) {
    auto bold = Font::named("Helvetica-Bold", 13);
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->familyName(), "Helvetica");
    EXPECT_TRUE(bold->isBold());
    EXPECT_EQ(bold->name(), "Helvetica-Bold");
    EXPECT_EQ(*bold, Font::boldSystemFont(13));
    EXPECT_EQ(Font::named("Helvetica", 12), Font::systemFont(12));
    EXPECT_TRUE(Font::named("Arial", 12));
    EXPECT_TRUE(Font::named("Helvetica Neue", 12));
    EXPECT_FALSE(Font::named("NoSuchFace", 12));
    EXPECT_FALSE(Font::named("NoSuchFace-Bold", 12));
    EXPECT_FALSE(Font::named("-Bold", 12));
    EXPECT_FALSE(Font::named("", 12));
}

TEST(Font, MetricsArePlausibleAndComeFromTheShippedFaces) {
    Font helvetica = Font::systemFont(12);
    EXPECT_GT(helvetica.ascender(), 9);
    EXPECT_LT(helvetica.ascender(), 12.5);
    EXPECT_LT(helvetica.descender(), -1.5);
    EXPECT_GT(helvetica.descender(), -4);
    EXPECT_FLOAT_EQ(helvetica.lineHeight(), helvetica.ascender() - helvetica.descender());
    // Liberation Sans at 72 dpi without hinting; another face or resolution changes these.
    EXPECT_EQ(helvetica.sizeOfText("Hello world"), (Size{60, 14}));
    EXPECT_EQ(helvetica.sizeOfText(""), (Size{0, 14}));
}

TEST(Font, MetricsAskedAgainFollowTheSizeAndFamily) {
    Font small = Font::systemFont(12);
    float line = small.lineHeight();
    EXPECT_FLOAT_EQ(small.lineHeight(), line);
    EXPECT_NEAR(small.withSize(24).lineHeight(), 2 * line, 0.01);
    EXPECT_NEAR(small.withSize(24).ascender(), 2 * small.ascender(), 0.01);
    // Another family at the same size has faces of its own.
    auto mono = Font::named("Courier New", 12);
    ASSERT_TRUE(mono);
    EXPECT_NE(mono->ascender(), small.ascender());
}

TEST(Font, BoldIsWiderAndLargerSizesScale) {
    Size regular = Font::systemFont(13).sizeOfText(sentence);
    Size bold = Font::boldSystemFont(13).sizeOfText(sentence);
    EXPECT_GT(bold.width, regular.width);
    EXPECT_EQ(bold.height, regular.height);
    Size doubled = Font::systemFont(26).sizeOfText(sentence);
    EXPECT_NEAR(doubled.width, 2 * regular.width, 2);
}

TEST(Font, WrappingStaysWithinTheWidthAndKeepsWholeLinesThatFit) {
    Font font = Font::boldSystemFont(13);
    float line = font.sizeOfText("x").height;
    Size wide = font.sizeOfText(sentence, {1000, 1000});
    EXPECT_EQ(wide, font.sizeOfText(sentence));
    Size wrapped = font.sizeOfText(sentence, {120, 1000});
    EXPECT_LE(wrapped.width, 120);
    EXPECT_GE(wrapped.height, 3 * line - 1);
    Size twoLines = font.sizeOfText(sentence, {120, 2 * line});
    EXPECT_NEAR(twoLines.height, 2 * (font.lineHeight()), 1);
    // Even a height too small for one line keeps the first line.
    EXPECT_EQ(font.sizeOfText(sentence, {120, 3}).height, line);
    // Newlines break lines without any width limit.
    EXPECT_EQ(font.sizeOfText("one\ntwo").height, font.sizeOfText("one\ntwo", {0, 0}).height);
    EXPECT_GT(font.sizeOfText("one\ntwo").height, line);
    // Malformed UTF-8 still measures, with the bad byte replaced.
    EXPECT_GT(font.sizeOfText("caf\xe9 au lait").width, font.sizeOfText("caf au lait").width);
}

TEST(Font, LongWordsBreakAndTruncationFitsTheWidth) {
    Font font = Font::systemFont(12);
    const char* word = "Supercalifragilisticexpialidocious";
    Size wordWrapped = font.sizeOfText(word, {50, 1000}, LineBreakMode::WordWrap);
    EXPECT_LE(wordWrapped.width, 50);
    EXPECT_GT(wordWrapped.height, font.lineHeight());
    Size charWrapped = font.sizeOfText(sentence, {50, 1000}, LineBreakMode::CharacterWrap);
    EXPECT_LE(charWrapped.width, 50);
    float line = font.sizeOfText("x").height;
    for (LineBreakMode mode : {LineBreakMode::TruncateTail, LineBreakMode::TruncateHead,
                               LineBreakMode::TruncateMiddle}) {
        Size truncated = font.sizeOfText(sentence, {80, line}, mode);
        EXPECT_LE(truncated.width, 80);
        EXPECT_EQ(truncated.height, line);
    }
}
