#pragma once
// Change notifications: a reason is identified by the address of a static GCallbackReason; an event starts with
// that identity, and each reason defines the fields that follow it.

class GCallbackReason {
public:
    GCallbackReason() : m_id(reinterpret_cast<unsigned long>(this)) {}
    GCallbackReason(const GCallbackReason&) = delete;
    GCallbackReason& operator=(const GCallbackReason&) = delete;

    operator unsigned long() const { return m_id; }

private:
    unsigned long m_id;
};

// The record passed to receivers, built on the sender's stack and valid only during the call.
struct GCallbackEvent {
    unsigned long reason;
};
