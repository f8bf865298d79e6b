// kortool's scene commands end to end: compose pictures into a scene, print it, render it to a picture.

#include "Host/KortoolRunner.h"
#include "PictureFiles.h"
#include "Support/FileContents.h"
#include "ToolFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

void writePicture(const std::string& path, const GDIBImage& picture) {
    writeToolOutput(path, encodePicture(path, picture));
}

} // namespace

TEST(KortoolScene, ComposesPrintsAndRendersAScene) {
    GDIBImage background(8, 6);
    background.full_fill(0xFF204060);
    writePicture("background.png", background);
    // An object whose left half is opaque red and whose right half is wholly transparent.
    GDIBImage object(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            object.set_pixel(x, y, x < 2 ? 0xFFFF0000 : 0x0000FF00);
    writePicture("object.png", object);

    Outcome outcome = kortool("compose background.png object.png@3,2 -o scene.kor");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    outcome = kortool("info scene.kor");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("scene.kor: scene, 8 x 6\nbackground  8 x 6 at 0,0  mode 0\n  \"object\"  4 x 2 at 3,2"),
              std::string::npos)
        << outcome.out;
    outcome = kortool("render scene.kor rendered.png");
    ASSERT_EQ(outcome.status, 0) << outcome.err;

    GDIBImage rendered;
    readPicture("rendered.png", readToolInput("rendered.png", 0), rendered);
    ASSERT_EQ(rendered.get_width(), 8);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool red = y >= 2 && y < 4 && x >= 3 && x < 5;
            EXPECT_EQ(rendered.get_pixel(x, y), red ? 0xFFFF0000u : 0xFF204060u) << x << "," << y;
        }
}

TEST(KortoolScene, RefusesWhatIsNoSceneAndBadObjects) {
    GDIBImage picture(2, 2);
    writePicture("picture.png", picture);
    expectRefusal("render picture.png out.png", 1, "'picture.png' is not a scene");
    expectRefusal("render", 2, "render needs a scene and an output file");
    expectRefusal("compose picture.png picture.png@x,1 -o s.kor", 2, "'picture.png@x,1' is no object");
    expectRefusal("compose picture.png picture.png@1 -o s.kor", 2, "'picture.png@1' is no object");
    expectRefusal("compose picture.png", 2, "compose needs a background picture");
    expectRefusal("compose absent.png -o s.kor", 1, "File 'absent.png' is absent");
    writeFile("broken.kor", std::string("KORSCENE\x01\x00\x00\x00\x10\x00\x00\x00", 16) + "garbage");
    expectRefusal("render broken.kor out.png", 1, "'broken.kor' is a damaged scene");
    expectRefusal("info broken.kor", 1, "'broken.kor' is a damaged scene");

    // A compose that fails leaves the scene that was there.
    writeFile("kept.kor", "a scene of before");
    expectRefusal("compose picture.png absent.png@1,1 -o kept.kor", 1, "File 'absent.png' is absent");
    expectRefusal("compose picture.png -o no/such/folder.kor", 1, "'no/such/folder.kor' cannot be written");
    EXPECT_EQ(readFile("kept.kor"), "a scene of before");
}

// Scenes of a few hundred bytes whose models would hold gigabytes: embedded run-length pictures that set none of
// their pixels, a blank child stored as its size only. Both are refused while they are read.
TEST(KortoolScene, RefusesScenesThatClaimPixelsTheirBytesDoNotHold) {
    const std::filesystem::path regressions = KORVANE_REGRESSIONS_DIR "/SceneReader";
    for (const char* name :
         {"scene-157-bytes-5x1GiB-embedded-rle-bmp.kor", "scene-353-bytes-blank-child-1GB-render.kor"}) {
        const Outcome outcome = kortool("render '" + (regressions / name).string() + "' out.png");
        EXPECT_EQ(outcome.status, 1) << name;
        EXPECT_NE(outcome.err.find("claim more than"), std::string::npos) << name << outcome.err;
        EXPECT_FALSE(std::filesystem::exists("out.png")) << name;
    }
}
