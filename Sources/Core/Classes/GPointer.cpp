#include "Classes/GPointer.h"

#include "Threads/GCriticalSection.h"

namespace {

struct WeakPointerList {
    GCriticalSection lock;
    GPointer* head = nullptr;
};

// Never destroyed: pointers and objects may die during process exit in any order.
WeakPointerList& weakPointers() {
    static WeakPointerList* list = new WeakPointerList;
    return *list;
}

} // namespace

GPointer::GPointer() : m_object(nullptr) {
    link();
}

GPointer::GPointer(const GPointer& other) : m_object(other.m_object) {
    link();
}

GPointer::GPointer(GObject* object) : m_object(object) {
    link();
}

void GPointer::link() {
    WeakPointerList& list = weakPointers();
    GSingleLock guard(list.lock);
    m_next = list.head;
    if (m_next != nullptr)
        m_next->m_previous = this;
    list.head = this;
}

GPointer::~GPointer() {
    WeakPointerList& list = weakPointers();
    GSingleLock guard(list.lock);
    if (m_previous != nullptr)
        m_previous->m_next = m_next;
    else
        list.head = m_next;
    if (m_next != nullptr)
        m_next->m_previous = m_previous;
}

GPointer& GPointer::operator=(const GPointer& other) {
    m_object = other.m_object;
    return *this;
}

GPointer& GPointer::operator=(GObject* object) {
    m_object = object;
    return *this;
}

void GPointer::object_destroyed() {
    m_object = nullptr;
}

void GPointer::ObjectDestroyed(GObject* object) {
    WeakPointerList& list = weakPointers();
    GSingleLock guard(list.lock);
    for (GPointer* p = list.head; p != nullptr;) {
        GPointer* next = p->m_next; // object_destroyed may unlink p
        if (p->m_object == object)
            p->object_destroyed();
        p = next;
    }
}
