#pragma once
// GKorvaneDoc: the application's one document. It owns the scene's root model, the undo and redo stacks and the
// off-screen buffer, and keeps the selection and the current editor context. Every change of the scene goes
// through a command applied here.

#include "Classes/GObject.h"
#include "Classes/GPointer.h"
#include "Commands/GImageCommandStack.h"
#include "Document/GOffscreenBuffer.h"
#include "ImageFormats/ImageReaderWriterList.h"
#include "Model/GCompoundModel.h"
#include "Regions/GRegion.h"
#include "Threads/GCallbackReason.h"
#include "Threads/GCallbackReceiver.h"

#include <wx/docview.h>

#include <cstddef>

class GAbstractDIBImage;
class GEditorContext;
class GKorvaneView;
class GRegistryDWord;

class GKorvaneDoc : public wxDocument, public GObject, public GCallbackReceiver {
    G_CLASS(GKorvaneDoc)

    // The size of a new document's background.
    static constexpr SIZE DefaultModelSize{559, 421};

    // Notices, each with the document; a change of selection also gives the old and the new selected model.
    static const GCallbackReason Reason_SelectedModelChanged;
    static const GCallbackReason Reason_ContextChanged;
    static const GCallbackReason Reason_ModelLoaded;
    static const GCallbackReason Reason_ModelModified;
    struct DocumentInfo : GCallbackEvent {
        GKorvaneDoc* document;
    };
    struct SelectionInfo : DocumentInfo {
        GCompoundModel* previous;
        GCompoundModel* selected;
    };
    static void RegisterCallback(GCallbackReceiver& receiver);
    static void UnRegisterCallback(GCallbackReceiver& receiver);

    // The most memory the undo and redo stacks may hold, in MiB ("UndoMemory"); past it the oldest undo steps go.
    static GRegistryDWord& UndoMemoryLimit();

    GKorvaneDoc();
    ~GKorvaneDoc() override;

    // The manager's current document, else its first; null when there is none.
    static GKorvaneDoc* GetActiveDocument();
    // The scene view of the active document's window; null when there is none.
    static GKorvaneView* GetActiveView();
    GKorvaneView* getActiveView() const;

    GCompoundModel* getModel() const { return m_model; }
    // The selection when it lies in this document's scene, else the root.
    GCompoundModel* getSelectedModel() const;
    GCompoundModel* getWorkingModel() const { return m_workingModel.get(); }
    GEditorContext* getContext() const { return m_contextAttached ? m_context : nullptr; }
    GImageCommandStack& getUndoStack() { return m_undoStack; }
    GImageCommandStack& getRedoStack() { return m_redoStack; }
    GImageCommand* getLastCommand() const { return m_undoStack.top(); }
    bool lastCommandResult() const { return m_lastCommandResult; }

    // Takes the model as the new scene: stacks cleared, nothing selected, not modified.
    void setModel(GCompoundModel* model);
    void setSelectedModel(GCompoundModel* model);
    void setWorkingModel(GCompoundModel* model) { m_workingModel = model; }
    // Selects (by an undoable command) the model under the point, or the root when nothing is hit.
    void selectModelUnderCursor(POINT point, bool bringToTop);
    void setContext(GEditorContext* context);

    // The command life cycle: attach (the command takes its snapshot), then apply (doit). A command that does
    // nothing is destroyed; one that does clears the redo stack.
    void attachCommand(GImageCommand* command);
    bool applyLastCommand();
    bool applyCommand(GImageCommand* command);
    bool canUndo() const { return !m_undoStack.empty(); }
    bool canRedo() const { return !m_redoStack.empty(); }
    bool undo();
    bool redo();
    // Drops the oldest undo steps while the stacks hold more than the undo memory allows (the newest stays).
    void adjustUndoRedoStacks();
    // Bytes of pixels that the undo and redo stacks hold.
    std::size_t undoMemory() const;
    // Modified whenever the scene is not in the state last loaded or saved: undo and redo may lead back to it.
    void updateModifiedFlag();
    void updateAll();

    // Unsaved changes: asks whether to save them first (through the program's message box); false to stop.
    bool OnSaveModified() override;
    // Asks for a scene file name and saves under it.
    bool SaveAs() override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& path) override;
    bool OnSaveDocument(const wxString& path) override;
    bool DeleteContents() override;
    // The name is that of a scene file (".kor").
    static bool IsSceneFile(const wxString& path);
    // Reads a file into `target` with the formats of the list; false on any failure, reporting none.
    static bool ReadModel(const char* path, GAbstractDIBImage& target, ImageReaderWriterList& formats, int* index);
    // Reads a file into `target` with the formats of `list` (the scene format when null); failures are reported
    // and leave the target as it was, and a picture whose data ends early opens with a warning naming the file.
    static bool LoadModel(const char* path, GAbstractDIBImage* target, const ImageReaderWriterList* list, int* index);
    // Writes the model with the format its name selects from `list` (the scene format when null). The file is
    // written beside the target and renamed over it, so a failed save leaves the file that was there.
    static bool SaveModel(const char* path, const GCompoundModel* model, const ImageReaderWriterList* list, int* index);

    // Saves the composed picture as a JPEG file in the temporary folder and opens a new message of the desktop's
    // mail program with it attached; false (after saying why) when there is no mail program.
    bool OnFileSendMail();

    // Drawing: the current context draws, or the document draws its model. `rect` (root coordinates, null for
    // all) is the part being painted; while it is, drawModel without a rectangle of its own copies only that.
    void onDraw(HDC dc, const RECT* rect);
    // The composed scene with the selection's glow, from the off-screen buffer, within `rect` (null for all).
    void drawModel(HDC dc, const RECT* rect);
    void validateOffscreen(const GSprite& image);
    // Printing: the model composed as it prints (a blank background white), and where a picture of `image`
    // pixels lands on a page: scaled by the same factor both ways so that it fills the page in one dimension and
    // is centred in the other, the sizes compared in inches (the screen's and the printer's pixels per inch).
    static GSprite PrintableImage(const GCompoundModel& model);
    static RECT PrintRect(SIZE image, SIZE screenPPI, const RECT& page, SIZE printerPPI);
    GOffscreenBuffer& getOffscreen() { return m_offscreen; }
    const GRegion& getInvalidRegion() const { return m_invalid; }
    void modelInvalidated(GCompoundModel* model, const RECT& rect);
    // The rectangle of `model` in root coordinates, grown by the glow where the selection's glow is affected.
    RECT calculateGlobalRect(const GCompoundModel* model, const RECT& rect) const;

    void callbackReceived(GCallbackEvent& event) override;

private:
    // The selection's glow laid into the buffer within `clip`, hidden where models above it cover it.
    void highlightSelectedModel(const RECT& clip);
    // Pops the top of the undo stack, whose doit failed, and destroys it, first undoing its earlier runs.
    void discardTop();
    // The present state is the one on disk.
    void markSaved();
    void detachContext();
    void attachContext();
    void send(const GCallbackReason& reason);

    GCompoundModel* m_model = nullptr; // owned
    TGPointer<GCompoundModel> m_selectedModel;
    TGPointer<GCompoundModel> m_workingModel;
    GEditorContext* m_context = nullptr;
    bool m_contextAttached = false; // false while the context is being detached
    bool m_lastCommandResult = false;
    bool m_topDone = false;       // whether the undo stack's top has been done (not only attached)
    int m_savedDepth = 0;         // the undo stack's size when the scene was loaded or saved
    bool m_savedReachable = true; // false once that state can no longer be reached by undo and redo
    GImageCommandStack m_undoStack;
    GImageCommandStack m_redoStack;
    GOffscreenBuffer m_offscreen;
    const RECT* m_paintRect = nullptr; // the part being painted, during onDraw
    GRegion m_invalid;

    wxDECLARE_DYNAMIC_CLASS(GKorvaneDoc);
};
