#include "platform/foundation/PropertyListBounds.h"
#include "tests/support/BinaryPropertyList.h"

#include <gtest/gtest.h>

using foundation::PropertyListBounds;
using testing_support::binaryChain;
using testing_support::binaryPropertyList;

namespace {

bool xmlWithin(std::string_view text, int depth) {
    return PropertyListBounds::checkXML(text, depth).ok();
}

bool binaryWithin(const std::string& bytes, int depth, std::size_t values = 1000) {
    return PropertyListBounds::checkBinary(bytes, depth, values).ok();
}

} // namespace

TEST(PropertyListBounds, XMLCountsOnlyRealElements) {
    const std::string doctype =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC "
        "\"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";
    EXPECT_TRUE(xmlWithin(
        doctype + "<plist version=\"1.0\"><array><true/><string>a</string></array></plist>", 3));
    EXPECT_FALSE(xmlWithin(
        doctype + "<plist version=\"1.0\"><array><true/><string>a</string></array></plist>", 2));
    EXPECT_TRUE(xmlWithin("<plist><!-- <array><array><array> --><array/></plist>", 1));
    EXPECT_TRUE(xmlWithin("<plist><string><![CDATA[<array><array>]]></string></plist>", 2));
    EXPECT_TRUE(xmlWithin("<plist>\n<array >\n</array\n>\n</plist>", 2));
}

TEST(PropertyListBounds, XMLItCannotVouchForIsRefused) {
    for (const std::string& doubtful :
         {std::string("<plist><!-- never closed <array>"), std::string("<plist><![CDATA[ <array>"),
          std::string("<!DOCTYPE plist [ <!ENTITY a \"<array>\"> ]><plist/>"),
          std::string("<?xml <array> ?><plist/>"), std::string("<plist><array></dict></plist>"),
          std::string("<plist></plist></plist>"),
          std::string("<plist><array x=\"/>\"><array/></plist>"),
          std::string("<plist><array<array>"), std::string("<plist"), std::string("<plist>< >")})
        EXPECT_FALSE(xmlWithin(doubtful, 8)) << doubtful;
}

TEST(PropertyListBounds, BinaryPathsAreMeasuredThroughSharedObjects) {
    EXPECT_TRUE(binaryWithin(binaryChain(2), 3));
    EXPECT_FALSE(binaryWithin(binaryChain(3), 3));
    // Object 2 is first met two levels down, then again three levels down through object 1.
    const std::string shared = binaryPropertyList(4, [](std::uint32_t i) {
        const std::vector<std::vector<std::uint32_t>> refs{{2, 1}, {2}, {3}, {}};
        return refs[i];
    });
    EXPECT_TRUE(binaryWithin(shared, 4));
    EXPECT_FALSE(binaryWithin(shared, 3));
    // Values are counted as the parser expands them: 1 + 2 + ... + 512 from ten objects.
    EXPECT_TRUE(binaryWithin(binaryChain(9, 2), 16, 1023));
    EXPECT_FALSE(binaryWithin(binaryChain(10, 2), 16, 1023));
}

TEST(PropertyListBounds, BinaryCyclesAndDanglingReferencesAreRefused) {
    EXPECT_FALSE(binaryWithin(
        binaryPropertyList(1, [](std::uint32_t) { return std::vector<std::uint32_t>{0}; }), 8));
    EXPECT_FALSE(binaryWithin(
        binaryPropertyList(
            2, [](std::uint32_t i) { return std::vector<std::uint32_t>{i == 0 ? 1u : 0u}; }),
        8));
    EXPECT_FALSE(binaryWithin(binaryPropertyList(2,
                                                 [](std::uint32_t i) {
                                                     return i == 0 ? std::vector<std::uint32_t>{7}
                                                                   : std::vector<std::uint32_t>{};
                                                 }),
                              8));
    std::string truncated = binaryChain(3);
    EXPECT_FALSE(binaryWithin(truncated.substr(0, truncated.size() - 1), 8));
    EXPECT_FALSE(binaryWithin("bplist00", 8));
    std::string badTrailer = binaryChain(3);
    badTrailer[badTrailer.size() - 26] = 9; // offsets nine bytes wide
    EXPECT_FALSE(binaryWithin(badTrailer, 8));
}
