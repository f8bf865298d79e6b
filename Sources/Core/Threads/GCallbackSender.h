#pragma once
// GCallbackSender: notifies the receivers attached to it, the most recently attached first. It does not own
// them; sender and receiver each keep the other in a list, and either one's destruction detaches both ways.

#include "Collections/TGCollection.h"
#include "Threads/GCallbackReason.h"

class GCallbackReceiver;

class GCallbackSender : public TGCollection<GCallbackReceiver> {
public:
    GCallbackSender();
    ~GCallbackSender() override;

    // Attaching twice changes nothing.
    void attachReceiver(GCallbackReceiver* receiver);
    void detachReceiver(GCallbackReceiver* receiver);
    bool isReceiverAttached(const GCallbackReceiver* receiver) const { return index_of(receiver) >= 0; }

    // Calls every receiver attached when the send starts, from the last attached to the first. A receiver may
    // detach itself or later ones during its call; one attached during the send is not called by it.
    void send(GCallbackEvent& event);
};

// The sender of one class's notices, made on first use; `Owner` is the class whose notices it sends.
template <class Owner>
GCallbackSender& ClassCallbackSender() {
    static GCallbackSender sender;
    return sender;
}
