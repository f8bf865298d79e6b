// What the window tests share: the program's main window, document and view, and a person's gestures on them (menu
// commands, clicks and drops at scene points), with pictures written for the eye.

#pragma once

#include "Model/GCompoundModel.h"
#include "win/Win32Types.h"

#include <wx/dataobj.h>
#include <wx/frame.h>

#include <string>
#include <vector>

class GKorvaneDoc;
class GKorvaneView;

// The event sounds the program played (the test program records them instead of playing them).
const std::vector<std::string>& PlayedSounds();

namespace shelltest {

// A picture file of one colour.
void writePicture(const char* path, int width, int height, DWORD pixel);

wxFrame* frame();
GKorvaneDoc* document();
GKorvaneView* view();

// The menu id of a context, by its class name.
int menuIdOf(const char* className);

// The menu command as the menu bar or a key sends it to the main window.
void command(int id);
void command(const char* className);
bool enabled(const char* className);

// A click of the left button at a point of the scene.
void click(POINT model);

bool drop(POINT model, const wxDataObject& data);

// Opens the file as the document, dropping the present one without asking.
void open(const char* path);

// The names of the scene's objects, bottom first.
std::vector<std::string> childNames();

// Answers the question of a picture's use while it lives.
class AnswerPictureType {
public:
    explicit AnswerPictureType(GCompoundModel::Type answer);
    ~AnswerPictureType();
};

// A picture file of one colour dropped from the file manager as an object.
bool dropPictureFile(const char* name, int width, int height, DWORD pixel, POINT at);

// The main window as the screen shows it, written to the screenshots folder.
void saveScreenshot(const char* name);

} // namespace shelltest
