#include "json/DataScanner.h"

#include <gtest/gtest.h>

#include <vector>

using json::DataScanner;

TEST(DataScannerBounds, ScansAtTheEndOrWithoutProgressReportFalse) {
    const std::vector<std::uint8_t> bytes{'a', ',', 'b'};
    DataScanner empty, spent(bytes);
    spent.setScanLocation(bytes.size());
    for (DataScanner* scanner : {&empty, &spent}) {
        std::string out = "untouched";
        double number = -1;
        EXPECT_FALSE(scanner->scanString("b", &out));
        EXPECT_FALSE(scanner->scanCharactersFromSet(DataScanner::byteSet("ab,"), &out));
        EXPECT_FALSE(scanner->scanUpToCharactersFromSet(DataScanner::byteSet("x"), &out));
        EXPECT_FALSE(scanner->scanUpToString("x", &out));
        EXPECT_FALSE(scanner->scanNumber(&number));
        EXPECT_EQ(out, "untouched");
        EXPECT_EQ(number, -1);
        EXPECT_EQ(scanner->remainingString(), "");
    }
    // Finding the string right at the cursor is no progress, so a loop over separators ends.
    DataScanner scanner(bytes);
    EXPECT_FALSE(scanner.scanUpToString("a,"));
    std::string out;
    int pieces = 0;
    while (scanner.scanUpToString(",", &out) || scanner.scanString(","))
        ASSERT_LT(++pieces, 10);
    EXPECT_EQ(scanner.remainingString(), "b");
    // Taking the same bytes again starts them over.
    scanner.setData(bytes);
    EXPECT_EQ(scanner.scanLocation(), 0u);
}
