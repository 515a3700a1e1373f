#include "adserver/Catalog.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>

using adserver::Catalog;

namespace {

// A catalogue folder of the test's own making, removed afterwards.
class CatalogTest : public ::testing::Test {
protected:
    CatalogTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "catalog-XXXXXX").string();
        directory = ::mkdtemp(pattern.data()) ? pattern : "";
        EXPECT_FALSE(directory.empty());
        std::filesystem::create_directories(directory + "/static/dir");
        write("ads.json", R"({"ads":[{"id":"first","response":{"6":"url"}},
            {"id":"second","response":{"6":"call"}}, {"id":"nameless","response":{"6":"contact"},"id":7},
            {"id":"third","response":"not a dictionary"}, {"id":"flex","response":{"o":{"a":"screen"}}}],
          "suggestions":["pizza","Pizza near me",3,"pasta","p1","p2","p3","p4","p5","p6","p7","p8"]})");
    }
    ~CatalogTest() override { std::filesystem::remove_all(directory); }

    void write(const std::string& relative, const std::string& contents) const {
        std::ofstream(directory + "/" + relative, std::ios::binary) << contents;
    }
    std::shared_ptr<Catalog> load() const {
        auto catalog = Catalog::load(directory);
        EXPECT_TRUE(catalog.ok()) << (catalog.ok() ? "" : catalog.error().message);
        return catalog.ok() ? catalog.value() : nullptr;
    }

    // Runs the lookup on its own thread. A lookup stuck opening the FIFO is released by opening
    // the FIFO's other end, so a failure is reported rather than hanging the suite.
    template <typename Lookup>
    auto withoutWaitingOn(const std::string& fifo, Lookup lookup) const {
        auto result = std::async(std::launch::async, lookup);
        if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "the lookup waited for a writer to open " << fifo;
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        }
        return result.get();
    }

    std::string directory;
};

} // namespace

TEST_F(CatalogTest, BuiltFilesAreServedAfterTheCataloguesOwnAndStayInsideTheirFolder) {
    std::filesystem::create_directories(directory + "/built/video");
    std::filesystem::create_directories(directory + "/static/video");
    write("built/video/clip.mp4", "built clip");
    write("built/video/both.mp4", "built both");
    write("static/video/both.mp4", "catalogue both");
    write("secret.mp4", "outside");
    auto catalog = Catalog::load(directory, directory + "/built");
    ASSERT_TRUE(catalog.ok());
    const auto clip = catalog.value()->staticFile("video/clip.mp4");
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->contentType, "video/mp4");
    EXPECT_EQ(clip->contents.view(), "built clip");
    EXPECT_EQ(catalog.value()->staticFile("video/both.mp4")->contents.view(), "catalogue both");
    EXPECT_FALSE(catalog.value()->staticFile("../secret.mp4"));
    EXPECT_FALSE(load()->staticFile("video/clip.mp4")) << "no built folder, no built files";
}

TEST_F(CatalogTest, RefusesCataloguesWithoutUsableAds) {
    for (const char* ads :
         {"not json", R"([{"id":"a","response":{}}])", R"({"ads":[]})",
          R"({"ads":[{"id":"a"},{"response":{}}]})", R"({"ads":{"id":"a","response":{}}})"}) {
        write("ads.json", ads);
        EXPECT_FALSE(Catalog::load(directory).ok()) << ads;
    }
    // Well-formed but oversized: refused before it is read.
    write("ads.json",
          R"({"ads":[{"id":"a","response":{}}],"pad":")" + std::string(5 << 20, 'x') + "\"}");
    EXPECT_FALSE(Catalog::load(directory).ok());
    std::filesystem::remove(directory + "/ads.json");
    EXPECT_FALSE(Catalog::load(directory).ok());
}

TEST_F(CatalogTest, TestActionsPickTheirAdOthersRotateAndSuggestionsStopAtTen) {
    const auto catalog = load();
    ASSERT_TRUE(catalog);
    ASSERT_EQ(catalog->adCount(), 3u);
    EXPECT_EQ(catalog->chooseAd("call")["id"].asString(), "second");
    EXPECT_EQ(catalog->chooseAd("screen")["id"].asString(), "flex");
    EXPECT_EQ(catalog->chooseAd("second")["id"].asString(), "second"); // by its identifier
    // Chosen ads do not advance the rotation; unknown actions take their turn in it.
    std::vector<std::string_view> order;
    for (int i = 0; i < 4; ++i)
        order.push_back(
            catalog->chooseAd(i % 2 ? std::optional<std::string>("none") : std::nullopt)["id"]
                .asString());
    EXPECT_EQ(order, (std::vector<std::string_view>{"first", "second", "flex", "first"}));
    EXPECT_FALSE(catalog->findAd("third"));
    // A rotation may be told where to go on from; an unknown ad leaves it where it was.
    EXPECT_FALSE(catalog->startRotationAt("third"));
    EXPECT_EQ(catalog->chooseAd(std::nullopt)["id"].asString(), "second");
    EXPECT_TRUE(catalog->startRotationAt("flex"));
    EXPECT_EQ(catalog->chooseAd(std::nullopt)["id"].asString(), "flex");
    EXPECT_EQ(catalog->chooseAd(std::nullopt)["id"].asString(), "first");

    EXPECT_EQ(catalog->suggestionsFor("PIZ"), (std::vector<std::string>{"pizza", "Pizza near me"}));
    const auto many = catalog->suggestionsFor("p");
    ASSERT_EQ(many.size(), 10u);
    EXPECT_EQ(many.back(), "p7");
    EXPECT_TRUE(catalog->suggestionsFor("3").empty());
}

TEST_F(CatalogTest, StaticFilesCarryTheirTypeAndStayInsideTheFolder) {
    write("secret.txt", "outside");
    for (const char* name :
         {"a.png", "a.html", "a.strings", "a.bin", "README", ".hidden", "dir/x.tar.gz", "dir/.env"})
        write(std::string("static/") + name, name);
    const auto catalog = load();
    ASSERT_TRUE(catalog);
    for (const auto& [name, type] : std::initializer_list<std::pair<const char*, const char*>>{
             {"a.png", "image/png"},
             {"a.html", "text/html; charset=utf-8"},
             {"a.strings", "application/x-plist"},
             {"a.bin", "application/octet-stream"},
             {"README", "application/octet-stream"},
             {"dir/x.tar.gz", "application/octet-stream"}}) {
        const auto file = catalog->staticFile(name);
        ASSERT_TRUE(file) << name;
        EXPECT_EQ(file->contentType, type);
        EXPECT_EQ(file->contents.view(), name);
    }
    // Each of these names a real file (or folder) once the path is resolved.
    for (const std::string& unsafe : std::initializer_list<std::string>{
             ".hidden", "dir/.env", "../secret.txt", "dir/../a.png", "./a.png", "dir//x.tar.gz",
             "/a.png", "dir/", "dir", std::string("a.png\0x", 7), ""})
        EXPECT_FALSE(catalog->staticFile(unsafe)) << unsafe;
    std::filesystem::resize_file(directory + "/static/a.bin", (8 << 20) + 1);
    EXPECT_FALSE(catalog->staticFile("a.bin"));
}

TEST_F(CatalogTest, FifosAreRefusedWithoutWaitingForAWriter) {
    const std::string fifo = directory + "/static/pipe.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto catalog = load();
    ASSERT_TRUE(catalog);
    EXPECT_FALSE(
        withoutWaitingOn(fifo, [&] { return catalog->staticFile("pipe.png").has_value(); }));

    const std::string ads = directory + "/ads.json";
    std::filesystem::remove(ads);
    ASSERT_EQ(::mkfifo(ads.c_str(), 0600), 0);
    EXPECT_FALSE(withoutWaitingOn(ads, [&] { return Catalog::load(directory).ok(); }));
}
