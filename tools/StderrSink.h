#pragma once

#include "shipfile/MessageSink.h"

namespace tools {

/// Prints each message on stderr as "caption: text", one per line, and remembers whether any of
/// them reported a problem (a stop or warning icon) rather than a mere notice. The notice that a
/// packed file is being unpacked is meant for the window and is not printed.
class StderrSink final : public shipfile::MessageSink
{
public:
    void show(const shipfile::Message& message) override;
    bool sawProblem() const { return m_sawProblem; }

private:
    bool m_sawProblem = false;
};

} // namespace tools
