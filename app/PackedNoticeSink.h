#pragma once

#include "shipfile/MessageSink.h"
#include "shipfile/Messages.h"

namespace app {

/// Where the open ship reports: every message goes on to the window's sink but the notice that
/// a packed ship is being unpacked, which the status bar gives instead of a box to click away.
/// It lives as long as the window, as the ship keeps reporting through it.
class PackedNoticeSink final : public shipfile::MessageSink
{
public:
    explicit PackedNoticeSink(shipfile::MessageSink& next) : m_next(next) {}
    void show(const shipfile::Message& message) override
    {
        if (message.text == shipfile::messages::CompressedNotice.text)
            packed = true;
        else
            m_next.show(message);
    }
    /// Set when a load unpacked its file; the loader clears it for the next one.
    bool packed = false;

private:
    shipfile::MessageSink& m_next;
};

} // namespace app
