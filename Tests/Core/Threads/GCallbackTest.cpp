#include "Threads/GCallbackReceiver.h"
#include "Threads/GCallbackSender.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

const GCallbackReason Reason_Test;

// Appends its name to a shared log and runs an optional action inside the call.
class Recorder : public GCallbackReceiver {
public:
    Recorder(std::string name, std::string& log) : m_name(std::move(name)), m_log(log) {}
    void callbackReceived(GCallbackEvent& event) override {
        EXPECT_EQ(event.reason, static_cast<unsigned long>(Reason_Test));
        m_log += m_name;
        if (action)
            action();
    }
    std::function<void()> action;

private:
    std::string m_name;
    std::string& m_log;
};

void sendTest(GCallbackSender& sender) {
    GCallbackEvent event{Reason_Test};
    sender.send(event);
}

} // namespace

TEST(GCallback, LastAttachedIsCalledFirst) {
    std::string log;
    GCallbackSender sender;
    Recorder a("A", log), b("B", log);
    sender.attachReceiver(&a);
    b.attachCallbackSender(&sender);
    sender.attachReceiver(&a); // attaching twice changes nothing
    sendTest(sender);
    EXPECT_EQ(log, "BA");
    EXPECT_TRUE(sender.isReceiverAttached(&a));
    EXPECT_TRUE(b.isCallbackAttachedToSender(&sender));
    EXPECT_EQ(sender.getCount(), 2);
}

TEST(GCallback, DetachingDuringASend) {
    std::string log;
    GCallbackSender sender;
    Recorder a("A", log), b("B", log), c("C", log), d("D", log);
    for (Recorder* r : {&a, &b, &c, &d})
        sender.attachReceiver(r);
    c.action = [&] {
        sender.detachReceiver(&c);
    }; // itself
    b.action = [&] {
        sender.detachReceiver(&d);
    }; // one attached after it, already called
    sendTest(sender);
    EXPECT_EQ(log, "DCBA");
    log.clear();
    sendTest(sender);
    EXPECT_EQ(log, "BA");
    EXPECT_FALSE(c.isCallbackAttachedToSender(&sender));
}

TEST(GCallback, AttachingDuringASendWaitsForTheNext) {
    std::string log;
    GCallbackSender sender;
    Recorder a("A", log), late("L", log);
    sender.attachReceiver(&a);
    a.action = [&] {
        sender.attachReceiver(&late);
    };
    sendTest(sender);
    EXPECT_EQ(log, "A");
    a.action = nullptr;
    log.clear();
    sendTest(sender);
    EXPECT_EQ(log, "LA");
}

TEST(GCallback, DestructionDetachesBothWays) {
    std::string log;
    GCallbackSender first, second;
    auto a = std::make_unique<Recorder>("A", log);
    Recorder b("B", log);
    for (GCallbackSender* s : {&first, &second}) {
        s->attachReceiver(a.get());
        s->attachReceiver(&b);
    }
    a.reset();
    sendTest(first);
    sendTest(second);
    EXPECT_EQ(log, "BB");
    EXPECT_EQ(first.getCount(), 1);

    {
        GCallbackSender shortLived;
        shortLived.attachReceiver(&b);
        EXPECT_TRUE(b.isCallbackAttachedToSender(&shortLived));
    }
    b.detachCallbackSender(&first);
    EXPECT_TRUE(b.isCallbackAttachedToSender(&second));
    EXPECT_FALSE(b.isCallbackAttachedToSender(&first));
}
