#pragma once
// A document for each test: its manager, a new document, objects put in by commands, and answers to the
// questions it asks.

#include "Commands/AddObjectCommand.h"
#include "Document/GKorvaneDoc.h"
#include "Document/GKorvaneDocManager.h"
#include "win/MessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class DocumentTest : public testing::Test {
protected:
    DocumentTest() : document(new GKorvaneDoc) {
        manager.AddDocument(document);
        document->OnNewDocument();
    }
    ~DocumentTest() override {
        manager.RemoveDocument(document);
        delete document;
    }

    // A w x h object of one colour at `at`, added on top (and selected) by an applied command.
    GCompoundModel* addObject(int width, int height, POINT at, DWORD pixel = 0xFF3060C0) {
        auto* object = new GCompoundModel(width, height);
        object->getModifiableImage().full_fill(pixel);
        object->invalidate();
        object->setOrigin(at);
        EXPECT_TRUE(document->applyCommand(new AddObjectCommand(object)));
        return object;
    }

    GKorvaneDocManager manager;
    GKorvaneDoc* document;
};

// Answers every message box with `answer` while it lives, and keeps the texts asked.
class MessageBoxAnswers {
public:
    explicit MessageBoxAnswers(int answer)
        : m_previous(SetMessageBoxHandler([this, answer](HWND, const char* text, const char*, UINT) {
              asked.emplace_back(text);
              return answer;
          })) {}
    ~MessageBoxAnswers() { SetMessageBoxHandler(m_previous); }
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    std::vector<std::string> asked;

private:
    MessageBoxHandler m_previous;
};
