#pragma once
// Scenes in files for kortool: read whole, printed as their tree of models, composed, and made from pictures.
// Failures raise std::runtime_error with a message that names the file.

#include "Model/GCompoundModel.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct ModelDeleter {
    void operator()(GCompoundModel* model) const { model->destroyThis(); }
};
using ScenePtr = std::unique_ptr<GCompoundModel, ModelDeleter>;

bool isScene(const std::vector<unsigned char>& bytes);
ScenePtr readScene(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> encodeScene(const GCompoundModel& root);
// One line per model, indented by depth: name, size, origin, visibility, lock, composition mode, effects.
void printSceneTree(const GCompoundModel& root, std::ostream& out);
// A scene of the background picture with each object picture laid at its point (its mask from its transparency).
struct ScenePart {
    std::string path;
    POINT origin;
};
ScenePtr composeScene(const std::string& background, const std::vector<ScenePart>& objects);
// "PATH@X,Y": a picture and where it goes; nothing for anything else.
std::optional<ScenePart> parseScenePart(const std::string& text);
// A model of the picture's pixels; an object takes its mask from the transparency and its name from the file.
GCompoundModel* readPictureModel(const std::string& path, bool object);
