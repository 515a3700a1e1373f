#include "adserver/FaultPlan.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

using adserver::FaultPlan;

namespace {
foundation::Result<FaultPlan::Rule> parse(std::string_view text) {
    return FaultPlan::parse(json::JSONDeserializer().deserializeAsDictionary(text).value());
}
} // namespace

TEST(FaultPlan, PatternsMatchWholePathsWithStars) {
    EXPECT_TRUE(FaultPlan::matches("/ad_source.php", "/ad_source.php"));
    EXPECT_FALSE(FaultPlan::matches("/ad_source.php", "/ad_source.php5"));
    EXPECT_TRUE(FaultPlan::matches("/static/*.png", "/static/phone/img/url.png"));
    EXPECT_FALSE(FaultPlan::matches("/static/*.png", "/static/phone/canvas.html"));
    EXPECT_TRUE(FaultPlan::matches("*", ""));
    EXPECT_FALSE(FaultPlan::matches("*a*a*a*a*b", std::string(2000, 'a')));
}

TEST(FaultPlan, RulesAreUsedUpInOrderAndZeroCountIsForever) {
    FaultPlan plan;
    plan.add(parse(R"({"path": "/a", "status": 503, "count": 2})").value());
    plan.add(parse(R"({"path": "/*", "method": "POST", "delay": 1, "count": 0})").value());
    EXPECT_EQ(plan.take("GET", "/a")->status, 503);
    EXPECT_EQ(plan.take("GET", "/a")->status, 503);
    EXPECT_FALSE(plan.take("GET", "/a"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(plan.take("POST", "/a")->kind, FaultPlan::Kind::Delay);
    plan.clear();
    EXPECT_FALSE(plan.take("POST", "/a"));
}

TEST(FaultPlan, UnusableRulesAreRefused) {
    for (const char* text : {R"({"status": 500})", R"({"path": "/a"})", R"({"path": "/a", "status": 42})",
                             R"({"path": "/a", "delay": 100000})", R"({"path": "/a", "oversize": 1e12})",
                             R"({"path": "/a", "redirects": 0})",
                             R"({"path": "/a", "redirects": 2, "to": "http://elsewhere.test/"})"})
        EXPECT_FALSE(parse(text).ok()) << text;
    EXPECT_EQ(parse(R"({"path": "/a", "oversize": 1000})").value().bytes, 1000u);
}
