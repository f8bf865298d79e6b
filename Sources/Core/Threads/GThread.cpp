#include "Threads/GThread.h"

#include "Threads/ThreadPresence.h"

#include <utility>

GThread::GThread(std::function<void()> body)
    : m_thread([body = std::move(body)] {
          ThreadPresence::NoteCurrentThread();
          body();
      }) {}

GThread::~GThread() {
    join();
}

void GThread::join() {
    if (m_thread.joinable())
        m_thread.join();
}
