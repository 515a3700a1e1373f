#include "sim/HTTPTrace.h"

#include <gtest/gtest.h>

// A response cut off part way failed for the client, whatever status it began with.
TEST(HTTPTrace, AFailureAfterAResponseBeginsIsTracedAsTheFailure) {
    net::HTTPCompletion cut;
    cut.method = "GET";
    cut.url = "http://ads.pennant.test/ad_source.php";
    cut.statusCode = 200;
    cut.failure = net::HTTPFailure::Reason::ConnectionLost;
    const auto fields = sim::HTTPTrace::fields(cut);
    EXPECT_EQ(fields.get("error").intValue(), -4);
    EXPECT_FALSE(fields.find("status"));
    EXPECT_EQ(fields.get("url").stringValue(), cut.url);
}
