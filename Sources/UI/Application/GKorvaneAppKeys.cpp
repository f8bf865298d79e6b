// GKorvaneApp: shortcut keys, their names and the accelerators made of them.

#include "Application/GKorvaneApp.h"

#include "win/Keyboard.h"

#include <wx/accel.h>

namespace {

// The keyboard layout's name of a virtual key.
GString keyName(UINT virtualKey, bool extended) {
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    const LONG lParam = static_cast<LONG>(scan << 16 | (extended ? 1u << 24 : 0u));
    char name[17] = {};
    GetKeyNameTextA(lParam, name, sizeof name);
    return name;
}

// The framework's key code of a virtual key: letters, digits and the named keys it knows.
int frameworkKey(unsigned vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return static_cast<int>(vk);
    if (vk >= VK_F1 && vk <= VK_F24)
        return WXK_F1 + static_cast<int>(vk - VK_F1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
        return WXK_NUMPAD0 + static_cast<int>(vk - VK_NUMPAD0);
    switch (vk) {
    case VK_BACK:
        return WXK_BACK;
    case VK_TAB:
        return WXK_TAB;
    case VK_RETURN:
        return WXK_RETURN;
    case VK_ESCAPE:
        return WXK_ESCAPE;
    case VK_SPACE:
        return WXK_SPACE;
    case VK_PRIOR:
        return WXK_PAGEUP;
    case VK_NEXT:
        return WXK_PAGEDOWN;
    case VK_END:
        return WXK_END;
    case VK_HOME:
        return WXK_HOME;
    case VK_LEFT:
        return WXK_LEFT;
    case VK_UP:
        return WXK_UP;
    case VK_RIGHT:
        return WXK_RIGHT;
    case VK_DOWN:
        return WXK_DOWN;
    case VK_INSERT:
        return WXK_INSERT;
    case VK_DELETE:
        return WXK_DELETE;
    default:
        return 0;
    }
}

} // namespace

bool GKorvaneApp::getShortcutKeys(const GMetaClass* meta, std::vector<unsigned short>& keys) const {
    keys.clear();
    const auto found = m_shortcuts.find(meta);
    if (found == m_shortcuts.end())
        return false;
    keys = found->second;
    return true;
}

void GKorvaneApp::setShortcutKeys(const GMetaClass* meta, const std::vector<unsigned short>& keys) {
    m_shortcuts[meta] = keys;
    shortcutsChanged();
}

void GKorvaneApp::shortcutsChanged() {
    m_acceleratorEntries.reset();
    m_accelerators.reset();
}

const std::vector<wxAcceleratorEntry>& GKorvaneApp::acceleratorEntries() const {
    if (m_acceleratorEntries)
        return *m_acceleratorEntries;
    std::vector<wxAcceleratorEntry>& entries = m_acceleratorEntries.emplace();
    for (const auto& [meta, keys] : m_shortcuts) {
        const GEditorContext* context = findContextByClass(meta);
        if (context == nullptr)
            continue;
        for (const unsigned short code : keys) {
            const int key = frameworkKey(code & 0xFF);
            if (key == 0)
                continue;
            const int flags = ((code & KeyControl) != 0 ? wxACCEL_CTRL : 0) |
                              ((code & KeyShift) != 0 ? wxACCEL_SHIFT : 0) | ((code & KeyAlt) != 0 ? wxACCEL_ALT : 0);
            entries.emplace_back(flags, key, MenuIdOf(context->getCommandID()));
        }
    }
    return entries;
}

const wxAcceleratorTable* GKorvaneApp::getAccelerators() {
    if (m_shortcuts.empty())
        return nullptr;
    if (!m_accelerators) {
        const std::vector<wxAcceleratorEntry>& entries = acceleratorEntries();
        m_accelerators = std::make_unique<wxAcceleratorTable>(static_cast<int>(entries.size()), entries.data());
    }
    return m_accelerators.get();
}

int GKorvaneApp::findAcceleratorCommand(int keyCode, int modifiers) const {
    const int flags = modifiers & (wxACCEL_CTRL | wxACCEL_SHIFT | wxACCEL_ALT);
    for (const wxAcceleratorEntry& entry : acceleratorEntries())
        if (entry.GetKeyCode() == keyCode && entry.GetFlags() == flags)
            return entry.GetCommand();
    return 0;
}

GString GKorvaneApp::GetHotKeyName(unsigned short code) {
    GString name;
    if ((code & KeyControl) != 0)
        name += keyName(VK_CONTROL, false) + "+";
    if ((code & KeyShift) != 0)
        name += keyName(VK_SHIFT, false) + "+";
    if ((code & KeyAlt) != 0)
        name += keyName(VK_MENU, false) + "+";
    return name + keyName(code & 0xFF, (code & KeyExtended) != 0);
}

GString GKorvaneApp::getHotKeyNameForContext(const GEditorContext* context) const {
    std::vector<unsigned short> keys;
    if (!getShortcutKeys(findClassByContext(context), keys) || keys.empty())
        return GString();
    return GetHotKeyName(keys.front());
}

void GKorvaneApp::setDefaultShortcutKeys() {
    struct DefaultKey {
        const char* className;
        unsigned short code;
    };
    static constexpr DefaultKey Defaults[] = {
        {"NewImageCommand", KeyControl | 'N'},           {"UndoImageCommand", KeyControl | 'Z'},
        {"RedoImageCommand", KeyControl | 'Y'},          {"CutImageCommand", KeyControl | 'X'},
        {"CopyImageCommand", KeyControl | 'C'},          {"PasteImageCommand", KeyControl | 'V'},
        {"DeleteImageCommand", KeyExtended | VK_DELETE},
    };
    for (const DefaultKey& key : Defaults) {
        const GMetaClass* meta = GMetaClass::FindByName(key.className);
        if (meta != nullptr && m_shortcuts.find(meta) == m_shortcuts.end())
            setShortcutKeys(meta, {key.code});
    }
}
