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
    ASSERT_TRUE(plan.add(parse(R"({"path": "/a", "status": 503, "count": 2})").value()).ok());
    ASSERT_TRUE(
        plan.add(parse(R"({"path": "/*", "method": "POST", "delay": 1, "count": 0})").value())
            .ok());
    EXPECT_EQ(plan.take("GET", "/a")->status, 503);
    EXPECT_EQ(plan.take("GET", "/a")->status, 503);
    EXPECT_FALSE(plan.take("GET", "/a"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(plan.take("POST", "/a")->kind, FaultPlan::Kind::Delay);
    plan.clear();
    EXPECT_FALSE(plan.take("POST", "/a"));
}

TEST(FaultPlan, UnusableRulesAreRefused) {
    for (const char* text :
         {R"({"status": 500})", R"({"path": "/a"})", R"({"path": "/a", "status": 42})",
          R"({"path": "/a", "delay": 100000})", R"({"path": "/a", "oversize": 1e12})",
          R"({"path": "/a", "redirects": 0})",
          R"({"path": "/a", "redirects": 2, "to": "http://elsewhere.test/"})"})
        EXPECT_FALSE(parse(text).ok()) << text;
    EXPECT_EQ(parse(R"({"path": "/a", "oversize": 1000})").value().bytes, 1000u);
    EXPECT_EQ(parse(R"({"path": "/a", "body": "{not json"})").value().body, "{not json");
    const std::string huge(FaultPlan::kMaxBodyBytes + 1, 'x');
    EXPECT_FALSE(parse(R"({"path": "/a", "body": ")" + huge + "\"}").ok());
}

TEST(FaultPlan, HoldsABoundedNumberOfRules) {
    FaultPlan plan;
    const auto rule = parse(R"({"path": "/a", "status": 500})").value();
    for (std::size_t i = 0; i < FaultPlan::kMaxRules; ++i)
        ASSERT_TRUE(plan.add(rule).ok()) << i;
    const auto refused = plan.add(rule);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("full"), std::string::npos);
    EXPECT_EQ(plan.toValue()["faults"].asArray().size(), FaultPlan::kMaxRules);
    // A used-up rule makes room again.
    ASSERT_TRUE(plan.take("GET", "/a"));
    EXPECT_TRUE(plan.add(rule).ok());
}

TEST(FaultPlan, RedirectTargetsAreOnlyPlainLocalPaths) {
    for (const char* local :
         {"/", "/static/phone/canvas.html", "/search?q=a%20b&x=1", "/a:b@c;d=e,f!"})
        EXPECT_TRUE(FaultPlan::isLocalPath(local)) << local;
    // Each of these is read as another host by some URL parser, or is not a path at all.
    for (const std::string& offSite : std::initializer_list<std::string>{
             "", "evil.example", "//evil.example", "/\\evil.example", "/\tevil.example",
             "/\t/evil.example", "/\n/evil.example", "/\r\nLocation: //evil.example",
             "/a\\..\\..\\evil", "/a b", "/caf\xC3\xA9", "/a#frag", "/\x7F/evil",
             std::string("/\0/evil", 6), "http://evil.example/", " /a"})
        EXPECT_FALSE(FaultPlan::isLocalPath(offSite)) << offSite;
    EXPECT_FALSE(parse(R"({"path": "/a", "redirects": 2, "to": "/\t/evil.example"})").ok());
}
