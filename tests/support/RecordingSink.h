#pragma once

#include "shipfile/MessageSink.h"

#include <string>
#include <vector>

namespace testsupport {

/// Keeps every message shown, in order, for tests to compare verbatim.
class RecordingSink final : public shipfile::MessageSink
{
public:
    void show(const shipfile::Message& message) override { messages.push_back(message); }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& m : messages)
            out.push_back(m.text);
        return out;
    }
    std::vector<shipfile::Message> messages;
};

} // namespace testsupport
