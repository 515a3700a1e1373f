#include "tools/pennant/FlexTree.h"
#include "ads/render/FlexAd.h"
#include "ads/render/FlexAdContainerView.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

using foundation::Dictionary;
using foundation::Value;

namespace {

// The tree the client builds from a markup without assets, described.
Dictionary describe(std::string_view markup) {
    const auto parsed = json::JSONDeserializer().deserializeAsDictionary(markup);
    EXPECT_TRUE(parsed.ok()) << markup;
    const auto flexAd =
        pennant::FlexAd::create(parsed.value(), {}, {}, graphics::Rect(0, 0, 320, 48));
    return tool::FlexTree::describe(*flexAd->containerView());
}

std::vector<double> numbers(const Value& array) {
    std::vector<double> out;
    for (const auto& element : array.asArray())
        out.push_back(element.doubleValue());
    return out;
}

std::span<const Value> subviews(const Value& view) { return view["subviews"].asArray(); }

} // namespace

TEST(FlexTreeTest, ElementsCarryTheirKindFrameTagAndAnimation) {
    const auto tree = Value(describe(R"({"v": [
        {"t": "P", "f": [0, 0, 320, 48], "ut": "back"},
        {"t": "l", "x": "Hi", "f": [52, 4, 200, 40], "ap": [0, 0],
         "a": [{"t": "B", "kp": "opacity", "vt": "F", "d": 2, "rc": 3},
               {"t": "K", "kp": "position", "vt": "P", "vs": [[0, 0], [10, 0]], "d": 0.5}],
         "ag": {"rc": 1e39}}]})"));
    EXPECT_EQ(tree["kind"].stringValue(), "FlexAdContainerView");
    EXPECT_EQ(tree["uiTag"].stringValue(), "container");
    EXPECT_EQ(numbers(tree["frame"]), (std::vector<double>{0, 0, 320, 48}));
    ASSERT_EQ(subviews(tree).size(), 2u);

    const auto& plain = subviews(tree)[0];
    EXPECT_EQ(plain["kind"].stringValue(), "PlainView");
    EXPECT_EQ(plain["uiTag"].stringValue(), "back");
    EXPECT_TRUE(plain["animation"].isNull());

    // The anchor point moved the label by half its size up and left.
    const auto& label = subviews(tree)[1];
    EXPECT_EQ(label["kind"].stringValue(), "LabelView");
    EXPECT_EQ(numbers(label["frame"]), (std::vector<double>{152, 24, 200, 40}));
    EXPECT_FALSE(label.asDictionary().contains("uiTag"));
    const auto& group = label["animation"];
    EXPECT_EQ(group["kind"].stringValue(), "group");
    EXPECT_DOUBLE_EQ(group["duration"].doubleValue(), 6.0); // the longest member
    // An endless repeat still prints: JSON has no infinity.
    EXPECT_EQ(group["repeatCount"].stringValue(), "inf");
    const auto& members = group["animations"].asArray();
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0]["kind"].stringValue(), "basic");
    EXPECT_EQ(members[0]["keyPath"].stringValue(), "opacity");
    EXPECT_DOUBLE_EQ(members[0]["duration"].doubleValue(), 2.0);
    EXPECT_DOUBLE_EQ(members[0]["repeatCount"].doubleValue(), 3.0);
    EXPECT_EQ(members[1]["kind"].stringValue(), "keyframe");
    EXPECT_EQ(members[1]["keyPath"].stringValue(), "position");
    EXPECT_DOUBLE_EQ(members[1]["duration"].doubleValue(), 0.5);
    EXPECT_TRUE(json::JSONSerializer().serializeDictionary(tree.asDictionary()).ok());
}

TEST(FlexTreeTest, PagesNestTheirElementsSideBySide) {
    const auto tree = Value(describe(R"({"v": [{"t": "p", "f": [0, 0, 320, 48], "p": [
        {"v": [{"t": "P", "f": [10, 0, 20, 20], "ut": "first"}]},
        {"v": [{"t": "l", "x": "two", "f": [10, 0, 20, 20],
                "a": [{"t": "B", "kp": "transform", "vt": "T3"}]}]}]}]})"));
    const auto& pages = subviews(tree)[0];
    EXPECT_EQ(pages["kind"].stringValue(), "PagingScrollView");
    EXPECT_EQ(pages["uiTag"].stringValue(), "scroll");
    EXPECT_EQ(pages["pages"].intValue(), 2);
    // Pages element > scroll view > the layer that forwards touches > the pages' elements.
    const auto& scroll = subviews(pages)[0];
    EXPECT_EQ(scroll["kind"].stringValue(), "ScrollView");
    const auto& forwarding = subviews(scroll)[0];
    ASSERT_EQ(subviews(forwarding).size(), 2u);
    EXPECT_EQ(subviews(forwarding)[0]["uiTag"].stringValue(), "first");
    const auto& second = subviews(forwarding)[1];
    EXPECT_EQ(numbers(second["frame"]), (std::vector<double>{330, 0, 20, 20}));
    EXPECT_EQ(second["animation"]["animations"].asArray()[0]["keyPath"].stringValue(), "transform");
}
