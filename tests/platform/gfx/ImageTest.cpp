#include "gfx/Image.h"
#include "base/Bundle.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace gfx {
namespace {

namespace fs = std::filesystem;

const fs::path sourceRoot = fs::path(QV_FIXTURES_DIR).parent_path().parent_path();

std::string readAll(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint8_t> bytesOf(const std::string &text) {
    return {text.begin(), text.end()};
}

TEST(Image, NamedImagesAreSharedWithOrWithoutTheExtension) {
    auto plain = Image::named("vernier");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain, Image::named("vernier.png"));
    EXPECT_EQ(plain->size(), Size({22, 38}));
    EXPECT_FALSE(Image::named("no_such_picture.png"));
    auto fresh = Image::fromBundle("vernier.png");
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, plain) << "the uncached loader reads the file again";
}

TEST(Image, LoadsFromSubdirectoriesJpegAndByScale) {
    auto tile = Image::named("MonthCalendar.bundle/Images/calendar/Month Calendar Date Tile.png");
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->size(), Size({46, 44}));
    auto guide = Image::fromBundle("guide1.jpg");
    ASSERT_TRUE(guide);
    EXPECT_EQ(guide->size(), Size({1024, 748}));
    auto cached = Image::named("guide1.jpg");
    ASSERT_TRUE(cached) << "a JPEG picture is found by its full name";
    EXPECT_EQ(cached->size(), Size({1024, 748}));
    EXPECT_EQ(Image::named("guide1.jpg"), cached);
    EXPECT_FALSE(Image::named("guide1"));

    auto arrow = Image::forScale("MonthCalendar.bundle/Images/calendar/Month Calendar Left Arrow", 1);
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->scale(), 1);
    auto sharp = Image::forScale("MonthCalendar.bundle/Images/calendar/Month Calendar Left Arrow", 2);
    ASSERT_TRUE(sharp) << "a screen of scale 2 reads the @2x file";
    EXPECT_EQ(sharp->scale(), 2);
    EXPECT_EQ(sharp->size(), arrow->size());
    EXPECT_EQ(sharp->surface().width(), 2 * arrow->surface().width());
    EXPECT_FALSE(Image::forScale("MonthCalendar.bundle/Images/calendar/Month Calendar Shadow", 2));
    auto doubled = arrow->withScale(2);
    EXPECT_EQ(doubled->size(), Size({arrow->size().w / 2, arrow->size().h / 2}));
}

TEST(Image, DamagedFilesGiveNoImage) {
    std::string png = readAll(*base::Bundle::main().pathFor("vernier.png"));
    std::string jpeg = readAll(*base::Bundle::main().pathFor("guide2.jpg"));
    const struct {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not an image", "hello, world"},
        {"PNG cut short", png.substr(0, png.size() / 2)},
        {"PNG signature only", png.substr(0, 8)},
        {"JPEG cut short", jpeg.substr(0, 200)},
        {"JPEG marker only", "\xff\xd8\xff"},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(Image::fromBytes(bytesOf(c.bytes))) << c.what;
    EXPECT_TRUE(Image::fromBytes(bytesOf(png)));
    EXPECT_FALSE(Image::fromFile("/nonexistent/picture.png"));
}

TEST(Image, WritesAPngThatReadsBack) {
    auto image = Image::named("red_01.png");
    ASSERT_TRUE(image);
    std::string path = ::testing::TempDir() + "gfx-roundtrip.png";
    ASSERT_TRUE(image->writePng(path));
    auto back = Image::fromFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->surface().pixel(80, 80), image->surface().pixel(80, 80));
    fs::remove(path);
}

// Every image of the manifest is in the bundle at its size, and every image name that the
// application's sources or bundle configuration load has a file.
TEST(BundleImages, EveryNameTheApplicationLoadsHasAFile) {
    std::ifstream manifest(sourceRoot / "tools/images/images.tsv");
    ASSERT_TRUE(manifest);
    std::string line;
    while (std::getline(manifest, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name, width, height;
        std::getline(fields, name, '\t');
        std::getline(fields, width, '\t');
        std::getline(fields, height, '\t');
        auto path = base::Bundle::main().pathFor(name);
        ASSERT_TRUE(path) << name << " is missing from the bundle";
        Surface pixels = Surface::readFile(*path);
        ASSERT_TRUE(pixels) << name;
        EXPECT_EQ(pixels.width(), std::stoi(width)) << name;
        EXPECT_EQ(pixels.height(), std::stoi(height)) << name;
    }

    // Literal file names anywhere, and names without an extension handed to an image loader.
    const std::regex literal(R"re("([^"%\n]+\.(png|jpg))")re");
    const std::regex loaded(
        R"re((?:Image::named|Image::forScale|Image::fromBundle|imageNamed\w*)\(\s*"([^"%\n]+)")re");
    const std::regex tabImage(R"re(<key>Tab_Image</key>\s*<string>([^<]+)</string>)re");
    std::vector<std::string> missing;
    auto check = [&](const std::string &name, const fs::path &where) {
        std::string file = name.find('.') == std::string::npos ? name + ".png" : name;
        if (!base::Bundle::main().pathFor(file))
            missing.push_back(name + " (" + where.string() + ")");
    };
    for (const char *folder : {"quotes", "trader", "Framework", "app", "platform/ui", "platform/host"}) {
        if (!fs::exists(sourceRoot / folder))
            continue;
        for (const auto &item : fs::recursive_directory_iterator(sourceRoot / folder)) {
            auto ext = item.path().extension();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::string text = readAll(item.path());
            for (const auto *pattern : {&literal, &loaded})
                for (std::sregex_iterator m(text.begin(), text.end(), *pattern), end; m != end; ++m)
                    check((*m)[1], item.path());
        }
    }
    for (const auto &item : fs::recursive_directory_iterator(base::Bundle::main().resourcePath())) {
        if (item.path().extension() != ".plist")
            continue;
        std::string text = readAll(item.path());
        for (std::sregex_iterator m(text.begin(), text.end(), tabImage), end; m != end; ++m)
            check((*m)[1], item.path());
    }
    EXPECT_TRUE(missing.empty()) << "images without a file: " << ::testing::PrintToString(missing);
}

} // namespace
} // namespace gfx
