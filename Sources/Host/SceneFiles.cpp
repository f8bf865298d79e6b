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

GCompoundModel* readPictureModel(const std::string& path, bool object) {
    GDIBImage picture;
    readPicture(path, readToolInput(path, 0), picture);
    auto* model = new GCompoundModel(picture.get_width(), picture.get_height());
    GSprite& image = model->getModifiableImage();
    for (int y = 0; y < picture.get_height(); ++y)
        image.put_hline(picture.get_line_address(y), 0, y, picture.get_width());
    if (object) {
        image.setMaskFromTransparency(1);
        model->setName(std::filesystem::path(path).stem().c_str());
    }
    model->invalidate();
    return model;
}

std::optional<ScenePart> parseScenePart(const std::string& text) {
    const std::size_t at = text.rfind('@');
    const std::size_t comma = at == std::string::npos ? std::string::npos : text.find(',', at);
    if (at == std::string::npos || at == 0 || comma == std::string::npos)
        return std::nullopt;
    const std::optional<long> x = parseSigned(text.substr(at + 1, comma - at - 1));
    const std::optional<long> y = parseSigned(text.substr(comma + 1));
    if (!x || !y)
        return std::nullopt;
    return ScenePart{text.substr(0, at), POINT{static_cast<LONG>(*x), static_cast<LONG>(*y)}};
}

ScenePtr composeScene(const std::string& background, const std::vector<ScenePart>& objects) {
    ScenePtr root(readPictureModel(background, false));
    for (const ScenePart& part : objects) {
        GCompoundModel* object = readPictureModel(part.path, true);
        object->setOrigin(part.origin);
        root->addChild(object);
    }
    return root;
}
