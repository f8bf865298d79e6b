// kortool edit end to end: a scene changed by commands, undone and redone, saved as a scene or a picture, and
// left as it was when a step fails.

#include "Host/KortoolRunner.h"
#include "PictureFiles.h"
#include "ToolFiles.h"

#include <gtest/gtest.h>

namespace {

void writePicture(const std::string& path, int width, int height, DWORD pixel) {
    GDIBImage picture(width, height);
    picture.full_fill(pixel);
    writeToolOutput(path, encodePicture(path, picture));
}

// The scene's printed tree.
std::string tree(const std::string& scene) {
    return kortool("info " + scene).out;
}

} // namespace

TEST(KortoolEdit, AppliesUndoesAndRedoesCommandsAndSaves) {
    writePicture("bg.png", 64, 48, 0xFF204060);
    writePicture("red.png", 8, 8, 0xFFFF0000);
    writePicture("blue.png", 8, 8, 0xFF0000FF);
    ASSERT_EQ(kortool("compose bg.png red.png@2,2 -o scene.kor").status, 0);

    Outcome outcome = kortool("edit scene.kor add blue.png@4,4 select red --top delete undo redo undo");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "add 'blue'  (modified)\n"
                           "select 'red' and bring it to the top  (modified)\n"
                           "delete 'red'  (modified)\n"
                           "undo  (modified)\n"
                           "redo  (modified)\n"
                           "undo  (modified)\n"
                           "scene.kor: 2 objects\n");
    EXPECT_NE(tree("scene.kor").find("\"blue\"  8 x 8 at 4,4  mode 0\n  \"red\""), std::string::npos)
        << tree("scene.kor");

    outcome = kortool("edit scene.kor -o flat.png select red command DeleteImageCommand");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    GDIBImage flat;
    readPicture("flat.png", readToolInput("flat.png", 0), flat);
    EXPECT_EQ(flat.get_pixel(5, 5), 0xFF0000FFu); // red, the selection, deleted: blue shows
    EXPECT_EQ(flat.get_pixel(2, 2), 0xFF204060u);

    // A background that leaves blue (at 4,4) outside: the question is printed and answered.
    writePicture("small.png", 3, 3, 0xFF00FF00);
    outcome = kortool("edit scene.kor -o smaller.kor background small.png");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("smaller than the one that you are currently using"), std::string::npos);
    EXPECT_NE(tree("smaller.kor").find("scene, 3 x 3\nbackground  3 x 3 at 0,0  mode 0\n  \"red\"  8 x 8 at 2,2"),
              std::string::npos)
        << tree("smaller.kor");
    EXPECT_EQ(tree("smaller.kor").find("blue"), std::string::npos);
}

TEST(KortoolEdit, AFailingStepLeavesTheSceneAsItWas) {
    writePicture("bg.png", 32, 32, 0xFF204060);
    writePicture("red.png", 4, 4, 0xFFFF0000);
    ASSERT_EQ(kortool("compose bg.png red.png@1,1 -o kept.kor").status, 0);
    const std::string before = readFile("kept.kor");
    expectRefusal("edit kept.kor select red delete delete", 1,
                  "delete: the background is selected, and it cannot be deleted");
    expectRefusal("edit kept.kor undo", 1, "undo: there is nothing to undo");
    expectRefusal("edit kept.kor select nobody", 1, "select 'nobody': the scene has no object of that name");
    expectRefusal("edit kept.kor command GString", 1, "command GString: no command of that class can be built");
    expectRefusal("edit kept.kor add absent.png@1,1", 1, "File 'absent.png' is absent");
    expectRefusal("edit kept.kor add red.png", 2, "'red.png' is no object: give IMAGE@X,Y");
    expectRefusal("edit kept.kor frob", 2, "unknown operation 'frob'");
    expectRefusal("edit kept.kor select", 2, "select needs a name");
    expectRefusal("edit bg.png undo", 1, "'bg.png' cannot be opened as a scene");
    expectRefusal("edit absent.kor undo", 1, "'absent.kor' cannot be opened as a scene");
    EXPECT_EQ(readFile("kept.kor"), before);
}
