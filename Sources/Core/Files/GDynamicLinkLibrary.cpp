#include "Files/GDynamicLinkLibrary.h"

#include "Classes/GModuleLoader.h"
#include "Errors/GException.h"
#include "win/Modules.h"

#include <utility>

GDynamicLinkLibrary::GDynamicLinkLibrary(const char* name, DWORD flags) {
    load(name, flags);
}

GDynamicLinkLibrary::~GDynamicLinkLibrary() {
    unload();
}

bool GDynamicLinkLibrary::load(const char* name, DWORD) {
    unload();
    if (name == nullptr)
        return false;
    try {
        m_module = GModuleLoader::Load(name);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        m_module = nullptr;
    }
    return m_module != nullptr;
}

void GDynamicLinkLibrary::unload() {
    if (m_module != nullptr)
        GModuleLoader::Free(std::exchange(m_module, nullptr));
}

GFile GDynamicLinkLibrary::get_name() const {
    return GFile(GetModuleFileNameA(m_module).c_str());
}
