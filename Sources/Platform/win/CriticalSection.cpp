#include "win/CriticalSection.h"

// The mutex is ready once the structure is constructed; initialising and deleting have nothing left to do.
void InitializeCriticalSection(CRITICAL_SECTION*) {}

void DeleteCriticalSection(CRITICAL_SECTION*) {}

void EnterCriticalSection(CRITICAL_SECTION* section) {
    section->mutex.lock();
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
    section->mutex.unlock();
}
