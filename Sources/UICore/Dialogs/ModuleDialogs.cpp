#include "Dialogs/ModuleDialogs.h"

#include "win/ModuleRegistry.h"
#include "win/Modules.h"

#include <wx/panel.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

namespace {

using Registry = ModuleRegistry<const ModuleDialogs*>;

wxString templateName(UINT id) {
    return wxString::Format("dialog%u", id);
}

} // namespace

ModuleDialogs::ModuleDialogs(std::span<const DialogResource> dialogs)
    : m_dialogs(dialogs), m_module(ModuleFromAddress(this)) {
    Registry::Instance().add(this, m_module, this);
}

ModuleDialogs::~ModuleDialogs() {
    Registry::Instance().remove(this);
}

bool ModuleDialogs::LoadDialog(HMODULE module, UINT id, wxPanel& panel, wxWindow* parent) {
    const ModuleDialogs* found = Registry::Instance().find<const ModuleDialogs>(
        module, [id](const ModuleDialogs* dialogs) -> const ModuleDialogs* {
            for (const DialogResource& dialog : dialogs->m_dialogs)
                if (dialog.id == id)
                    return dialogs;
            return nullptr;
        });
    return found != nullptr && found->load(id, panel, parent);
}

bool ModuleDialogs::load(UINT id, wxPanel& panel, wxWindow* parent) const {
    if (!m_resources) {
        m_resources = std::make_unique<wxXmlResource>(wxXRC_NO_SUBCLASSING);
        m_resources->InitAllHandlers();
        for (const DialogResource& dialog : m_dialogs) {
            wxStringInputStream text(wxString::FromUTF8(dialog.xrc));
            auto document = std::make_unique<wxXmlDocument>();
            if (!document->Load(text) || document->GetRoot() == nullptr)
                continue;
            // The template becomes a resource of its own, named by its number.
            wxXmlNode* object = document->DetachRoot();
            object->DeleteAttribute("name");
            object->AddAttribute("name", templateName(dialog.id));
            auto* resource = new wxXmlNode(wxXML_ELEMENT_NODE, "resource");
            resource->AddAttribute("xmlns", "http://www.wxwidgets.org/wxxrc");
            resource->AddAttribute("version", "2.5.3.0");
            resource->AddChild(object);
            document->SetRoot(resource);
            m_resources->LoadDocument(document.release(), templateName(dialog.id));
        }
    }
    return m_resources->LoadPanel(&panel, parent, templateName(id));
}
