#include "ads/actions/ClickToCallAlert.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertView.h"
#include "tests/support/ClickPromptFixture.h"

#include <gtest/gtest.h>

using foundation::URL;
using pennant::ClickToCallAlert;

namespace {

constexpr const char* kAcquisition = "http://ads.pennant.test/pixel/track/call-ok";
constexpr const char* kAcquisitionPath = "/pixel/track/call-ok";

class ClickToCallAlertTest : public testing_support::ClickPromptFixture {
protected:
    static std::shared_ptr<ClickToCallAlert> promptFor(std::string_view url, bool prompt = true) {
        return ClickToCallAlert::create(URL::create(url), prompt, kAcquisition);
    }
};

} // namespace

TEST_F(ClickToCallAlertTest, TheTitleNamesTheNumberWithoutSchemeOrSlashes) {
    for (const auto* url : {"tel://555-0100", "tel:555-0100"}) {
        const auto call = promptFor(url);
        ASSERT_TRUE(call) << url;
        EXPECT_EQ(call->alert()->title(), "Call 555-0100?") << url;
        EXPECT_EQ(call->alert()->message(), "");
        EXPECT_EQ(call->alert()->buttonTitles(), (std::vector<std::string>{"Cancel", "Call"}));
        EXPECT_EQ(call->alert()->cancelButtonIndex(), 0);
    }
}

TEST_F(ClickToCallAlertTest, TheTextsComeFromTheStringsTable) {
    useFrenchTexts();
    const auto call = promptFor("tel:555-0100");
    EXPECT_EQ(call->alert()->title(), "Appeler le 555-0100 ?");
    EXPECT_EQ(call->alert()->buttonTitles(), (std::vector<std::string>{"Annuler", "Appeler"}));
}

TEST_F(ClickToCallAlertTest, NoNumberMeansNoPromptAndOneLogLine) {
    EXPECT_FALSE(ClickToCallAlert::create(std::nullopt, true, kAcquisition));
    EXPECT_FALSE(promptFor("tel:"));
    EXPECT_FALSE(promptFor("tel://"));
    EXPECT_EQ(lines, (std::vector<std::string>{"No phone number in click response.",
                                               "Empty phone number in click response.",
                                               "Empty phone number in click response."}));
}

TEST_F(ClickToCallAlertTest, AcceptingPingsFirstAndCallsOnceThePingHasEnded) {
    std::weak_ptr<ClickToCallAlert> shown;
    {
        const auto call = promptFor("tel://555-0100");
        call->show();
        shown = call;
    }
    ASSERT_FALSE(shown.expired()) << "the prompt keeps itself alive while on screen";
    EXPECT_EQ(ui::AlertStack::shared().top(), shown.lock()->alert());
    tap(*shown.lock()->alert(), 1);
    ASSERT_TRUE(waitFor([&] { return !opened.empty(); }));
    EXPECT_EQ(opened, std::vector<std::string>{"tel://555-0100"});
    EXPECT_EQ(inFlightWhenOpened, std::vector<int>{0});
    EXPECT_EQ(requestsTo(kAcquisitionPath), 1u);
    EXPECT_TRUE(shown.expired()) << "released once the alert has gone";
}

TEST_F(ClickToCallAlertTest, CancellingNeitherPingsNorCalls) {
    std::weak_ptr<ClickToCallAlert> shown;
    {
        const auto call = promptFor("tel:555-0100");
        call->show();
        shown = call;
    }
    tap(*shown.lock()->alert(), 0);
    EXPECT_TRUE(shown.expired());
    foundation::RunLoop::main().runUntilIdle(foundation::Seconds(5));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(requestsTo(kAcquisitionPath), 0u);
}

TEST_F(ClickToCallAlertTest, WithoutThePromptTheCallStartsAtOnceAfterThePing) {
    promptFor("tel:555-0100", false)->show();
    EXPECT_FALSE(ui::AlertStack::shared().top());
    ASSERT_TRUE(waitFor([&] { return !opened.empty(); }));
    EXPECT_EQ(opened, std::vector<std::string>{"tel:555-0100"});
    EXPECT_EQ(inFlightWhenOpened, std::vector<int>{0});
    EXPECT_EQ(requestsTo(kAcquisitionPath), 1u);
}

TEST_F(ClickToCallAlertTest, WithoutAnAcquisitionURLTheCallStillStarts) {
    ClickToCallAlert::create(URL::create("tel:555-0100"), false, std::nullopt)->show();
    ASSERT_TRUE(waitFor([&] { return !opened.empty(); }));
    EXPECT_TRUE(server->requests().empty());
}
