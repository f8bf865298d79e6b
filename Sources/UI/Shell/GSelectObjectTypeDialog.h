#pragma once
// GSelectObjectTypeDialog: asks whether an inserted picture becomes an object or the background.

#include "Model/GCompoundModel.h"

#include <wx/dialog.h>

#include <functional>

class wxRadioButton;

class GSelectObjectTypeDialog : public wxDialog {
public:
    explicit GSelectObjectTypeDialog(wxWindow* parent);

    // TypeObject selects "Object", TypeBackground "Background"; anything else selects nothing.
    void setType(GCompoundModel::Type type);
    // The choice; TypeUnknown when there is none.
    GCompoundModel::Type getType() const;

    // The user's answer for a picture, preset to `preset`; TypeUnknown when cancelled. Tests (and a program
    // without windows) answer through the handler instead of the dialog.
    static GCompoundModel::Type Ask(GCompoundModel::Type preset);
    using AnswerHandler = std::function<GCompoundModel::Type(GCompoundModel::Type preset)>;
    static void SetAnswerHandler(AnswerHandler handler);

private:
    wxRadioButton* m_object;
    wxRadioButton* m_background;
};
