#include "ads/request/Localizer.h"
#include "ads/request/Endpoints.h"
#include "adserver/AdServer.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Singleton.h"
#include "platform/net/HostMap.h"
#include "tests/support/FreshPlatformContext.h"
#include "tests/support/SandboxHome.h"

using foundation::FileManager;
using pennant::Localizer;
using testing_support::SandboxHome;

namespace {

// The localizer against the real ad server on loopback.
class LocalizerTest : public SandboxHome {
protected:
    void SetUp() override {
        SandboxHome::SetUp();
        serve(adserver::AdServer::Options{});
    }
    void serve(const adserver::AdServer::Options& options) {
        if (server)
            server->stop();
        server = std::make_unique<adserver::AdServer>(options);
        ASSERT_TRUE(server->start());
        net::HostMap::shared().map("static.pennant.test", "127.0.0.1", server->port());
    }
    // The shipped catalogue with a strings table of our own for the language.
    void serveTable(const std::string& language, const std::string& table) {
        const auto catalog = home.string() + "-catalog";
        std::filesystem::remove_all(catalog);
        std::filesystem::copy(adserver::AdServer::defaultCatalogDirectory(), catalog,
                              std::filesystem::copy_options::recursive);
        ASSERT_TRUE(FileManager::writeAtomically(catalog + "/static/phone/i18n/20091119/" +
                                                     language + ".strings",
                                                 foundation::Data::fromString(table)));
        adserver::AdServer::Options options;
        options.catalogDirectory = catalog;
        serve(options);
    }
    void TearDown() override {
        server->stop();
        net::HostMap::shared().clear();
        std::filesystem::remove_all(home.string() + "-catalog");
        SandboxHome::TearDown();
    }
    // A new process on the same home: the singleton is made again and reads the defaults again.
    Localizer& launch(const std::string& language) {
        testing_support::FreshPlatformContext::relaunch();
        net::HostMap::shared().map("static.pennant.test", "127.0.0.1", server->port());
        foundation::RunLoop::main().setClock(clock);
        setLanguage(language);
        return Localizer::sharedLocalizer();
    }
    void download(Localizer& localizer) {
        const auto before = server->journal().entries().size();
        localizer.downloadResourcesIfNecessary();
        foundation::RunLoop::main().runUntil(
            [&] { return server->journal().entries().size() > before; }, foundation::Seconds(5));
        foundation::RunLoop::main().runUntilIdle(foundation::Seconds(1));
    }
    std::size_t requestsFor(const std::string& pathPart) const {
        std::size_t count = 0;
        for (const auto& entry : server->journal().entries())
            count += entry.path.find(pathPart) != std::string::npos;
        return count;
    }
    std::unique_ptr<adserver::AdServer> server;
};

// Nested far deeper than any parser's stack allows when it recurses per level.
std::string deeplyNestedTable() {
    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Cancel</key>";
    for (int i = 0; i < 1'000'000; ++i)
        xml += "<array>";
    return xml;
}

const std::string kTables = "Documents/pennant/localization_cache/20091119/";

} // namespace

TEST_F(LocalizerTest, FirstLaunchDownloadsButLookupsWaitForTheNextLaunch) {
    auto& localizer = launch("fr");
    EXPECT_EQ(localizer.preferredLanguage(), "fr");
    EXPECT_EQ(localizer.currentLocale(), "fr_CA");
    EXPECT_EQ(localizer.localizedStringForKey("Cancel"), "Cancel");
    download(localizer);
    const auto file = path("Documents/pennant/localization_cache/20091119/fr.strings");
    ASSERT_TRUE(FileManager::fileExists(file));
    EXPECT_EQ(localizer.localizedStringForKey("Cancel"), "Cancel") << "loaded once per process";
    auto& relaunched = launch("fr");
    EXPECT_EQ(relaunched.localizedStringForKey("Cancel"), "Annuler");
    EXPECT_EQ(relaunched.localizedStringForKey("No such key"), "No such key");
    download(relaunched);
    EXPECT_EQ(requestsFor("/fr.strings"), 1u) << "a cached language is not fetched again";
}

TEST_F(LocalizerTest, UnknownLanguageLeavesAnEmptyFileAndIsNotAskedAgain) {
    auto& localizer = launch("xx");
    download(localizer);
    const auto file = path("Documents/pennant/localization_cache/20091119/xx.strings");
    ASSERT_TRUE(FileManager::fileExists(file));
    EXPECT_TRUE(FileManager::contentsAtPath(file)->empty());
    auto& relaunched = launch("xx");
    download(relaunched);
    EXPECT_EQ(requestsFor("/xx.strings"), 1u);
    EXPECT_EQ(relaunched.localizedStringForKey("Ok"), "Ok");
}

TEST_F(LocalizerTest, EmptyTextsFallBackToTheKeyAndCorruptTablesToNothing) {
    const std::string dir = path("Documents/pennant/localization_cache/20091119");
    ASSERT_TRUE(FileManager::createDirectory(dir));
    ASSERT_TRUE(FileManager::writeAtomically(
        dir + "/en.strings", foundation::Data::fromString("\"Ok\" = \"\";\n\"Add\" = \"Plus\";")));
    auto& localizer = launch("en");
    EXPECT_EQ(localizer.localizedStringForKey("Ok"), "Ok");
    EXPECT_EQ(localizer.localizedStringForKey("Add"), "Plus");
    ASSERT_TRUE(FileManager::writeAtomically(
        dir + "/en.strings", foundation::Data::fromString("<plist><array/></plist>")));
    EXPECT_EQ(launch("en").localizedStringForKey("Add"), "Add");
}

TEST_F(LocalizerTest, LanguageCodesAreEncodedInTheURLAndRefusedAsUnsafeFileNames) {
    auto& localizer = launch("zh Hant");
    download(localizer);
    ASSERT_GE(server->journal().entries().size(), 1u);
    EXPECT_EQ(pennant::Endpoints::stringsURL("zh Hant"),
              "http://static.pennant.test/static/phone/i18n/20091119/zh%20Hant.strings");
    EXPECT_EQ(server->journal().entries().back().path,
              "/static/phone/i18n/20091119/zh Hant.strings");
    EXPECT_TRUE(FileManager::fileExists(
        path("Documents/pennant/localization_cache/20091119/zh Hant.strings")));
    auto& hostile = launch("../../../Library/x");
    EXPECT_FALSE(hostile.stringsPathForLanguage("../../../Library/x"));
    const auto before = server->journal().entries().size();
    hostile.downloadResourcesIfNecessary();
    foundation::RunLoop::main().runUntilIdle(foundation::Seconds(1));
    EXPECT_EQ(server->journal().entries().size(), before);
    EXPECT_FALSE(FileManager::fileExists(path("Library/x.strings")));
}

TEST_F(LocalizerTest, DownloadedTablesThatDoNotReadAreNotKept) {
    for (const std::string& bad : {deeplyNestedTable(), std::string("\"Cancel\" = ")}) {
        serveTable("de", bad);
        download(launch("de"));
        EXPECT_FALSE(FileManager::fileExists(path(kTables + "de.strings")));
        auto& relaunched = launch("de");
        EXPECT_EQ(relaunched.localizedStringForKey("Cancel"), "Cancel");
        download(relaunched);
        EXPECT_EQ(requestsFor("/de.strings"), 2u) << "asked again on the next launch";
    }
}

TEST_F(LocalizerTest, StoredTablesThatDoNotReadAreRemovedAndFetchedAgain) {
    ASSERT_TRUE(FileManager::createDirectory(path(kTables)));
    ASSERT_TRUE(FileManager::writeAtomically(path(kTables + "fr.strings"),
                                             foundation::Data::fromString(deeplyNestedTable())));
    EXPECT_EQ(launch("fr").localizedStringForKey("Cancel"), "Cancel");
    EXPECT_FALSE(FileManager::fileExists(path(kTables + "fr.strings")));
    makeFIFO(kTables + "fr.strings");
    EXPECT_EQ(launch("fr").localizedStringForKey("Cancel"), "Cancel");
    EXPECT_FALSE(FileManager::fileExists(path(kTables + "fr.strings")));
    download(launch("fr"));
    EXPECT_EQ(launch("fr").localizedStringForKey("Cancel"), "Annuler");
}

TEST_F(LocalizerTest, ALinkOutOfTheHomeIsNeverWrittenThrough) {
    linkOutside("Documents/pennant");
    download(launch("fr"));
    EXPECT_TRUE(outsideIsEmpty());
    download(launch("xx"));
    EXPECT_TRUE(outsideIsEmpty()) << "nor the empty file of an unknown language";
}

TEST_F(LocalizerTest, FirstTouchedBeforeTheHomeIsSetItCachesOnceThereIsOne) {
    EXPECT_FALSE(foundation::Sandbox::current().setHome(""));
    auto& localizer = launch("fr");
    EXPECT_EQ(localizer.cacheDirectory(), "");
    ASSERT_TRUE(foundation::Sandbox::current().setHome(home.string()));
    EXPECT_EQ(localizer.cacheDirectory(), path("Documents/pennant/localization_cache/20091119"));
    download(localizer);
    EXPECT_EQ(launch("fr").localizedStringForKey("Cancel"), "Annuler");
}

TEST_F(LocalizerTest, ADownloadStillRunningWhenTheProcessEndsIsCancelledWhileTheClientLives) {
    adserver::FaultPlan::Rule slow;
    slow.path = "/static/phone/i18n/*";
    slow.kind = adserver::FaultPlan::Kind::Delay;
    slow.delaySeconds = 1;
    ASSERT_TRUE(server->faults().add(slow));
    Localizer::sharedLocalizer().downloadResourcesIfNecessary();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return requestsFor("/i18n/") > 0; },
                                                     foundation::Seconds(5)));
    // Tearing the context down cancels the download; the HTTP client must still be there.
    testing_support::FreshPlatformContext::relaunch();
}
