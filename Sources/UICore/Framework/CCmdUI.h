#pragma once
// CCmdUI: what a menu item or button should show, asked of its handlers before it is shown. This one records the
// answers; the shell's subclass carries them to its own update event.

#include "win/Win32Types.h"

#include <string>

class CCmdUI {
public:
    explicit CCmdUI(UINT id = 0) : m_nID(id) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(bool on = true) { m_enabled = on; }
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int check = 1) { m_check = check; }
    virtual void SetRadio(bool on = true) { m_check = on ? 1 : 0; }
    virtual void SetText(const char* text) { m_text = text != nullptr ? text : ""; }

    bool enabled() const { return m_enabled; }
    int checked() const { return m_check; }
    const std::string& text() const { return m_text; }

    UINT m_nID;
    bool m_menuItem = false; // a menu item (its text may be set), rather than a button

private:
    bool m_enabled = true;
    int m_check = 0;
    std::string m_text;
};
