#pragma once

#include <string>

namespace shipfile {

enum class MessageIcon
{
    None,
    Stop,
    Warning,
    Information,
};

/// One message box's worth of text. `ownedByMainWindow` boxes carry the application's name as
/// caption; the others carry their own `caption`.
struct Message
{
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    bool ownedByMainWindow = false;
};

/// Where every user-facing message goes. The application shows a message box; tests record.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void show(const Message& message) = 0;
};

/// Swallows messages; for callers that only want the result (benchmarks, the fuzzers).
class SilentSink final : public MessageSink
{
public:
    void show(const Message&) override {}
};

} // namespace shipfile
