#include "ads/request/AppData.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Singleton.h"
#include "tests/support/FreshPlatformContext.h"
#include "tests/support/SandboxHome.h"

using foundation::Data;
using pennant::AppData;
using testing_support::SandboxHome;

namespace {

class AppDataTest : public SandboxHome {
protected:
    // A new process on the same home, so the metadata is read again.
    const AppData& fresh() {
        testing_support::FreshPlatformContext::relaunch();
        return AppData::sharedAppData();
    }
    void writeMetadata(const std::string& body) {
        ASSERT_TRUE(foundation::FileManager::writeAtomically(
            path("iTunesMetadata.plist"),
            Data::fromString("<?xml version=\"1.0\"?><plist version=\"1.0\">" + body +
                             "</plist>")));
    }
};

} // namespace

TEST_F(AppDataTest, StoreMetadataNeedsANonEmptyDictionaryBesideDocuments) {
    EXPECT_FALSE(fresh().hasITunesMetadata());
    writeMetadata("<dict/>");
    EXPECT_FALSE(fresh().hasITunesMetadata());
    writeMetadata("<array><string>x</string></array>");
    EXPECT_FALSE(fresh().hasITunesMetadata());
    ASSERT_TRUE(foundation::FileManager::writeAtomically(path("iTunesMetadata.plist"),
                                                         Data::fromString("\x01garbage")));
    EXPECT_FALSE(fresh().hasITunesMetadata());
    writeMetadata("<dict><key>itemId</key><integer>1</integer></dict>");
    EXPECT_TRUE(fresh().hasITunesMetadata());
}

TEST_F(AppDataTest, BundleStringsComeFromTheInformationDictionary) {
    foundation::Bundle::main().setInfoDictionary(foundation::Value(
        foundation::Dictionary{{"CFBundleName", "Kessa"},
                               {"CFBundleIdentifier", "org.kessa.shaker"},
                               {"CFBundleDisplayName", foundation::Value::integer(3)}}));
    const AppData& data = AppData::sharedAppData();
    EXPECT_EQ(data.bundleName(), "Kessa");
    EXPECT_EQ(data.bundleIdentifier(), "org.kessa.shaker");
    EXPECT_FALSE(data.bundleDisplayName()) << "a display name that is not a string is absent";
    EXPECT_EQ(&data, &AppData::sharedAppData()) << "one instance per process";
}

TEST_F(AppDataTest, AFIFOInPlaceOfTheMetadataIsNoMetadataAndDoesNotBlock) {
    makeFIFO("iTunesMetadata.plist");
    EXPECT_FALSE(fresh().hasITunesMetadata());
}
