#include "Threads/GCallbackSender.h"

#include "Threads/GCallbackReceiver.h"
#include "Threads/ThreadPresence.h"

GCallbackSender::GCallbackSender() : TGCollection(0, 2, false) {}

GCallbackSender::~GCallbackSender() {
    for (int i = getCount() - 1; i >= 0; --i)
        at(i)->m_senders.remove(this);
}

void GCallbackSender::attachReceiver(GCallbackReceiver* receiver) {
    if (receiver == nullptr || isReceiverAttached(receiver))
        return;
    insert(receiver);
    receiver->m_senders.insert(this);
}

void GCallbackSender::detachReceiver(GCallbackReceiver* receiver) {
    if (remove(receiver) >= 0)
        receiver->m_senders.remove(this);
}

void GCallbackSender::send(GCallbackEvent& event) {
    ThreadPresence::NoteCurrentThread();
    for (int i = getCount() - 1; i >= 0; --i) {
        if (i < getCount()) // receivers may have left during earlier calls
            at(i)->callbackReceived(event);
    }
}
