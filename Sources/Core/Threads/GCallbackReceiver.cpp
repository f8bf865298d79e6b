#include "Threads/GCallbackReceiver.h"

#include "Threads/GCallbackSender.h"

GCallbackReceiver::GCallbackReceiver() : m_senders(0, 1, false) {}

GCallbackReceiver::~GCallbackReceiver() {
    for (int i = m_senders.getCount() - 1; i >= 0; --i)
        m_senders.at(i)->detachReceiver(this);
}

void GCallbackReceiver::attachCallbackSender(GCallbackSender* sender) {
    if (sender != nullptr)
        sender->attachReceiver(this);
}

void GCallbackReceiver::detachCallbackSender(GCallbackSender* sender) {
    if (sender != nullptr)
        sender->detachReceiver(this);
}
