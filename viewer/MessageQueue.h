#pragma once

#include "shipfile/MessageSink.h"

#include <vector>

namespace viewer {

/// Holds the messages of a draw until the GL context is released, then hands them on in order.
/// A message box must not open while a frame is half drawn: its event loop would paint.
class MessageQueue final : public shipfile::MessageSink
{
public:
    void show(const shipfile::Message& message) override { m_messages.push_back(message); }
    bool empty() const { return m_messages.empty(); }
    void clear() { m_messages.clear(); }

    void deliverTo(shipfile::MessageSink& sink)
    {
        std::vector<shipfile::Message> pending;
        pending.swap(m_messages);
        for (const shipfile::Message& m : pending)
            sink.show(m);
    }

private:
    std::vector<shipfile::Message> m_messages;
};

} // namespace viewer
