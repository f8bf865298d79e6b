#pragma once
// GCallbackReceiver: the base of everything that is told of changes. It keeps the senders it is attached to
// and detaches from all of them when it is destroyed.

#include "Collections/TGCollection.h"
#include "Threads/GCallbackReason.h"

class GCallbackSender;

class GCallbackReceiver {
public:
    GCallbackReceiver();
    virtual ~GCallbackReceiver();
    GCallbackReceiver(const GCallbackReceiver&) = delete;
    GCallbackReceiver& operator=(const GCallbackReceiver&) = delete;

    virtual void callbackReceived(GCallbackEvent& event) = 0;

    void attachCallbackSender(GCallbackSender* sender);
    void detachCallbackSender(GCallbackSender* sender);
    bool isCallbackAttachedToSender(const GCallbackSender* sender) const { return m_senders.index_of(sender) >= 0; }

private:
    friend class GCallbackSender;
    TGCollection<GCallbackSender> m_senders;
};
