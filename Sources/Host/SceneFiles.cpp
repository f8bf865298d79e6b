#include "SceneFiles.h"

#include "Errors/GException.h"
#include "PictureFiles.h"
#include "Scenes/ASceneReaderWriter.h"
#include "Streams/mpstream.h"
#include "ToolFiles.h"

#include <filesystem>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw std::runtime_error("'" + path + "' " + what);
}

// A model holding a picture file's pixels.
GCompoundModel* pictureModel(const std::string& path, bool object) {
    GDIBImage picture;
    readPicture(path, readToolInput(path, 0), picture);
    auto* model = new GCompoundModel(picture.get_width(), picture.get_height());
    GSprite& image = model->getModifiableImage();
    for (int y = 0; y < picture.get_height(); ++y)
        image.put_hline(picture.get_line_address(y), 0, y, picture.get_width());
    if (object)
        image.setMaskFromTransparency(1);
    model->invalidate();
    return model;
}

void printModel(const GCompoundModel& model, int depth, std::ostream& out) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ')
        << (model.getName().isEmpty() ? std::string(depth == 0 ? "background" : "(no name)")
                                      : "\"" + std::string(model.getName()) + "\"")
        << "  " << model.get_width() << " x " << model.get_height() << " at " << model.getOrigin().x << ","
        << model.getOrigin().y << (model.visible() ? "" : "  hidden") << (model.locked() ? "  locked" : "") << "  mode "
        << model.getCompositionMode().type()
        << (model.getCompositionMode().alphaPremultiplied() ? " premultiplied" : "");
    for (int i = 0; i < model.getEffectCount(); ++i)
        out << (i == 0 ? "  effects: " : ", ") << model.getEffect(i)->getMetaClass().getName()
            << (model.getEffect(i)->isOn() ? "" : " (off)");
    out << '\n';
    for (int i = 0; i < model.getChildCount(); ++i)
        printModel(*model.getChild(i), depth + 1, out);
}

} // namespace

bool isScene(const std::vector<unsigned char>& bytes) {
    impstream stream(bytes.data(), bytes.size());
    return ASceneReaderWriter().is(stream);
}

ScenePtr readScene(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (!isScene(bytes))
        fail(path, "is not a scene");
    impstream stream(bytes.data(), bytes.size());
    ScenePtr root(new GCompoundModel(0, 0));
    try {
        ASceneReaderWriter().read_image(stream, *root);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        char message[512];
        e->GetErrorMessage(message, sizeof message);
        fail(path, std::string("is a damaged scene: ") + message);
    }
    return root;
}

std::vector<unsigned char> encodeScene(const GCompoundModel& root) {
    mpstream stream;
    ASceneReaderWriter().write_image(stream, root);
    const auto* data = static_cast<const unsigned char*>(stream.data());
    return {data, data + stream.length()};
}

void printSceneTree(const GCompoundModel& root, std::ostream& out) {
    printModel(root, 0, out);
}

ScenePtr composeScene(const std::string& background, const std::vector<ScenePart>& objects) {
    ScenePtr root(pictureModel(background, false));
    for (const ScenePart& part : objects) {
        GCompoundModel* object = pictureModel(part.path, true);
        object->setOrigin(part.origin);
        object->setName(std::filesystem::path(part.path).stem().c_str());
        root->addChild(object);
    }
    return root;
}
