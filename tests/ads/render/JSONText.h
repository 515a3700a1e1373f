#pragma once

#include "platform/foundation/Value.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <string_view>

namespace testing_support {

// Values written as the JSON an ad response would carry, so tables read like the wire.
class JSONText {
public:
    static foundation::Value decode(std::string_view text) {
        auto value = json::JSONDeserializer().deserialize(text);
        EXPECT_TRUE(value.ok()) << text;
        return value.valueOr({});
    }
};

} // namespace testing_support
