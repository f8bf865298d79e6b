#pragma once
// GCriticalSection: a re-entrant process-wide lock. GSingleLock holds one for the length of a scope.

#include "win/CriticalSection.h"

class GCriticalSection {
public:
    GCriticalSection() { InitializeCriticalSection(&m_section); }
    ~GCriticalSection() { DeleteCriticalSection(&m_section); }
    GCriticalSection(const GCriticalSection&) = delete;
    GCriticalSection& operator=(const GCriticalSection&) = delete;

    void lock_object() { EnterCriticalSection(&m_section); }
    void unlock_object() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class GSingleLock {
public:
    explicit GSingleLock(GCriticalSection& section) : m_section(section) { m_section.lock_object(); }
    ~GSingleLock() { m_section.unlock_object(); }
    GSingleLock(const GSingleLock&) = delete;
    GSingleLock& operator=(const GSingleLock&) = delete;

private:
    GCriticalSection& m_section;
};
