#include "EditCommands.h"

#include "Commands/DeleteImageCommand.h"
#include "Commands/ReplaceBackgroundCommand.h"
#include "Commands/SelectImageCommand.h"
#include "Document/GKorvaneDoc.h"
#include "Document/GKorvaneDocManager.h"
#include "SceneFiles.h"
#include "win/MessageBox.h"

#include <wx/init.h>

#include <functional>
#include <map>
#include <stdexcept>

namespace {

using Arguments = std::vector<std::string>;

// The document being edited. Its questions go to the output and are answered OK, as the command line asked for
// the step; its notices of failed opens and saves are left to the step's own error.
class EditSession {
public:
    explicit EditSession(std::ostream& out)
        : m_out(out), m_document(new GKorvaneDoc),
          m_previous(SetMessageBoxHandler([this](HWND, const char* text, const char*, UINT type) {
              if ((type & MB_TYPEMASK) != MB_OK)
                  m_out << "  " << text << " (answered OK)\n";
              return IDOK;
          })) {
        m_manager.AddDocument(m_document);
    }
    ~EditSession() {
        SetMessageBoxHandler(m_previous);
        m_manager.RemoveDocument(m_document);
        delete m_document;
    }
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    GKorvaneDoc& document() { return *m_document; }
    std::ostream& out() { return m_out; }

private:
    wxInitializer m_framework;
    std::ostream& m_out;
    GKorvaneDocManager m_manager;
    GKorvaneDoc* m_document;
    MessageBoxHandler m_previous;
};

[[noreturn]] void stepFailed(const std::string& step, const std::string& why) {
    throw std::runtime_error(step + ": " + why);
}

// The topmost model of the tree with the name.
GCompoundModel* findByName(GCompoundModel& model, const std::string& name) {
    for (int i = model.getChildCount() - 1; i >= 0; --i)
        if (GCompoundModel* found = findByName(*model.getChild(i), name))
            return found;
    return name == static_cast<const char*>(model.getName()) ? &model : nullptr;
}

std::string nameOf(const GCompoundModel* model) {
    return model->isBackground() ? "the background" : "'" + std::string(model->getName()) + "'";
}

// One operation at `at`, which moves past it.
using Step = std::function<std::string(EditSession&, const Arguments&, std::size_t&)>;

std::string needs(const Arguments& args, std::size_t& at, const std::string& what) {
    if (at >= args.size())
        throw std::invalid_argument(args[at - 1] + " needs " + what);
    return args[at++];
}

std::string apply(EditSession& session, GImageCommand* command, const std::string& step) {
    if (!session.document().applyCommand(command))
        stepFailed(step, "the command changed nothing");
    return step;
}

const std::map<std::string, Step>& steps() {
    static const std::map<std::string, Step> table{
        {"add",
         [](EditSession& session, const Arguments& args, std::size_t& at) {
             const std::string text = needs(args, at, "IMAGE@X,Y");
             const std::optional<ScenePart> part = parseScenePart(text);
             if (!part)
                 throw std::invalid_argument("'" + text + "' is no object: give IMAGE@X,Y");
             GCompoundModel* object = readPictureModel(part->path, true);
             object->setOrigin(part->origin);
             return apply(session, new AddObjectCommand(object), "add " + nameOf(object));
         }},
        {"select",
         [](EditSession& session, const Arguments& args, std::size_t& at) {
             const std::string name = needs(args, at, "a name");
             const bool top = at < args.size() && args[at] == "--top";
             at += top ? 1 : 0;
             GCompoundModel* model = findByName(*session.document().getModel(), name);
             if (model == nullptr || model->getParent() == nullptr)
                 stepFailed("select '" + name + "'", "the scene has no object of that name");
             return apply(session, new SelectImageCommand(model, top),
                          "select " + nameOf(model) + (top ? " and bring it to the top" : ""));
         }},
        {"delete",
         [](EditSession& session, const Arguments&, std::size_t&) {
             const GCompoundModel* selected = session.document().getSelectedModel();
             if (selected->getParent() == nullptr)
                 stepFailed("delete", "the background is selected, and it cannot be deleted");
             return apply(session, new DeleteImageCommand, "delete " + nameOf(selected));
         }},
        {"background",
         [](EditSession& session, const Arguments& args, std::size_t& at) {
             const std::string path = needs(args, at, "an image");
             return apply(session, new ReplaceBackgroundCommand(readPictureModel(path, false)),
                          "background '" + path + "'");
         }},
        {"undo",
         [](EditSession& session, const Arguments&, std::size_t&) {
             if (!session.document().undo())
                 stepFailed("undo", "there is nothing to undo");
             return std::string("undo");
         }},
        {"redo",
         [](EditSession& session, const Arguments&, std::size_t&) {
             if (!session.document().redo())
                 stepFailed("redo", "there is nothing to redo");
             return std::string("redo");
         }},
        {"command",
         [](EditSession& session, const Arguments& args, std::size_t& at) {
             const std::string name = needs(args, at, "a class name");
             GImageCommand* command = BuildObjectAs<GImageCommand>(GMetaClass::FindByName(name.c_str()));
             if (command == nullptr)
                 stepFailed("command " + name, "no command of that class can be built");
             return apply(session, command, "command " + name);
         }},
    };
    return table;
}

// Saves the scene, or its composed picture when the name is not a scene's.
void save(GKorvaneDoc& document, const std::string& path) {
    ImageReaderWriterList scenes;
    GKorvaneDocManager::GetReaderWriterList(false, GKorvaneDocManager::FileTypeScene, scenes);
    if (GDIBReaderWriter::GetWriter(path.c_str(), scenes) != nullptr) {
        if (!document.OnSaveDocument(path))
            throw std::runtime_error("'" + path + "' cannot be written");
        return;
    }
    ImageReaderWriterList pictures;
    GKorvaneDocManager::GetReaderWriterList(false, GKorvaneDocManager::FileTypeImages, pictures);
    if (!GKorvaneDoc::SaveModel(path.c_str(), document.getModel(), &pictures, nullptr))
        throw std::runtime_error("'" + path + "' cannot be written");
}

} // namespace

int EditCommand(const Arguments& args, std::ostream& out) {
    if (args.empty())
        throw std::invalid_argument("edit needs a scene and operations");
    std::string output = args[0];
    Arguments operations(args.begin() + 1, args.end());
    if (operations.size() >= 2 && operations[0] == "-o") {
        output = operations[1];
        operations.erase(operations.begin(), operations.begin() + 2);
    }
    EditSession session(out);
    GKorvaneDoc& document = session.document();
    if (!GKorvaneDoc::IsSceneFile(args[0]) || !document.OnOpenDocument(args[0]))
        throw std::runtime_error("'" + args[0] + "' cannot be opened as a scene");
    for (std::size_t at = 0; at < operations.size();) {
        const auto step = steps().find(operations[at++]);
        if (step == steps().end())
            throw std::invalid_argument("unknown operation '" + operations[at - 1] + "'");
        const std::string done = step->second(session, operations, at);
        out << done << (document.IsModified() ? "  (modified)" : "  (unmodified)") << '\n';
    }
    save(document, output);
    out << output << ": " << document.getModel()->getChildCount() << " objects\n";
    return 0;
}
