#include "Scenes/ASceneReaderWriter.h"

#include "Classes/GClassBoilerplate.h"
#include "Errors/GLibraryExceptions.h"
#include "IO/GCompressionIO.h"
#include "IO/GMemoryIO.h"
#include "Model/GCompoundModel.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

G_IMPLEMENT_CLASS(ASceneReaderWriter, GDIBReaderWriter)

namespace {

constexpr BYTE Magic[8] = {'K', 'O', 'R', 'S', 'C', 'E', 'N', 'E'};
constexpr DWORD Version = 1;
// zlib's fastest level: scenes are mostly pixels, which the higher levels shrink little more at several times
// the cost.
constexpr int SceneCompressionLevel = 1;

using ModelPtr = std::unique_ptr<GCompoundModel, void (*)(GCompoundModel*)>;

ModelPtr noModel() {
    return {nullptr, [](GCompoundModel* model) {
                if (model != nullptr)
                    model->destroyThis();
            }};
}

// The deflated object stream of one pointer to the model.
std::vector<BYTE> packed(const GCompoundModel& model) {
    auto* memory = new GMemoryIO;
    memory->open(0);
    auto* compression = new GCompressionIO(memory);
    compression->compression_level(SceneCompressionLevel);
    opstream out(compression);
    out.writePointer(&model);
    out.flush();
    const auto* data = static_cast<const BYTE*>(memory->buffer());
    return std::vector<BYTE>(data, data + memory->length());
}

// The scene's root model, read whole; a damaged scene raises its error with nothing kept.
ModelPtr unpacked(std::vector<BYTE>& bytes) {
    auto* memory = new GMemoryIO;
    memory->open(bytes.data(), bytes.size(), GIO::ReadOnly);
    ipstream in(new GCompressionIO(memory));
    in.countBytesForPixels(bytes.size());
    ModelPtr root = noModel();
    try {
        root.reset(in.readPointer<GCompoundModel>());
    } catch (...) {
        in.destroyReadObjects();
        throw;
    }
    if (!root)
        throw new InvalidFileFormat_Exception("The scene holds no model");
    return root;
}

// The target becomes the scene's root: the root's own attributes are copied and its children move over rather
// than being copied, so that opening a scene does not hold it twice.
void takeTree(GCompoundModel& target, GCompoundModel& root) {
    target.assignAttributes(root);
    target.deleteAllChilds();
    for (int i = root.getChildCount() - 1; i >= 0; --i)
        target.addChildAt(0, root.removeChildAt(i));
}

ModelPtr readScene(ipstream& stream) {
    BYTE magic[sizeof Magic];
    if (stream.readBytes(magic, sizeof magic) != sizeof magic || !std::equal(magic, magic + sizeof magic, Magic))
        throw new InvalidFileFormat_Exception();
    const DWORD version = stream.readDWord();
    if (version != Version)
        throw new InvalidFileFormat_Exception(GString::Format("Unsupported scene version %u", version));
    std::vector<BYTE> bytes = stream.readBlock(stream.readDWord());
    return unpacked(bytes);
}

} // namespace

unsigned ASceneReaderWriter::can_do() const {
    return CanRead | CanWrite;
}

void ASceneReaderWriter::file_name_filter(ImageFileFilter& filter) const {
    filter = "Korvane Scene (*.kor)|*.kor|";
}

bool ASceneReaderWriter::is(ipstream& stream) {
    BYTE magic[sizeof Magic];
    return stream.readBytes(magic, sizeof magic) == sizeof magic && std::equal(magic, magic + sizeof magic, Magic);
}

bool ASceneReaderWriter::read_info(ipstream& stream, FileImageInfo& info) {
    const ModelPtr root = readScene(stream);
    info.width = root->get_width();
    info.height = root->get_height();
    return true;
}

bool ASceneReaderWriter::read_image(ipstream& stream, GAbstractDIBImage& image) {
    ModelPtr root = readScene(stream);
    if (auto* model = static_cast<GCompoundModel*>(image.cast_to_(typeid(GCompoundModel)))) {
        takeTree(*model, *root);
        return true;
    }
    const GSprite& composed = root->getCombinedImage();
    image.resize(composed.get_width(), composed.get_height());
    for (int y = 0; y < composed.get_height(); ++y)
        image.put_hline(composed.get_line_address(y), 0, y, composed.get_width());
    return true;
}

bool ASceneReaderWriter::write_image(opstream& stream, const GAbstractDIBImage& image) {
    const auto* model = static_cast<const GCompoundModel*>(image.cast_to_(typeid(GCompoundModel)));
    std::unique_ptr<GCompoundModel> picture;
    if (model == nullptr) {
        picture = std::make_unique<GCompoundModel>(image.get_width(), image.get_height());
        GSprite& pixels = picture->getModifiableImage();
        for (int y = 0; y < image.get_height(); ++y)
            image.get_hline(pixels.get_line_address_to_modify(y), 0, y, image.get_width());
        picture->invalidate();
        model = picture.get();
    }
    const std::vector<BYTE> bytes = packed(*model);
    stream.writeBytes(Magic, sizeof Magic);
    stream.writeDWord(Version);
    stream.writeDWord(static_cast<DWORD>(bytes.size()));
    stream.writeBytes(bytes.data(), bytes.size());
    return true;
}
